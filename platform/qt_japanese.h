// Japanese for Qt's own texts (message-box buttons, file dialogs).
#pragma once

class QCoreApplication;

namespace platform {

// Loads Qt's "qtbase_ja" translation into the application. Returns false when it is not
// installed (Qt's texts then stay English).
bool installJapanese(QCoreApplication& app);

} // namespace platform
