// The registers of a data folder as one JSON object (tsubaki --dump).
#pragma once

#include "core/data_folder.h"

#include <string>

namespace core {

// {"environment": {...}, "persons": [...], "families": [...], "settings": {...}}; members
// are named by the register keys without type mark and bracket.
std::string registersJson(const DataFolder& data);

} // namespace core
