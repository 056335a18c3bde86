#include "layout/name_block.h"

#include "common/text.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace layout {

namespace {

int roundHalfAway(float v) {
    return static_cast<int>(std::lround(v));
}

int chars(const std::string& s) {
    return static_cast<int>(common::charCount(s));
}

// Field order, first to last, by writing direction and chart kind.
constexpr std::array<int, kFieldCount> kVerticalOrdinary = {2, 1, 7, 8, 9, 3, 6, 5, 4, 10, 0};
constexpr std::array<int, kFieldCount> kVerticalExplanation = {7, 8, 9, 3, 6, 5, 4, 2, 1, 10, 0};
constexpr std::array<int, kFieldCount> kHorizontalOrdinary = {0, 10, 4, 5, 6, 3, 9, 8, 7, 1, 2};
constexpr std::array<int, kFieldCount> kHorizontalExplanation = {0, 10, 1, 2, 4, 5, 6, 3, 9, 8, 7};

bool shownOrdinary(const BlockStyle& style, int field) {
    if (field == kNameField) {
        return true;
    }
    if (field == 9) {
        return style.shown[3];
    }
    if (field == 10) {
        return style.shown[0];
    }
    return style.shown[static_cast<std::size_t>(field)];
}

void finish(NameBlock& b) {
    b.halfWidth = b.width / 2;
    b.halfHeight = b.height / 2;
}

// 縦書位置計算_SUB for every field in order, then the block width.
void layOutVertical(const BlockStyle& style, NameBlock& b,
                    const std::array<int, kFieldCount>& order) {
    const int pitch = style.charPitch();
    int x = 0;
    for (int f : order) {
        FieldBox& box = b.fields[static_cast<std::size_t>(f)];
        if (!shownOrdinary(style, f) || box.length == 0) {
            continue;
        }
        box.left = x;
        box.top = style.CH;
        if (f == kBirthField) {
            box.top += pitch * style.birthIndent;
        }
        box.bottom = box.top + pitch * (box.length + 1) + pitch * 3;
        box.right = box.left + style.CW;
        b.height = std::max(b.height, box.bottom);
        x += style.linePitch();
        if (f == kNameField) {
            b.anchorX = style.CW / 2 + box.left;
            b.anchorY = 0;
            b.lineX = b.anchorX;
            b.lineY = box.bottom;
        }
    }
    b.width = x;
}

// 横書位置計算_SUB for every field in order, then the block height.
void layOutHorizontal(const BlockStyle& style, NameBlock& b,
                      const std::array<int, kFieldCount>& order) {
    const int pitch = style.charPitch();
    int y = 0;
    for (int f : order) {
        FieldBox& box = b.fields[static_cast<std::size_t>(f)];
        if (!shownOrdinary(style, f) || box.length == 0) {
            continue;
        }
        box.top = y;
        box.left = style.CW;
        if (f == kBirthField) {
            box.left += pitch * style.birthIndent;
        }
        box.right = box.left + pitch * (box.length + 1);
        if (style.labelCount > 0 && f != kBirthField && f != kNameField) {
            box.right += pitch * 3;
        }
        box.bottom = box.top + style.CH;
        b.width = std::max(b.width, box.right);
        y += style.linePitch();
        if (f == kNameField) {
            b.anchorY = style.CH / 2 + box.top;
            b.anchorX = 0;
            b.lineY = b.anchorY;
            b.lineX = box.right;
        }
    }
    b.height = y;
}

// The statutory list chart: always rows, its own order and shown fields.
void layOutList(const BlockStyle& style, NameBlock& b, const std::string& caseCode) {
    const int pitch = style.CW + style.字間;
    const int rowPitch = style.CH + style.行間;
    std::vector<int> order = {5, 3, 9, 7};
    if (caseCode == "15" || caseCode == "16") {
        order.insert(order.end(), {8, 6});
    } else {
        order.insert(order.end(), {6, 4, 8});
    }
    int y = 0;
    for (int f : order) {
        FieldBox& box = b.fields[static_cast<std::size_t>(f)];
        if (box.length == 0) {
            continue;
        }
        box.top = y;
        box.left = style.CW;
        box.right = box.left + pitch * (box.length + 1);
        box.bottom = box.top + style.CH;
        b.width = std::max(b.width, box.right);
        y += rowPitch;
        if (f == kNameField) {
            b.anchorY = style.CH / 2 + box.top;
            b.anchorX = 0;
            b.lineY = b.anchorY;
            b.lineX = box.right;
        }
    }
    b.height = y;
}

} // namespace

BlockStyle blockStyle(const core::DrawingSettings& s, int CW, int CH) {
    BlockStyle style;
    style.CW = CW;
    style.CH = CH;
    style.行間 = roundHalfAway(s.行間);
    style.字間 = roundHalfAway(s.字間);
    style.vertical = s.縦書き;
    style.shown = {s.本籍欄, s.備考欄１,        s.備考欄２,     s.住所欄,
                   s.認知欄, s.離婚_養子縁組欄, s.死亡年月日欄, s.生年月日欄};
    style.nameIndent = std::max(0, roundHalfAway(s.名前の字下げ));
    style.birthIndent = std::clamp(roundHalfAway(s.生年月日の字下げ), 0, 15);
    style.labelCount = (s.本籍欄に_本籍_と入れる ? 1 : 0) + (s.住所欄に_住所_と入れる ? 1 : 0);
    style.explanationChart = s.相続関係説明図にする;
    style.deceasedInfoBlock = s.被相続人の情報欄を表示する;
    style.listChart = s.法定相続情報一覧図にする;
    style.離婚年月日非表示 = s.離婚年月日非表示;
    style.当事者リンク元に統一 = s.当事者リンク元に統一;
    style.names.listChart = s.法定相続情報一覧図にする;
    style.names.氏名を１文字間隔で表示 = s.氏名を１文字間隔で表示;
    style.names.姓と名の間に___を付ける = s.姓と名の間に___を付ける;
    style.names.本家と同じ名字は省略する = s.本家と同じ名字は省略する;
    return style;
}

BlockTexts personTexts(const core::当事者& p, bool listChart) {
    BlockTexts t;
    if (listChart) {
        t.fields[3] = p.住所1;
        t.fields[9] = p.住所2;
        t.fields[7] = p.生年月日;
        t.fields[4] = p.備考1;
        t.fields[6] = p.死亡年月日;
        t.fields[5] = p.本籍1;
        return t;
    }
    t.fields[0] = p.本籍1;
    t.fields[1] = p.備考1;
    t.fields[2] = p.備考2;
    t.fields[3] = p.住所1;
    t.fields[6] = p.死亡年月日;
    t.fields[7] = p.生年月日;
    t.fields[9] = p.住所2;
    t.fields[10] = p.本籍2;
    return t;
}

NameBlock P_個人座標_SUB(const BlockStyle& style, const BlockTexts& texts, BlockBlanking blanking,
                         bool dropDomicile, const std::string& caseCode) {
    NameBlock b;
    for (int f = 0; f < kFieldCount; ++f) {
        FieldBox& box = b.fields[static_cast<std::size_t>(f)];
        box.text = texts.fields[static_cast<std::size_t>(f)];
        box.length = chars(box.text);
        if (!style.listChart && (f == 6 || f == 7) && box.length > 0) {
            box.length += 2;
        }
    }
    if (blanking == BlockBlanking::Empty) {
        for (FieldBox& box : b.fields) {
            box.text.clear();
            box.length = 0;
        }
        b.empty = true;
    } else if (blanking == BlockBlanking::HiddenHead) {
        for (FieldBox& box : b.fields) {
            box.text.clear();
            box.length = 0;
        }
        b.fields[kNameField].text = "　";
        b.fields[kNameField].length = 1;
    } else if (dropDomicile && !style.listChart) {
        for (int f : {0, 3, 9, 10}) {
            b.fields[static_cast<std::size_t>(f)].length = 0;
        }
    }
    if (style.listChart) {
        layOutList(style, b, caseCode);
    } else if (style.vertical) {
        layOutVertical(style, b, style.explanationChart ? kVerticalExplanation : kVerticalOrdinary);
    } else {
        layOutHorizontal(style, b,
                         style.explanationChart ? kHorizontalExplanation : kHorizontalOrdinary);
    }
    finish(b);
    return b;
}

void BlockMaxima::update(const NameBlock& b) {
    width = std::max(width, b.width);
    height = std::max(height, b.height);
}

BlockMeasurer::BlockMeasurer(const BlockStyle& style, const core::Registers& run, int centre,
                             int applicant)
    : style_(style), run_(run), centre_(centre), applicant_(applicant) {}

const core::当事者& BlockMeasurer::dataPerson(int person, int source) const {
    const int n =
        style_.当事者リンク元に統一 || source < 1 || source > run_.personCount() ? person : source;
    return run_.person(n);
}

NameBlock BlockMeasurer::measure(const BlockTexts& texts, int person, BlockBlanking blanking,
                                 const core::当事者& data) {
    const bool deceased = person == centre_;
    const bool dropDomicile = style_.explanationChart && style_.deceasedInfoBlock && deceased;
    NameBlock b = P_個人座標_SUB(style_, texts, blanking, dropDomicile, data.備考2);
    maxima_.update(b);
    return b;
}

NameBlock BlockMeasurer::head(int person, int source, int parentFamily, int childIndex,
                              BlockBlanking blanking) {
    const core::当事者& data = dataPerson(person, source);
    const bool deceased = person == centre_;
    const core::当事者* centre =
        centre_ >= 1 && centre_ <= run_.personCount() ? &run_.person(centre_) : nullptr;
    BlockTexts texts = personTexts(data, style_.listChart);
    std::string name = P_氏名結合_SUB(data, style_.names, centre, deceased);
    const core::Child* child = nullptr;
    if (parentFamily >= 1 && parentFamily <= run_.familyCount() && childIndex >= 1 &&
        childIndex <= run_.family(parentFamily).子数()) {
        child = &run_.family(parentFamily).child(childIndex);
    }
    if (style_.listChart) {
        if (applicant_ != 0 && person == applicant_) {
            name += "　　（申出人）";
        }
    } else {
        name = 氏名字下げ(
            name,
            headLabel(child ? child->子の肩書 : std::string(), deceased, style_.explanationChart),
            style_.nameIndent);
        if (child != nullptr) {
            // 認知_養子縁組欄_SUB
            texts.fields[4] = child->認知日.empty() ? std::string() : child->認知日 + "認知";
            texts.fields[5] = child->縁組日.empty() ? std::string() : child->縁組日 + "養子縁組";
        }
    }
    texts.fields[kNameField] = name;
    return measure(texts, person, blanking, data);
}

NameBlock BlockMeasurer::spouse(int person, int source, int family, BlockBlanking blanking) {
    core::当事者 data = dataPerson(person, source);
    const core::家族* f =
        family >= 1 && family <= run_.familyCount() ? &run_.family(family) : nullptr;
    const bool deceased = person == centre_;
    const core::当事者* centre =
        centre_ >= 1 && centre_ <= run_.personCount() ? &run_.person(centre_) : nullptr;
    BlockTexts texts = personTexts(data, style_.listChart);
    if (f != nullptr && f->配偶者姓F == 1) {
        data.姓.clear(); // the spouse's surname is hidden for this household
    }
    std::string name = P_氏名結合_SUB(data, style_.names, centre, deceased);
    if (style_.listChart) {
        if (applicant_ != 0 && person == applicant_) {
            name += "　　（申出人）";
        }
    } else {
        const bool isHusband = f != nullptr && f->夫NO == person;
        const std::string title = f == nullptr ? std::string() : isHusband ? f->夫肩書 : f->妻肩書;
        name = 氏名字下げ(name, spouseLabel(!data.isFemale(), title, style_.explanationChart),
                          style_.nameIndent);
        if (f != nullptr && f->離婚_F == 1 && !style_.離婚年月日非表示 && !f->離婚年月日.empty()) {
            texts.fields[5] = f->離婚年月日 + "離婚";
        }
    }
    texts.fields[kNameField] = name;
    return measure(texts, person, blanking, data);
}

} // namespace layout
