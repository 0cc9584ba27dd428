// A line edit over code page 932 bytes: its limit counts bytes, characters the code page cannot
// hold are refused as they are typed. A stored value that does not decode, or that is longer than
// the limit, is kept as its bytes (shown as well as it goes) until the user edits it.
#pragma once

#include <QLineEdit>

#include <string>

namespace quillon {

class TCp932Edit : public QLineEdit {
    Q_OBJECT
public:
    TCp932Edit(int maxBytes, QWidget* parent = nullptr);
    int MaxBytes() const { return mMaxBytes; }
    void SetMaxBytes(int maxBytes);

    // Shows bytes (no signal).
    void SetBytes(const std::string& bytes);
    // The bytes: the stored ones until the user edits, then the text typed (within the limit).
    std::string Bytes() const;
    // Whether the user changed the text since the last SetBytes.
    bool Edited() const { return mEdited; }

    // For the validator: the text as last accepted, and whether a stored value is being shown.
    const QString& AcceptedText() const { return mAccepted; }
    bool Loading() const { return mLoading; }

signals:
    // The user changed the text.
    void BytesEdited();

private:
    int mMaxBytes;
    std::string mStored;
    bool mEdited = false;
    bool mLoading = false;
    QString mAccepted;
};

}  // namespace quillon
