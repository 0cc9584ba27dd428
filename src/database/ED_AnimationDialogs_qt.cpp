#include "database/ED_AnimationDialogs_qt.h"

#include "database/DataBasePage.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace quillon {

void TFormEDAnimationDialog::Make(const char* className, const QString& caption) {
    setObjectName(QString::fromLatin1(className).mid(1));  // "FormEDAnimationCell"
    setWindowTitle(caption);
    SetHelpContext(DataBaseTabInfo(dtAnimation).HelpContext);
    auto* main = new QVBoxLayout(this);
    auto* body = new QWidget(this);
    body->setObjectName(QStringLiteral("PanelSettings"));
    auto* fields = new QFormLayout(body);
    fields->setContentsMargins(0, 0, 0, 0);
    main->addWidget(body);
    mExtra = new QVBoxLayout;
    main->addLayout(mExtra, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName(QStringLiteral("ButtonOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto* help = new QPushButton(tr("&Help"), this);
    help->setObjectName(QStringLiteral("ButtonHelp"));
    for (QPushButton* button : {ok, cancel, help})
        buttons->addWidget(button);
    main->addLayout(buttons);
    ConnectStandardButtons();
    mBinder = new TFieldBinder(*mBinding, *body, fields);
}

TFormEDAnimationDialog::~TFormEDAnimationDialog() { delete mBinder; }

}  // namespace quillon
