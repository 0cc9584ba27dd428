// The system clipboard: each private format is the MIME type "application/x-quillon-N" holding
// exactly the bytes of the format's memory block.
#pragma once

#include "platform/Clipboard.h"

#include <QString>

namespace quillon {

class TSystemClipboard final : public IClipboard {
public:
    static QString MimeType(int format);
    bool HasFormat(int format) const override;
    std::optional<std::string> GetData(int format) const override;
    void SetData(int format, const std::string& bytes) override;
};

}  // namespace quillon
