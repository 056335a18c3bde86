// "KANKYO.TXT": any bytes are read or refused with common::FileError, and what is read is
// written back in a form that reads back the same.
#include "common/cp932.h"
#include "common/file_io.h"
#include "core/environment.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    core::Environment env;
    try {
        env = core::parseEnvironment(bytes, "KANKYO.TXT");
    } catch (const common::FileError&) {
        return 0;
    }
    std::string written;
    try {
        written = core::environmentBytes(env);
    } catch (const common::Cp932Error&) {
        return 0; // a title that Shift-JIS cannot hold is refused, never written wrong
    } catch (const common::FileError&) {
        return 0; // so is one that would read back as something else
    }
    try {
        fuzz::require(core::parseEnvironment(written, "KANKYO.TXT") == env,
                      "the environment file reads back as written");
    } catch (const common::FileError&) {
        fuzz::require(false, "a written environment file is readable");
    }
    return 0;
}
