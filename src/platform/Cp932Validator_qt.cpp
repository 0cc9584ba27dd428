#include "platform/Cp932Validator_qt.h"

#include "platform/TextCodec.h"

#include <QLineEdit>

namespace quillon {

QValidator::State TCp932Validator::validate(QString& input, int&) const {
    const std::string typed = input.toStdString();
    const std::string bytes = Utf8ToCp932(typed);
    if (Cp932ToUtf8(bytes) != typed)
        return Invalid;
    return static_cast<int>(bytes.size()) <= mMaxBytes ? Acceptable : Invalid;
}

void LimitCp932(QLineEdit* edit, int maxBytes) {
    edit->setMaxLength(32767);
    edit->setValidator(new TCp932Validator(maxBytes, edit));
}

}  // namespace quillon
