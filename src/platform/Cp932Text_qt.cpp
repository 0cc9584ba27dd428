#include "platform/Cp932Text_qt.h"

#include "platform/TextCodec.h"

namespace quillon {

QString Cp932ToQString(std::string_view bytes) { return QString::fromStdString(Cp932ToUtf8(bytes)); }

std::optional<std::string> QStringToCp932(const QString& text) {
    const std::string typed = text.toStdString();
    std::string bytes = Utf8ToCp932(typed);
    if (Cp932ToUtf8(bytes) != typed)
        return std::nullopt;
    return bytes;
}

bool ShowsCp932(const QString& shown, std::string_view bytes) {
    const std::optional<std::string> typed = QStringToCp932(shown);
    return typed && *typed == bytes;
}

}  // namespace quillon
