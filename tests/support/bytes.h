// Reading little-endian integers out of file bytes (BMP headers) in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace testing_support {

inline std::uint32_t le32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(b.at(at + static_cast<std::size_t>(i)));
    }
    return v;
}

inline std::uint16_t le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b.at(at)) |
                                      static_cast<unsigned char>(b.at(at + 1)) << 8);
}

} // namespace testing_support
