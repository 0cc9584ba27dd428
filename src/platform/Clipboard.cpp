#include "platform/Clipboard.h"

namespace quillon {

std::optional<std::string> TMemoryClipboard::GetData(int format) const {
    const auto it = mData.find(format);
    if (it == mData.end())
        return std::nullopt;
    return it->second;
}

void TMemoryClipboard::SetData(int format, const std::string& bytes) {
    mData.clear();
    mData[format] = bytes;
}

namespace {
TMemoryClipboard& FallbackClipboard() {
    static TMemoryClipboard clipboard;
    return clipboard;
}
IClipboard*& InstalledClipboard() {
    static IClipboard* clipboard = nullptr;
    return clipboard;
}
}  // namespace

IClipboard& Clipboard() {
    IClipboard* installed = InstalledClipboard();
    return installed ? *installed : FallbackClipboard();
}

IClipboard* SetClipboard(IClipboard* clipboard) {
    IClipboard* previous = InstalledClipboard();
    InstalledClipboard() = clipboard;
    return previous;
}

}  // namespace quillon
