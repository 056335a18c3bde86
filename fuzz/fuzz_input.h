// Helpers of the fuzz targets: the input as bytes, split into parts at NUL bytes (a
// register and its companion files in one input), and the check that stops the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {

inline std::vector<std::string> parts(const std::uint8_t* data, std::size_t size,
                                      std::size_t most) {
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && out.size() < most) {
            out.emplace_back();
        } else {
            out.back() += static_cast<char>(data[i]);
        }
    }
    return out;
}

// A property that must hold whatever the input: a broken one is a finding.
inline void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz property broken: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
