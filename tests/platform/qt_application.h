// The Qt application the canvas tests need (off screen), made once for the test program.
#pragma once

#include "platform/offscreen_app.h"

namespace testing_support {

inline void ensureApplication() {
    static platform::OffscreenApplication app;
}

} // namespace testing_support
