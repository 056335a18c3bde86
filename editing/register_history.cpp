#include "editing/register_history.h"

#include <utility>

namespace editing {

namespace {

std::size_t textBytes(const std::string& s) {
    // Short texts live inside the string itself.
    return s.capacity() > 15 ? s.capacity() + 1 : 0;
}

} // namespace

std::size_t registerBytes(const core::Registers& reg) {
    std::size_t bytes = sizeof(core::Registers);
    bytes += reg.persons.capacity() * sizeof(core::当事者);
    for (const auto& p : reg.persons) {
        for (const std::string* s : {&p.姓, &p.名, &p.住所1, &p.住所2, &p.本籍1, &p.本籍2,
                                     &p.生年月日, &p.死亡年月日, &p.備考1, &p.備考2}) {
            bytes += textBytes(*s);
        }
    }
    bytes += reg.families.capacity() * sizeof(core::家族);
    for (const auto& f : reg.families) {
        bytes += textBytes(f.夫肩書) + textBytes(f.妻肩書) + textBytes(f.離婚年月日);
        bytes += f.子.capacity() * sizeof(core::Child);
        for (const auto& c : f.子) {
            bytes += textBytes(c.子の肩書) + textBytes(c.縁組日) + textBytes(c.認知日);
        }
    }
    return bytes;
}

std::optional<std::string> changeName(EventCode code) {
    using E = EventCode;
    switch (code) {
    case E::BUTTON_A1A_ON:
        return "当事者の追加";
    case E::BUTTON34_ON:
    case E::BUTTON_A2A_ON:
        return "当事者の編集";
    case E::BUTTON_A5A_ON:
        return "家族の新規追加";
    case E::BUTTON_A6A_ON:
        return "家族のリスト登録";
    case E::BUTTON_A13A_ON:
        return "夫婦確定";
    case E::BUTTON_A14A_ON:
        return "家族の削除";
    case E::CHECK_A1A_ON:
        return "非婚姻関係";
    case E::CHECK_A2A_ON:
        return "離婚";
    case E::BUTTON36_ON:
        return "離婚年月日";
    case E::RADIO_A1A_ON:
    case E::RADIO_A2A_ON:
    case E::RADIO_A7A_ON:
        return "直系の接続";
    case E::CHECK_A21A_ON:
    case E::CHECK50_ON:
    case E::CHECK44_ON:
        return "家族の表示設定";
    case E::COMBO6_CHANGE:
        return "夫の肩書";
    case E::COMBO7_CHANGE:
        return "妻の肩書";
    case E::BUTTON_A4A_ON_11:
    case E::BUTTON_A4A_ON_12:
        return "子供の追加";
    case E::BUTTON_A17A_ON:
        return "子の削除";
    case E::BUTTON_A10A_ON:
    case E::BUTTON_A11A_ON:
        return "子の移動";
    case E::BUTTON_A12A_ON:
        return "子の並べ替え";
    case E::BUTTON_A20A_ON:
        return "子の肩書";
    case E::CHECK_A4A_ON:
        return "認知";
    case E::BUTTON_A18A_ON:
    case E::BUTTON_A19A_ON:
        return "原因日付";
    case E::CHECK_A5A_ON:
        return "子孫フラッグ";
    case E::LIST_A1A_CLICK:
    case E::LIST_A3A_CLICK:
    case E::LIST_A2A_CLICK:
    case E::BUTTON_A3A_ON:
    case E::BUTTON_A7A_ON:
    case E::BUTTON_A8A_ON:
    case E::BUTTON_A9A_ON:
    case E::BUTTON_A15A_ON:
    case E::BUTTON_A16A_ON:
    case E::BUTTON_A26A_ON:
    case E::BUTTON_A27A_ON:
    case E::BUTTON_A28A_ON:
    case E::BUTTON_A29A_ON:
    case E::BUTTON_A30A_ON:
    case E::LIST6_CLICK:
        return std::nullopt;
    case E::COMBO_A5A_CHANGE:
    case E::BUTTON_A21A_ON:
    case E::BUTTON39_ON:
    case E::BUTTON_A22A_ON:
    case E::BUTTON37_ON:
    case E::BUTTON38_ON:
    case E::BUTTON46_ON:
    case E::BUTTON48_ON:
        // Choosing a base family and drawing change the registers only through the
        // question of the chart's centre, which sets a family's line of descent.
        return "直系の接続（作図の中心）";
    default:
        return "変更";
    }
}

void RegisterHistory::begin(const core::Registers& reg, EventCode code) {
    if (open_) {
        return;
    }
    if (auto name = changeName(code)) {
        open_ = Open{reg, std::move(*name)};
    }
}

void RegisterHistory::end(const core::Registers& reg, bool keepOpen) {
    if (!open_ || keepOpen) {
        return;
    }
    Open step = std::move(*open_);
    open_.reset();
    if (step.before == reg) {
        return;
    }
    for (const Step& s : redo_) {
        bytes_ -= s.bytes;
    }
    redo_.clear();
    push(undo_, std::move(step.before), std::move(step.name));
    trim();
}

void RegisterHistory::push(std::vector<Step>& stack, core::Registers reg, std::string name) {
    const std::size_t bytes = registerBytes(reg);
    stack.push_back({std::move(reg), std::move(name), bytes});
    bytes_ += bytes;
}

void RegisterHistory::trim() {
    while (undo_.size() > 1 && (undo_.size() > limits_.steps || bytes_ > limits_.bytes)) {
        bytes_ -= undo_.front().bytes;
        undo_.erase(undo_.begin());
    }
}

bool RegisterHistory::undo(core::Registers& reg) {
    if (undo_.empty() || open_) {
        return false;
    }
    Step step = std::move(undo_.back());
    undo_.pop_back();
    bytes_ -= step.bytes;
    push(redo_, std::move(reg), step.name);
    reg = std::move(step.registers);
    trim();
    return true;
}

bool RegisterHistory::redo(core::Registers& reg) {
    if (redo_.empty() || open_) {
        return false;
    }
    Step step = std::move(redo_.back());
    redo_.pop_back();
    bytes_ -= step.bytes;
    push(undo_, std::move(reg), step.name);
    reg = std::move(step.registers);
    trim();
    return true;
}

void RegisterHistory::clear() {
    undo_.clear();
    redo_.clear();
    open_.reset();
    bytes_ = 0;
}

UndoView undoView(const RegisterHistory& history, const std::string& blocked) {
    UndoView v;
    v.undoEnabled = history.canUndo() && blocked.empty();
    v.redoEnabled = history.canRedo() && blocked.empty();
    if (!blocked.empty() && (history.canUndo() || history.canRedo())) {
        v.undoTip = blocked;
        v.redoTip = blocked;
        return v;
    }
    v.undoTip = history.canUndo() ? "「" + history.undoName() + "」を元に戻します（Ctrl+Z）"
                                  : "元に戻せる変更はありません";
    v.redoTip = history.canRedo() ? "「" + history.redoName() + "」をやり直します（Ctrl+Y）"
                                  : "やり直せる変更はありません";
    return v;
}

} // namespace editing
