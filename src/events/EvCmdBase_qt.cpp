#include "events/EvCmdBase_qt.h"

#include "controls/FieldBinder_qt.h"
#include "events/EventCommands.h"
#include "platform/MessageBox.h"

#include <QFormLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quillon {

namespace {

// Asked before OK drops branch bodies that hold commands.
constexpr const char* kDropBodiesQuestion =
    "The branches that these settings remove hold commands.\nRemove them with their commands?";

}  // namespace

QString CommandDialogCaption(std::int32_t code) {
    const TEventCommandInfo* info = FindEventCommand(code);
    return info ? QObject::tr(info->Caption) : QString();
}

TFormEvCmdBase::TFormEvCmdBase(QWidget* parent, const TCommandForm& form, const TEventCommandContext& context,
                               TKelEventScriptList& resultScript)
    : TFormEvCmdBase(parent, form, context, resultScript, TLayout::Fields) {}

TFormEvCmdBase::TFormEvCmdBase(QWidget* parent, const TCommandForm& form, const TEventCommandContext& context,
                               TKelEventScriptList& resultScript, TLayout layout)
    : TFormKelBase(parent), mResultScript(resultScript), mContext(context), mModel(form, mContext) {
    setObjectName(QStringLiteral("TFormEvCmd%1").arg(form.Code));
    setWindowTitle(CommandDialogCaption(form.Code));
    SetHelpContext(form.HelpContext != 0 ? form.HelpContext : form.Code);
    mModel.Load(mResultScript);
    Make(layout);
}

TFormEvCmdBase::~TFormEvCmdBase() = default;

void TFormEvCmdBase::Make(TLayout layout) {
    auto* main = new QVBoxLayout(this);
    mBody = new QWidget(this);
    mBody->setObjectName(QStringLiteral("PanelSettings"));
    main->addWidget(mBody, 1);

    mButtonOk = AddStandardButtons(*main, tr("&Ok"));

    if (layout == TLayout::Fields) {
        mFields = new QFormLayout(mBody);
        mFields->setContentsMargins(0, 0, 0, 0);
        mFields->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
        mBinder = new TFieldBinder(mModel.Binding(), *mBody, mFields);
        ButtonsLastInTabOrder();
        FitToContents();
    }
}

void TFormEvCmdBase::FitToContents() {
    // The size the settings ask for (a window's own first size is kept to two thirds of the
    // screen, which squeezes the wider dialogs), within the screen.
    QSize size = sizeHint();
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);
}

void TFormEvCmdBase::ButtonsLastInTabOrder() {
    auto* cancel = findChild<QPushButton*>(QStringLiteral("ButtonCancel"));
    auto* help = findChild<QPushButton*>(QStringLiteral("ButtonHelp"));
    QWidget* last = nullptr;
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
        if (mBody->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
            last = w;
    if (last) {
        setTabOrder(last, mButtonOk);
        setTabOrder(mButtonOk, cancel);
        setTabOrder(cancel, help);
    }
}

bool TFormEvCmdBase::CanConfirm() {
    TakeInput();
    const std::string refusal = mModel.Refusal();
    if (!refusal.empty()) {
        ShowMessageBox(refusal, mbOk | mbIconWarning, this);
        return false;
    }
    if (!mModel.LostBodies().empty() &&
        ShowMessageBox(kDropBodiesQuestion, mbYesNo | mbIconQuestion, this) != mrYes)
        return false;
    mModel.Write(mResultScript);
    return true;
}

}  // namespace quillon
