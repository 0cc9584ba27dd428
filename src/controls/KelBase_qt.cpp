#include "controls/KelBase_qt.h"

#include "controls/FormPlacement.h"
#include "controls/Help.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace quillon {

namespace {

TScopedModalRunner::TRunner& Runner() {
    static TScopedModalRunner::TRunner runner;
    return runner;
}

TRect ToRect(const QRect& r) { return MakeBounds(r.left(), r.top(), r.width(), r.height()); }

}  // namespace

TFormKelBase::TFormKelBase(QWidget* parent) : QDialog(parent) {
    auto* help = new QAction(this);
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    connect(help, &QAction::triggered, this, &TFormKelBase::HelpKeyPressed);
    addAction(help);
}

TFormKelBase::~TFormKelBase() = default;

int TFormKelBase::RunModal() {
    if (const TScopedModalRunner::TRunner& runner = Runner())
        return runner(*this);
    return exec();
}

void TFormKelBase::ConnectStandardButtons() {
    if (auto* ok = findChild<QAbstractButton*>(QStringLiteral("ButtonOk")))
        connect(ok, &QAbstractButton::clicked, this, &TFormKelBase::ButtonOkClick);
    if (auto* cancel = findChild<QAbstractButton*>(QStringLiteral("ButtonCancel")))
        connect(cancel, &QAbstractButton::clicked, this, &TFormKelBase::ButtonCancelClick);
    if (auto* help = findChild<QAbstractButton*>(QStringLiteral("ButtonHelp")))
        connect(help, &QAbstractButton::clicked, this, &TFormKelBase::ButtonHelpClick);
}

QPushButton* TFormKelBase::AddStandardButtons(QBoxLayout& layout, const QString& okCaption, bool withHelp) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto add = [this, buttons](const QString& caption, const char* name, void (TFormKelBase::*click)()) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        buttons->addWidget(button);
        connect(button, &QAbstractButton::clicked, this, click);
        return button;
    };
    QPushButton* ok = add(okCaption, "ButtonOk", &TFormKelBase::ButtonOkClick);
    ok->setDefault(true);
    add(tr("Cancel"), "ButtonCancel", &TFormKelBase::ButtonCancelClick);
    if (withHelp)
        add(tr("&Help"), "ButtonHelp", &TFormKelBase::ButtonHelpClick);
    layout.addLayout(buttons);
    return ok;
}

void TFormKelBase::ButtonOkClick() {
    if (CanConfirm())
        Confirm();
}

void TFormKelBase::ButtonHelpClick() { ShowHelp(mHelpContext); }

void TFormKelBase::HelpKeyPressed() {
    auto* button = findChild<QAbstractButton*>(QStringLiteral("ButtonHelp"));
    if (button && button->isEnabled() && button->isVisible())
        button->click();
}

void TFormKelBase::Place() { PlaceDialogWindow(*this, parentWidget(), mFixedOffset); }

void TFormKelBase::showEvent(QShowEvent* event) {
    if (!mPlaced) {
        mPlaced = true;
        Place();
    }
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    QDialog::showEvent(event);
}

bool TFormKelBase::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        auto* menu = static_cast<QContextMenuEvent*>(event);
        // A request that bubbled up from another widget shows no menu here.
        if (menu->reason() == QContextMenuEvent::Mouse && QApplication::widgetAt(QCursor::pos()) != watched) {
            menu->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PlaceDialogWindow(QWidget& dialog, const QWidget* owner, std::optional<QPoint> fixedOffset) {
    if (owner)
        owner = owner->window();
    if (!owner || owner == &dialog || !owner->isVisible())
        return;
    QScreen* screen = owner->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    dialog.ensurePolished();
    const QSize size = dialog.frameGeometry().size().expandedTo(dialog.sizeHint());
    TRect placed;
    if (fixedOffset) {
        const QPoint client = owner->mapToGlobal(QPoint(0, 0));
        placed = PlaceAtClientOffset(size.width(), size.height(), client.x(), client.y(), fixedOffset->x(),
                                     fixedOffset->y(), ToRect(owner->frameGeometry()), ToRect(area));
    } else {
        placed = CenterOnOwner(size.width(), size.height(), ToRect(owner->frameGeometry()), ToRect(area));
    }
    dialog.move(placed.Left, placed.Top);
}

TScopedModalRunner::TScopedModalRunner(TRunner runner) : mPrevious(std::exchange(Runner(), std::move(runner))) {}

TScopedModalRunner::~TScopedModalRunner() { Runner() = std::move(mPrevious); }

}  // namespace quillon
