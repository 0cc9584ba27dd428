// The length limit of text edits, counted in code page 932 bytes: characters the code page
// cannot hold are refused as they are typed, and so is text longer than the limit.
#pragma once

#include <QValidator>

class QLineEdit;

namespace quillon {

class TCp932Validator : public QValidator {
    Q_OBJECT
public:
    TCp932Validator(int maxBytes, QObject* parent) : QValidator(parent), mMaxBytes(maxBytes) {}
    State validate(QString& input, int& pos) const override;
    int MaxBytes() const { return mMaxBytes; }

private:
    int mMaxBytes;
};

// Puts the validator on an edit (its own maxLength is lifted: the validator counts bytes).
void LimitCp932(QLineEdit* edit, int maxBytes);

}  // namespace quillon
