#include "render/person_search.h"

#include "common/cp932.h"
#include "common/text.h"

#include <algorithm>
#include <string_view>

namespace render {

namespace {

// A name as the search compares it: full width, without blanks and separators.
std::string searchForm(const std::string& text) {
    std::string wide;
    try {
        wide = common::toFullWidth(text);
    } catch (const common::Cp932Error&) {
        wide = text;
    }
    for (const char* gap : {"　", "・"}) {
        for (std::size_t at = wide.find(gap); at != std::string::npos; at = wide.find(gap)) {
            wide.erase(at, std::string_view(gap).size());
        }
    }
    return wide;
}

// A person number typed in half- or full-width digits, or 0.
int personNumberOf(const std::string& query) {
    std::string digits;
    for (std::size_t i = 0; i < query.size();) {
        const auto c = static_cast<unsigned char>(query[i]);
        if (c >= '0' && c <= '9') {
            digits += static_cast<char>(c);
            ++i;
        } else if (query.compare(i, 2, "\xEF\xBC") == 0 && i + 2 < query.size() &&
                   static_cast<unsigned char>(query[i + 2]) >= 0x90 &&
                   static_cast<unsigned char>(query[i + 2]) <= 0x99) {
            digits += static_cast<char>('0' + (static_cast<unsigned char>(query[i + 2]) - 0x90));
            i += 3;
        } else if (c == ' ') {
            ++i;
        } else {
            return 0;
        }
    }
    if (digits.empty() || digits.size() > 6) {
        return 0;
    }
    return std::stoi(digits);
}

} // namespace

std::vector<std::size_t> findDrawnPersons(const std::vector<DrawnPerson>& persons,
                                          const std::string& query, bool vertical) {
    std::vector<std::size_t> matches;
    const int number = personNumberOf(query);
    const std::string wanted = searchForm(query);
    for (std::size_t i = 0; i < persons.size(); ++i) {
        const DrawnPerson& p = persons[i];
        if (number > 0 ? p.person == number
                       : !wanted.empty() && searchForm(p.name).find(wanted) != std::string::npos) {
            matches.push_back(i);
        }
    }
    std::stable_sort(matches.begin(), matches.end(), [&](std::size_t a, std::size_t b) {
        const Box& p = persons[a].box;
        const Box& q = persons[b].box;
        if (vertical) {
            return p.right != q.right ? p.right > q.right : p.top < q.top;
        }
        return p.top != q.top ? p.top < q.top : p.left < q.left;
    });
    return matches;
}

} // namespace render
