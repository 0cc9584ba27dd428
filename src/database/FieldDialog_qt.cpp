#include "database/FieldDialog_qt.h"

#include "platform/MessageBox.h"

#include <QFormLayout>
#include <QHBoxLayout>
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
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    mOk = new QPushButton(okCaption.isEmpty() ? tr("&OK") : okCaption, this);
    mOk->setObjectName(QStringLiteral("ButtonOk"));
    mOk->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    cancel->setAutoDefault(false);
    auto* help = new QPushButton(tr("&Help"), this);
    help->setObjectName(QStringLiteral("ButtonHelp"));
    help->setAutoDefault(false);
    for (QPushButton* button : {mOk, cancel, help})
        buttons->addWidget(button);
    main->addLayout(buttons);
    mBinder = new TFieldBinder(binding, *body, fields);
    ConnectStandardButtons();
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
