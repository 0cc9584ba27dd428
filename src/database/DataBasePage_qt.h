// The widget side of a database editor page, and the entry list every list page shares.
//
// TFormDataBaseBase is the page widget: it owns its model (a TDataBasePage), is docked into the
// frame's page area, and shows the model's current entry. Every change the model announces
// (TDataBasePage::Modified) reaches Modified(), which calls the frame's OnModified (enabling
// Apply) and then UpdateView(). A page fills its controls in LoadEntry() with their signals
// blocked (TDataBaseBlockSignals), so that viewing an entry never writes to it.
//
// How a page widget is made:
//   class TFormEDSkill : public TFormDataBaseBase {
//       TFormEDSkill(const TDataBaseContext& c, QWidget* parent)
//           : TFormDataBaseBase(std::make_unique<TSkillPageModel>(c), parent) {
//           ... build or load the .ui form; put MakeEntryList() and MakeCountButton() in it ...
//       }
//       void LoadEntry() override;   // current entry -> controls (signals blocked)
//       void UpdateView() override;  // enabled states and summaries
//   };
//   TFormDataBaseBase* CreateFormEDSkill(const TDataBaseContext& c, QWidget* parent) {
//       return new TFormEDSkill(c, parent);
//   }
// and one line in RegisterDataBasePages (DataBasePages_qt.cpp). The frame calls Start() once the
// page is docked; it fills the list and shows the remembered entry.
#pragma once

#include "database/DataBasePage.h"

#include <QListView>
#include <QObject>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QPushButton;

namespace quillon {

class TPageRows;

// Blocks the signals of some widgets for its lifetime (how a page shows an entry).
class TDataBaseBlockSignals {
public:
    TDataBaseBlockSignals(std::initializer_list<QObject*> objects);
    explicit TDataBaseBlockSignals(std::vector<QObject*> objects);
    ~TDataBaseBlockSignals();
    TDataBaseBlockSignals(const TDataBaseBlockSignals&) = delete;
    TDataBaseBlockSignals& operator=(const TDataBaseBlockSignals&) = delete;

private:
    std::vector<QObject*> mObjects;
    std::vector<bool> mWere;
};

class TFormDataBaseBase : public QWidget {
    Q_OBJECT
public:
    TFormDataBaseBase(std::unique_ptr<TDataBasePage> model, QWidget* parent = nullptr);
    ~TFormDataBaseBase() override;

    TDataBasePage& PageModel() const { return *mModel; }

    // Set by the frame: enables Apply.
    std::function<void()> OnModified;
    // The model changed the database: OnModified, then UpdateView.
    virtual void Modified();
    // Re-derives dependent controls (enabled states, summaries) from the current entry.
    virtual void UpdateView() {}
    // F4 / F5 of the frame: the previous / next entry of the list.
    virtual void SelectPrevious();
    virtual void SelectNext();
    // Shows the model's current entry (with the controls' signals blocked).
    virtual void LoadEntry() {}

    // Called by the frame once the page is docked and shown: fills the list, restores the
    // remembered entry and shows it.
    virtual void Start();

    // The entry list (nullptr for pages without one), and the window the page's dialogs belong
    // to (the frame).
    class TDataBaseEntryList* EntryList() const { return mEntryList; }
    QWidget* DialogOwner() const;

    // "Max Field Number...": the count dialog, then the resize.
    void ChangeEntryCount();
    // "&MultiCopy...": the "Multi Copy" dialog, then the copy.
    void MultiCopyEntries();
    // A paste that the page reports (a damaged block) instead of raising.
    void PasteEntries();

protected:
    // The shared controls of a list page, made as children of `parent` (object names
    // "DataList" and "ButtonMaxChange"); the page places them.
    class TDataBaseEntryList* MakeEntryList(QWidget* parent);
    QPushButton* MakeCountButton(QWidget* parent);

private:
    std::unique_ptr<TDataBasePage> mModel;
    class TDataBaseEntryList* mEntryList = nullptr;
    std::vector<TConnection> mHeard;
};

// The entry list: one "%.4d:%s" row per entry, read from the model as rows are painted; its
// popup offers Copy, Paste, Clear, Cut and MultiCopy, and Ctrl+C, Ctrl+V, Delete and Ctrl+X act
// on it while it has the focus.
class TDataBaseEntryList : public QListView {
    Q_OBJECT
public:
    TDataBaseEntryList(TFormDataBaseBase& page, QWidget* parent);
    ~TDataBaseEntryList() override;

    // Shows the model's rows and current entry again (all rows, or one).
    void ShowRows(int row);
    void ShowCurrent();
    // The popup, with Paste enabled as the clipboard allows.
    QMenu* Popup() const { return mPopup; }
    void UpdatePopup();
    QAction* CopyAction() const { return mCopy; }
    QAction* PasteAction() const { return mPaste; }
    QAction* ClearAction() const { return mClear; }
    QAction* CutAction() const { return mCut; }
    QAction* MultiCopyAction() const { return mMultiCopy; }

public slots:
    void Menu_DataCopyClick();
    void Menu_DataPasteClick();
    void Menu_DataClearClick();
    void Menu_DataCutClick();
    void Menu_DataMultiCopyClick();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void RowChosen(const QModelIndex& index);

    TFormDataBaseBase& mPage;
    TPageRows* mRows;
    QMenu* mPopup;
    QAction* mCopy;
    QAction* mPaste;
    QAction* mClear;
    QAction* mCut;
    QAction* mMultiCopy;
    bool mShowing = false;
};

}  // namespace quillon
