// "作図設定.TXT": any bytes are read or refused with common::FileError, and what is read
// can be written; mokuren's masking of the settings reads the same bytes.
#include "common/file_io.h"
#include "converter/masking.h"
#include "core/drawing_settings.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const core::SettingsLimits limits{50, 200, 100, 300};
    try {
        const core::DrawingSettings s =
            core::parseDrawingSettings(bytes, "作図設定.TXT", limits, core::DrawingSettings{});
        try {
            (void)core::drawingSettingsBytes(s, limits.familyCount, limits.personCount);
        } catch (const common::FileError&) {
        }
    } catch (const common::FileError&) {
    }
    try {
        (void)converter::maskedSettingsBytes(bytes);
    } catch (const common::FileError&) {
    }
    return 0;
}
