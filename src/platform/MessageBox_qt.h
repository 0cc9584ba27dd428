// Message boxes as Qt dialogs, titled with the application's name. Text arrives in the editor's
// byte text and is shown decoded.
#pragma once

#include "platform/MessageBox.h"

namespace quillon {

class TQtMessageBox final : public IMessageBox {
public:
    // `owner` is a QWidget* or nullptr.
    int Show(const std::string& text, int flags, const void* owner) override;
};

}  // namespace quillon
