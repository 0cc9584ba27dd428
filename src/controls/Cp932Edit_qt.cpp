#include "controls/Cp932Edit_qt.h"

#include "platform/Cp932Limit.h"
#include "platform/Cp932Text_qt.h"
#include "platform/Cp932Validator_qt.h"

namespace quillon {

namespace {

constexpr QChar kReplacement(0xFFFD);

// The byte limit of TCp932Validator, with two allowances for a stored value the edit could not
// hold: the characters shown for bytes that do not decode go at the first edit, and an edit that
// shortens an over-long text is let through.
class TStoredValueValidator : public TCp932Validator {
public:
    TStoredValueValidator(int maxBytes, const TCp932Edit* edit) : TCp932Validator(maxBytes, nullptr), mEdit(edit) {}
    State validate(QString& input, int& pos) const override {
        // A stored value is shown as it is.
        if (mEdit->Loading())
            return Intermediate;
        if (input.contains(kReplacement)) {
            const int before = static_cast<int>(input.left(pos).count(kReplacement));
            input.remove(kReplacement);
            pos -= before;
        }
        const State state = TCp932Validator::validate(input, pos);
        if (state != Invalid)
            return state;
        const auto typed = QStringToCp932(input);
        const auto shown = QStringToCp932(QString(mEdit->AcceptedText()).remove(kReplacement));
        if (typed && shown && typed->size() < shown->size())
            return Intermediate;
        return Invalid;
    }

private:
    const TCp932Edit* mEdit;
};

}  // namespace

TCp932Edit::TCp932Edit(int maxBytes, QWidget* parent) : QLineEdit(parent), mMaxBytes(maxBytes) {
    setMaxLength(32767);
    auto* validator = new TStoredValueValidator(maxBytes, this);
    validator->setParent(this);
    setValidator(validator);
    // Every change but SetBytes (which blocks the signal) is the user's: typing, pasting, or
    // assistive technology setting the text.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        mAccepted = text;
        mEdited = true;
        emit BytesEdited();
    });
}

void TCp932Edit::SetMaxBytes(int maxBytes) {
    mMaxBytes = maxBytes;
    auto* validator = new TStoredValueValidator(maxBytes, this);
    validator->setParent(this);
    const QValidator* old = this->validator();
    setValidator(validator);
    delete old;
}

void TCp932Edit::SetBytes(const std::string& bytes) {
    mStored = bytes;
    mEdited = false;
    const QString shown = Cp932ToQString(bytes);
    mLoading = true;
    {
        const QSignalBlocker block(this);
        setText(shown);
    }
    mLoading = false;
    mAccepted = shown;
}

std::string TCp932Edit::Bytes() const {
    if (!mEdited)
        return mStored;
    const auto typed = QStringToCp932(text());
    return typed ? LimitCp932Bytes(*typed, static_cast<std::size_t>(std::max(mMaxBytes, 0))) : mStored;
}

}  // namespace quillon
