// The small dialogs of the database pages: a field form built into a dialog of the dialog base,
// with OK (or a caption of its own), Cancel and Help. A refusal rule may keep it open on OK.
#pragma once

#include "controls/FieldBinder_qt.h"
#include "controls/FieldForm.h"
#include "controls/KelBase_qt.h"

#include <functional>
#include <string>

class QPushButton;

namespace quillon {

class TFormFieldDialog : public TFormKelBase {
    Q_OBJECT
public:
    // refusal: on OK, the message that keeps the dialog open ("" lets it close).
    TFormFieldDialog(QWidget* owner, const QString& caption, TFieldBinding& binding, int helpContext,
                     std::function<std::string()> refusal = {}, const QString& okCaption = {});
    TFieldBinder& Binder() const { return *mBinder; }
    QPushButton* OkButton() const { return mOk; }

protected:
    bool CanConfirm() override;

private:
    TFieldBinder* mBinder = nullptr;
    QPushButton* mOk = nullptr;
    std::function<std::string()> mRefusal;
};

}  // namespace quillon
