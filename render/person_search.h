// "人物を検索" of the chart window: which person blocks of a drawing a query finds.
#pragma once

#include "render/drawing.h"

#include <cstddef>
#include <string>
#include <vector>

namespace render {

// The blocks of `persons` that `query` finds, as indexes into `persons`, in reading order:
// from the top right in vertical writing, else from the top left. A person number (up to
// six digits, half or full width, blanks allowed) finds that person's blocks; any other
// text the blocks whose name holds it, both compared in full width without blanks ("　")
// and "・".
std::vector<std::size_t> findDrawnPersons(const std::vector<DrawnPerson>& persons,
                                          const std::string& query, bool vertical);

} // namespace render
