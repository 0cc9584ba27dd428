#include "events/ScriptList_qt.h"

#include "events/EvCmdList_qt.h"
#include "platform/TextCodec.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace quillon {

TScriptListBox::TScriptListBox(QWidget* parent)
    : QAbstractScrollArea(parent), mDialogs(std::make_unique<TEventCommandDialogsQt>(this)) {
    InstallScriptListAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    mModel.SetDialogs(mDialogs.get());
    mModelChanged = mModel.OnChanged.Connect([this] { ModelChanged(); });

    mMenu = new QMenu(this);
    const auto add = [this](const QString& caption, const QKeySequence& keys, void (TScriptListBox::*slot)()) {
        QAction* action = mMenu->addAction(caption);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    mInsert = add(tr("&Insert..."), QKeySequence(Qt::Key_Return), &TScriptListBox::Menu_InsertClick);
    mEdit = add(tr("&Edit..."), QKeySequence(Qt::Key_Space), &TScriptListBox::Menu_EditClick);
    mMenu->addSeparator();
    mCut = add(tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X), &TScriptListBox::Menu_CutClick);
    mCopy = add(tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), &TScriptListBox::Menu_CopyClick);
    mPaste = add(tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), &TScriptListBox::Menu_PasteClick);
    mDelete = add(tr("&Delete"), QKeySequence(Qt::Key_Delete), &TScriptListBox::Menu_DeleteClick);
    mMenu->addSeparator();
    mSelectAll = add(tr("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A), &TScriptListBox::Menu_SelectAllClick);
    connect(mMenu, &QMenu::aboutToShow, this, &TScriptListBox::UpdateMenuState);

    mAutoScroll = new QTimer(this);
    mAutoScroll->setInterval(50);
    connect(mAutoScroll, &QTimer::timeout, this, &TScriptListBox::AutoScrollTimer);
    connect(this, &TScriptListBox::DblClick, this, &TScriptListBox::Menu_InsertClick);
    UpdateGeometry();
}

TScriptListBox::~TScriptListBox() {
    mModel.SetDialogs(nullptr);
}

int TScriptListBox::LineHeight() const {
    return std::max(fontMetrics().height(), 1);
}

int TScriptListBox::RowAt(int y) const {
    const int h = LineHeight();
    const int offset = y >= 0 ? y / h : -((-y + h - 1) / h);
    return mModel.TopIndex() + offset;
}

void TScriptListBox::UpdateGeometry() {
    mModel.SetVisibleLines(std::max(viewport()->height() / LineHeight(), 1));
}

void TScriptListBox::ModelChanged() {
    QScrollBar* bar = verticalScrollBar();
    mSyncingScrollBar = true;
    bar->setRange(0, std::max(0, mModel.Count() - mModel.VisibleLines()));
    bar->setPageStep(mModel.VisibleLines());
    bar->setSingleStep(1);
    bar->setValue(mModel.TopIndex());
    mSyncingScrollBar = false;

    const int top = mModel.TopIndex();
    const int delta = top - mShown.Top;
    const int visible = mModel.VisibleLines() + 1;
    bool onlyScrolled = mShown.Top >= 0 && delta != 0 && std::abs(delta) < visible && mShown.Count == mModel.Count() &&
                        mShown.ItemIndex == mModel.ItemIndex() && mShown.SelStart == mModel.SelStart() &&
                        mShown.SelEnd == mModel.SelEnd();
    // The rows still in view must be the ones shown (a refresh may have changed texts).
    for (int i = 0; onlyScrolled && i < static_cast<int>(mShown.Rows.size()); ++i) {
        const int row = mShown.Top + i;
        if (row >= top && row < top + visible && row < mModel.Count())
            onlyScrolled = mShown.Rows[static_cast<std::size_t>(i)] == mModel.Items()[static_cast<std::size_t>(row)];
    }
    if (onlyScrolled)
        viewport()->scroll(0, -delta * LineHeight());
    else
        viewport()->update();
    RememberShown();
    mAccessibility.Notify(*this);
}

void TScriptListBox::RememberShown() {
    mShown.Top = mModel.TopIndex();
    mShown.Count = mModel.Count();
    mShown.ItemIndex = mModel.ItemIndex();
    mShown.SelStart = mModel.SelStart();
    mShown.SelEnd = mModel.SelEnd();
    mShown.Rows.clear();
    const int end = std::min(mModel.Count(), mShown.Top + mModel.VisibleLines() + 1);
    for (int row = std::max(mShown.Top, 0); row < end; ++row)
        mShown.Rows.push_back(mModel.Items()[static_cast<std::size_t>(row)]);
}

void TScriptListBox::scrollContentsBy(int, int) {
    // The model announces the new top line; ModelChanged shifts the picture.
    if (!mSyncingScrollBar)
        mModel.SetTopIndex(verticalScrollBar()->value());
}

void TScriptListBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // A notch is 120; touchpads send less at a time.
    mWheelDelta += event->angleDelta().y();
    const int lines = mWheelDelta / 120;
    mWheelDelta -= lines * 120;
    if (lines != 0)
        mModel.SetTopIndex(mModel.TopIndex() - lines);
    event->accept();
}

void TScriptListBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateGeometry();
}

void TScriptListBox::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateGeometry();
}

void TScriptListBox::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    mAccessibility.Notify(*this, true);
}

void TScriptListBox::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TScriptListBox::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const QPalette& pal = palette();
    const int h = LineHeight();
    const int width = viewport()->width();
    const bool focused = hasFocus();
    const auto& items = mModel.Items();
    for (int row = mModel.TopIndex(), y = 0; row < mModel.Count() && y < viewport()->height(); ++row, y += h) {
        const QRect rect(0, y, width, h);
        if (!rect.intersects(dirty))
            continue;
        const bool highlighted = focused && mModel.IsSelected(row);
        painter.fillRect(rect, pal.color(highlighted ? QPalette::Highlight : QPalette::Base));
        painter.setPen(pal.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
        const QString text = QString::fromUtf8(Cp932ToUtf8(items[static_cast<std::size_t>(row)]));
        painter.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        if (focused && row == mModel.ItemIndex()) {
            // The focus rectangle: a dotted frame in the row's text colour.
            painter.setPen(QPen(pal.color(highlighted ? QPalette::HighlightedText : QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
    }
}

TScriptListBox::TEditingAction TScriptListBox::EditingAction(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (mods == Qt::NoModifier) {
        switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return &TScriptListBox::Menu_InsertClick;
        case Qt::Key_Space: return &TScriptListBox::Menu_EditClick;
        case Qt::Key_Delete: return &TScriptListBox::Menu_DeleteClick;
        default: return nullptr;
        }
    }
    if (event.modifiers() == Qt::ControlModifier) {
        switch (event.key()) {
        case Qt::Key_X: return &TScriptListBox::Menu_CutClick;
        case Qt::Key_C: return &TScriptListBox::Menu_CopyClick;
        case Qt::Key_V: return &TScriptListBox::Menu_PasteClick;
        case Qt::Key_A: return &TScriptListBox::Menu_SelectAllClick;
        default: return nullptr;
        }
    }
    return nullptr;
}

bool TScriptListBox::event(QEvent* event) {
    // The editing keys belong to the list while it has the focus: no short-cut or default button
    // of the window around it takes them first, however the window is laid out.
    if (event->type() == QEvent::ShortcutOverride && EditingAction(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void TScriptListBox::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_PageUp: mModel.KeyDown(TScriptListKey::PageUp, shift); return;
    case Qt::Key_PageDown: mModel.KeyDown(TScriptListKey::PageDown, shift); return;
    case Qt::Key_Home: mModel.KeyDown(TScriptListKey::Home, shift); return;
    case Qt::Key_End: mModel.KeyDown(TScriptListKey::End, shift); return;
    case Qt::Key_Left: mModel.KeyDown(TScriptListKey::Left, shift); return;
    case Qt::Key_Up: mModel.KeyDown(TScriptListKey::Up, shift); return;
    case Qt::Key_Right: mModel.KeyDown(TScriptListKey::Right, shift); return;
    case Qt::Key_Down: mModel.KeyDown(TScriptListKey::Down, shift); return;
    default: break;
    }
    if (const TEditingAction action = EditingAction(*event)) {
        (this->*action)();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TScriptListBox::mousePressEvent(QMouseEvent* event) {
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    if (mDragging && !left) {
        StopDragging();  // another button ends a drag
        return;
    }
    if (!left && !right)
        return;
    setFocus(Qt::MouseFocusReason);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    mModel.MouseDown(RowAt(static_cast<int>(event->position().y())), right, shift);
    if (left) {
        mDragging = true;
        mDragY = static_cast<int>(event->position().y());
        mAutoScroll->start();
    }
}

void TScriptListBox::mouseMoveEvent(QMouseEvent* event) {
    if (!mDragging)
        return;
    mDragY = static_cast<int>(event->position().y());
    if (mDragY >= 0 && mDragY < viewport()->height())
        mModel.SetItemIndex(RowAt(mDragY), event->modifiers() & Qt::ShiftModifier);
}

void TScriptListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        StopDragging();
}

void TScriptListBox::StopDragging() {
    mDragging = false;
    mAutoScroll->stop();
}

void TScriptListBox::AutoScrollTimer() {
    if (!mDragging) {
        mAutoScroll->stop();
        return;
    }
    const int h = LineHeight();
    const bool shift = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
    if (mDragY < 0)
        mModel.AutoScroll(-1, mDragY < -h, shift);
    else if (mDragY >= viewport()->height())
        mModel.AutoScroll(+1, mDragY >= viewport()->height() + h, shift);
}

void TScriptListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        StopDragging();
        emit DblClick();
    }
}

void TScriptListBox::contextMenuEvent(QContextMenuEvent* event) {
    UpdateMenuState();
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                  : viewport()->mapToGlobal(QPoint(0, 0));
    mMenu->popup(at);
}

void TScriptListBox::UpdateMenuState() {
    const TScriptMenuState state = mModel.MenuState();
    mInsert->setEnabled(state.Insert);
    mEdit->setEnabled(state.Edit);
    mCut->setEnabled(state.Cut);
    mCopy->setEnabled(state.Copy);
    mPaste->setEnabled(state.Paste);
    mDelete->setEnabled(state.Delete);
    mSelectAll->setEnabled(state.SelectAll);
}

// Each operation checks again that it may run, whether it came from the menu, a key or a
// double-click.
void TScriptListBox::Menu_InsertClick() { mModel.Insert(); }
void TScriptListBox::Menu_EditClick() { mModel.Edit(); }
void TScriptListBox::Menu_CutClick() { mModel.Cut(); }
void TScriptListBox::Menu_CopyClick() { mModel.Copy(); }
void TScriptListBox::Menu_PasteClick() { mModel.Paste(); }
void TScriptListBox::Menu_DeleteClick() { mModel.Delete(); }
void TScriptListBox::Menu_SelectAllClick() { mModel.SelectAll(); }

}  // namespace quillon
