// TScriptListBox: the command list of an event script. It shows the rows of its
// TScriptListModel, forwards keys and mouse to it, and carries the editing menu
// ("&Insert...", "&Edit...", "Cu&t", "&Copy", "&Paste", "&Delete", "Select &All").
#pragma once

#include "events/ScriptList.h"
#include "events/ScriptListAccessible_qt.h"

#include <QAbstractScrollArea>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QTimer;

namespace quillon {

class TEventCommandDialogsQt;

class TScriptListBox : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TScriptListBox(QWidget* parent = nullptr);
    ~TScriptListBox() override;

    TScriptListModel& Model() { return mModel; }
    const TScriptListModel& Model() const { return mModel; }
    // The palettes and dialogs the list opens; the list's own unless the owner sets others.
    TEventCommandDialogsQt& Dialogs() { return *mDialogs; }

    QMenu* Menu() const { return mMenu; }
    QAction* ActionInsert() const { return mInsert; }
    QAction* ActionEdit() const { return mEdit; }
    QAction* ActionCut() const { return mCut; }
    QAction* ActionCopy() const { return mCopy; }
    QAction* ActionPaste() const { return mPaste; }
    QAction* ActionDelete() const { return mDelete; }
    QAction* ActionSelectAll() const { return mSelectAll; }

    // Height of one line: the text height of the control's font.
    int LineHeight() const;
    // The row under a point of the viewport (may lie outside the list).
    int RowAt(int y) const;
    // Puts the menu's enabled states in line with the model (done when the menu opens).
    void UpdateMenuState();

public slots:
    void Menu_InsertClick();
    void Menu_EditClick();
    void Menu_CutClick();
    void Menu_CopyClick();
    void Menu_PasteClick();
    void Menu_DeleteClick();
    void Menu_SelectAllClick();

signals:
    void DblClick();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // With the focus, a notch of the wheel scrolls one line; without, as any scrolled view.
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The editing operation a key press stands for (Return, Space, Delete, Ctrl+X/C/V/A), or none.
    using TEditingAction = void (TScriptListBox::*)();
    static TEditingAction EditingAction(const QKeyEvent& event);
    void ModelChanged();
    void UpdateGeometry();
    void AutoScrollTimer();
    void StopDragging();

    TScriptListModel mModel;
    std::unique_ptr<TEventCommandDialogsQt> mDialogs;
    QMenu* mMenu = nullptr;
    QAction* mInsert = nullptr;
    QAction* mEdit = nullptr;
    QAction* mCut = nullptr;
    QAction* mCopy = nullptr;
    QAction* mPaste = nullptr;
    QAction* mDelete = nullptr;
    QAction* mSelectAll = nullptr;
    QTimer* mAutoScroll = nullptr;
    bool mDragging = false;
    int mDragY = 0;
    bool mSyncingScrollBar = false;
    int mWheelDelta = 0;  // eighths of a degree not yet turned into lines
    TConnection mModelChanged;
    TScriptListAccessibilityNotes mAccessibility;
    // What the window showed when it was last brought up to date: a change that only moves the
    // top line shifts the picture and paints the rows that came into view.
    struct TShown {
        int Top = -1;
        int Count = -1;
        int ItemIndex = -1;
        int SelStart = -1;
        int SelEnd = -1;
        std::vector<std::string> Rows;  // the rows in view
    } mShown;
    void RememberShown();
};

}  // namespace quillon
