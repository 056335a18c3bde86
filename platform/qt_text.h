// The one conversion between the programs' text (UTF-8 in std::string) and Qt's QString.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace platform {

inline QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace platform
