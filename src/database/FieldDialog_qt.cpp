#include "database/FieldDialog_qt.h"

#include "platform/MessageBox.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

TFormFieldDialog::TFormFieldDialog(QWidget* owner, const QString& caption, TFieldBinding& binding, int helpContext,
                                   std::function<std::string()> refusal, const QString& okCaption)
    : TFormKelBase(owner), mRefusal(std::move(refusal)) {
    setWindowTitle(caption);
    SetHelpContext(helpContext);
    auto* main = new QVBoxLayout(this);
    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("PanelFields"));
    auto* fields = new QFormLayout(body);
    fields->setContentsMargins(0, 0, 0, 0);
    main->addWidget(body, 1);
    mOk = AddStandardButtons(*main, okCaption.isEmpty() ? tr("&OK") : okCaption);
    mBinder = new TFieldBinder(binding, *body, fields);
}

bool TFormFieldDialog::CanConfirm() {
    // A number still being typed counts.
    if (QWidget* focus = focusWidget())
        focus->clearFocus();
    const std::string refusal = mRefusal ? mRefusal() : std::string{};
    if (refusal.empty())
        return true;
    ShowMessageBox(refusal, mbOk | mbIconWarning, this);
    return false;
}

}  // namespace quillon
