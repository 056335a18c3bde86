// Synthetic registers for benchmarks: a forest of family trees over about ten generations
// with marriages, divorces and second marriages, adoptions, acknowledged children of
// unmarried couples and a few persons entered twice and linked.
#pragma once

#include "core/data_folder.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace bench {

struct GeneratorOptions {
    int persons = 10000;     // stop at this many persons
    int generations = 10;    // depth of each tree
    std::uint32_t seed = 42; // the same seed gives the same registers
};

// Registers, environment (capacities large enough) and first-use settings, in memory.
core::DataFolder generateRegisters(const GeneratorOptions& options);

// The same, written into `folder` with the program's own writers ("KANKYO.TXT" included).
core::DataFolder writeGeneratedFolder(const std::filesystem::path& folder,
                                      const GeneratorOptions& options);

// The same family as a Graphviz graph (UTF-8): a box per person with the name and the
// dates, a point per family joined to both spouses, and the children below it, laid out
// left to right as the horizontal chart is. For comparing with `dot -Tpng`.
std::string dotGraph(const core::Registers& reg);

} // namespace bench
