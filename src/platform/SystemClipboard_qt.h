// The system clipboard: each private format is the MIME type "application/x-quillon-N" holding
// exactly the bytes of the format's memory block.
#pragma once

#include "platform/Clipboard.h"

#include <QMetaObject>
#include <QString>

namespace quillon {

class TSystemClipboard final : public IClipboard {
public:
    // Announces Changed whenever the system clipboard changes (needs the application object).
    TSystemClipboard();
    ~TSystemClipboard() override;
    TSystemClipboard(const TSystemClipboard&) = delete;
    TSystemClipboard& operator=(const TSystemClipboard&) = delete;
    static QString MimeType(int format);
    bool HasFormat(int format) const override;
    std::optional<std::string> GetData(int format) const override;
    void SetData(int format, const std::string& bytes) override;

private:
    QMetaObject::Connection mWatch;
};

}  // namespace quillon
