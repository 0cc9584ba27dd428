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
    Changed.Emit();
}

void TMemoryClipboard::Clear() {
    mData.clear();
    Changed.Emit();
}

namespace {

// The clipboard in use, with its changes passed on to the program-wide signal.
struct TProgramClipboard {
    TMemoryClipboard Fallback;
    IClipboard* Installed = nullptr;
    TSignal<> Changed;
    TConnection Forward;

    TProgramClipboard() { Listen(); }
    IClipboard& InUse() { return Installed ? *Installed : Fallback; }
    void Listen() { Forward = InUse().Changed.Connect([this] { Changed.Emit(); }); }
};

TProgramClipboard& Program() {
    static TProgramClipboard program;
    return program;
}

}  // namespace

IClipboard& Clipboard() { return Program().InUse(); }

IClipboard* SetClipboard(IClipboard* clipboard) {
    TProgramClipboard& program = Program();
    IClipboard* previous = program.Installed;
    program.Installed = clipboard;
    program.Listen();
    program.Changed.Emit();
    return previous;
}

TSignal<>& ClipboardChanged() { return Program().Changed; }

}  // namespace quillon
