#include "editing/child_titles.h"

#include "common/wareki.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace editing {

namespace {

// The child's birth as a point in time, when its 生年月日 is a real 和暦 date.
std::optional<long> birthKey(const core::Registers& reg, int person) {
    if (person < 1 || person > reg.personCount()) {
        return std::nullopt;
    }
    const auto read = common::readWareki(reg.person(person).生年月日);
    return read.ok() ? std::optional<long>(read.date->orderKey()) : std::nullopt;
}

bool isDaughter(const core::Registers& reg, int person) {
    return person >= 1 && person <= reg.personCount() && reg.person(person).isFemale();
}

} // namespace

std::string kanjiNumber(int n) {
    static const char* const digits[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    if (n < 1 || n > 9999) {
        return std::to_string(n);
    }
    std::string out;
    const struct {
        int value;
        const char* name;
    } places[] = {{1000, "千"}, {100, "百"}, {10, "十"}};
    for (const auto& place : places) {
        const int d = n / place.value % 10;
        if (d > 1) {
            out += digits[d];
        }
        if (d > 0) {
            out += place.name;
        }
    }
    return out + digits[n % 10];
}

ChildTitleProposal proposedChildTitle(const core::Registers& reg, int family, int slot) {
    const auto& f = reg.family(family);
    const auto& child = f.child(slot);
    const bool daughter = isDaughter(reg, child.子NO);
    if (child.子の形態 == core::ChildKind::Adopted) {
        const std::string title = daughter ? "養女" : "養子";
        return {title, "養子縁組による子なので「" + title + "」を提案します。"};
    }
    // The children counted, in slot order; those with a real birth date are then sorted by
    // it among the places they take, the others keep their places.
    std::vector<int> counted;
    for (int k = 1; k <= f.子数(); ++k) {
        const auto& other = f.child(k);
        if (other.子の形態 != core::ChildKind::Adopted && isDaughter(reg, other.子NO) == daughter) {
            counted.push_back(k);
        }
    }
    std::vector<std::size_t> dated;
    for (std::size_t i = 0; i < counted.size(); ++i) {
        if (birthKey(reg, f.child(counted[i]).子NO)) {
            dated.push_back(i);
        }
    }
    std::vector<int> byBirth;
    for (const std::size_t i : dated) {
        byBirth.push_back(counted[i]);
    }
    std::stable_sort(byBirth.begin(), byBirth.end(), [&](int a, int b) {
        return *birthKey(reg, f.child(a).子NO) < *birthKey(reg, f.child(b).子NO);
    });
    for (std::size_t j = 0; j < dated.size(); ++j) {
        counted[dated[j]] = byBirth[j];
    }
    const auto place = std::find(counted.begin(), counted.end(), slot);
    const int rank = static_cast<int>(place - counted.begin()) + 1;
    const std::string title =
        (rank == 1 ? std::string("長") : kanjiNumber(rank)) + (daughter ? "女" : "男");
    return {title, std::string("この家族の") + (daughter ? "女の子" : "男の子") + "の" +
                       kanjiNumber(rank) + "番目なので「" + title + "」を提案します。"};
}

} // namespace editing
