// The clipboard layer: private numbered formats holding raw bytes.
// The model talks to the program-wide clipboard through this interface; the editor installs the
// system clipboard, tests an in-memory one.
#pragma once

#include "platform/Signal.h"

#include <map>
#include <optional>
#include <string>

namespace quillon {

class IClipboard {
public:
    virtual ~IClipboard() = default;
    virtual bool HasFormat(int format) const = 0;
    // The bytes stored under a format, or nothing when the clipboard holds none.
    virtual std::optional<std::string> GetData(int format) const = 0;
    // Empties the clipboard and stores the bytes under the format.
    virtual void SetData(int format, const std::string& bytes) = 0;

    // Announced after the content changed: through SetData, or, for the system clipboard, by
    // any program.
    TSignal<> Changed;
};

// Clipboard held in memory; what tests and the command-line tool use.
class TMemoryClipboard final : public IClipboard {
public:
    bool HasFormat(int format) const override { return mData.count(format) != 0; }
    std::optional<std::string> GetData(int format) const override;
    void SetData(int format, const std::string& bytes) override;
    void Clear();

private:
    std::map<int, std::string> mData;
};

// The program-wide clipboard. Until one is installed, an in-memory clipboard serves.
IClipboard& Clipboard();
// Installs a clipboard (not owned; nullptr restores the in-memory one). Returns the previous one.
IClipboard* SetClipboard(IClipboard* clipboard);
// Announced after the program-wide clipboard's content changed, and when another one is
// installed: what enables "Paste" follows it.
TSignal<>& ClipboardChanged();

}  // namespace quillon
