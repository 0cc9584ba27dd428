// The "Monsters" page of the database editor: the monsters of the database in memory, edited in
// place, with their condition and attribute ranks and their action patterns.
#pragma once

#include "database/ED_Monster.h"
#include "database/FieldPage_qt.h"

#include <QImage>
#include <QTreeView>

#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace Ui {
class FormEDMonster;
}

namespace quillon {

class TRankListBox;

// The monster's battle graphic as the page's model draws it, with a note when its file is
// missing.
class TMonsterPreview : public QWidget {
    Q_OBJECT
public:
    explicit TMonsterPreview(QWidget* parent = nullptr);
    void Show(TMonsterPageModel& model);
    const QImage& Picture() const { return mPicture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage mPicture;
    TMonsterPicture mShown;
    bool mDrawn = false;
};

// The action pattern list: "Subject", "Conditions", "Priority", and an empty row for a new one.
class TMonsterActListView : public QTreeView {
    Q_OBJECT
public:
    TMonsterActListView(TMonsterPageModel& model, QWidget* parent = nullptr);
    // Rows again from the model, with its selected row selected and in sight.
    void Refresh();
    QMenu* Popup() const { return mPopup; }
    void UpdatePopup();
    // The dialog that edits a pattern (the real one unless replaced).
    std::function<bool(TKelMonsterActItem&)> EditWith;

public slots:
    void ListView1DblClick();
    void Menu_ActItemEditClick();
    void Menu_ActItemCutClick();
    void Menu_ActItemCopyClick();
    void Menu_ActItemPasteClick();
    void Menu_ActItemDeleteClick();
    void PopupMenu1Popup();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Run(TMonsterActCommand command);
    TMonsterPageModel& mModel;
    class TPageRows* mRows;
    QMenu* mPopup;
    QAction* mEdit;
    QAction* mCut;
    QAction* mCopy;
    QAction* mPaste;
    QAction* mDelete;
    bool mFilling = false;
};

class TFormEDMonster : private TPageChoosers, public TFormDataBaseBase {
public:
    // choosers: the switch pickers of the action dialog (none: the real ones).
    TFormEDMonster(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDMonster() override;

    TMonsterPageModel& Model() { return mModel; }
    TFieldBinder& Binder() { return *mBinder; }
    TRankListBox* ConditionRankList() const { return mConditionRanks; }
    TRankListBox* AttributeRankList() const { return mAttributeRanks; }
    TMonsterActListView* ActionList() const { return mActions; }
    TMonsterPreview* Preview() const;

    void LoadEntry() override;
    void UpdateView() override;

private:
    TMonsterPageModel& mModel;
    std::unique_ptr<Ui::FormEDMonster> mUi;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    TRankListBox* mConditionRanks = nullptr;
    TRankListBox* mAttributeRanks = nullptr;
    TMonsterActListView* mActions = nullptr;
};

TFormDataBaseBase* CreateFormEDMonster(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
