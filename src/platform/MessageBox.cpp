#include "platform/MessageBox.h"

namespace quillon {

namespace {

class TSilentMessageBox final : public IMessageBox {
public:
    int Show(const std::string&, int flags, const void*) override {
        const int buttons = flags & 0x0F;
        return buttons == mbYesNo || buttons == mbYesNoCancel ? mrYes : mrOk;
    }
};

TSilentMessageBox gSilent;
IMessageBox* gInstalled = nullptr;

}  // namespace

IMessageBox* SetMessageBox(IMessageBox* box) {
    IMessageBox* previous = gInstalled;
    gInstalled = box;
    return previous;
}

int ShowMessageBox(const std::string& text, int flags, const void* owner) {
    return (gInstalled ? *gInstalled : static_cast<IMessageBox&>(gSilent)).Show(text, flags, owner);
}

void ShowError(const std::string& text) { ShowMessageBox(text, mbOk | mbIconError); }

void ShowInformation(const std::string& text) { ShowMessageBox(text, mbOk | mbIconInformation); }

int AskYesNo(const std::string& text) { return ShowMessageBox(text, mbYesNo | mbIconQuestion); }

}  // namespace quillon
