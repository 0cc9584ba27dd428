// Message boxes: the model asks through this interface; the editor installs real dialogs, tests
// a stand-in that records the texts and gives the answers they script.
#pragma once

#include <string>

namespace quillon {

// Button results, as the platform reports them.
enum : int { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };
// Flags: buttons in the low bits, the icon above.
enum : int {
    mbOk = 0x00,
    mbOkCancel = 0x01,
    mbYesNoCancel = 0x03,
    mbYesNo = 0x04,
    mbIconError = 0x10,
    mbIconQuestion = 0x20,
    mbIconWarning = 0x30,
    mbIconInformation = 0x40,
};

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // Shows the text with the application title as caption; answers the button pressed.
    // `owner` is the window the box belongs to, or nullptr for the application.
    virtual int Show(const std::string& text, int flags, const void* owner) = 0;
};

// Installs the program-wide message box (not owned; nullptr restores the silent one, which
// answers Ok, or Yes to a question). Returns the previous one.
IMessageBox* SetMessageBox(IMessageBox* box);

int ShowMessageBox(const std::string& text, int flags, const void* owner = nullptr);
void ShowError(const std::string& text);        // error icon
void ShowInformation(const std::string& text);  // information icon
int AskYesNo(const std::string& text);          // Yes/No with the question icon: mrYes or mrNo

}  // namespace quillon
