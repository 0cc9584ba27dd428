// The one place where code page 932 bytes meet Qt's Unicode text: what widgets show and what the
// user typed. Everything behind the widgets keeps the bytes.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// Bytes as shown; bytes that do not decode show as U+FFFD.
QString Cp932ToQString(std::string_view bytes);
// Typed text as bytes; nothing when a character cannot be held by the code page.
std::optional<std::string> QStringToCp932(const QString& text);
// Whether the text a widget shows stands for exactly these bytes (a stored value that does not
// decode, or that the widget would change, is then kept as its bytes until the user edits it).
bool ShowsCp932(const QString& shown, std::string_view bytes);

}  // namespace quillon
