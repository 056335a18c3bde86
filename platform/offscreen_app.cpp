#include "platform/offscreen_app.h"

#include <QGuiApplication>

namespace platform {

OffscreenApplication::OffscreenApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "tsubaki";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
}

OffscreenApplication::~OffscreenApplication() = default;

} // namespace platform
