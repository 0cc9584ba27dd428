// The view every field page of the database editor shares: the entry list ("%.4d:%s") of the
// page's list on the left, when the page has one, and the page's fields, built or found by the
// field binder, on the right. The page edits the database in memory directly; it announces
// every change with PageModified and remembers that it made one.
#pragma once

#include "controls/FieldBinder_qt.h"
#include "controls/FieldForm.h"
#include "platform/Cp932Text_qt.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace quillon {

class IEventChoosers;
class TEventChoosersQt;
class TKelDataBase;

// The selectors a page opens: those it was given, else real ones it owns. A page derives from
// it first, so that its model can be given the selectors.
struct TPageChoosers {
    TPageChoosers(TKelDataBase& db, IEventChoosers* given, QWidget* owner);
    ~TPageChoosers();
    IEventChoosers* Choosers = nullptr;
    std::unique_ptr<TEventChoosersQt> OwnChoosers;
};

class TDataBasePageView : public QWidget {
    Q_OBJECT
public:
    explicit TDataBasePageView(QWidget* parent = nullptr);

    // Whether the page changed the database since it was made (or since ClearModified).
    bool Modified() const { return mModified; }
    void ClearModified() { mModified = false; }
    // Shows every control again from the database (another entry, a reload of the file).
    virtual void Load() = 0;
    // The database already holds every edit; pages with derived data bring it up to date.
    virtual void Commit() {}

signals:
    void PageModified();

protected:
    void Changed();
    // A scroll area holding `content`, for pages taller than the window.
    static QScrollArea* Scrolled(QWidget* content);
    // An entry list named "DataList" with the rows given.
    static QListWidget* NewEntryList(QWidget* parent);
    static void FillEntryList(QListWidget& list, const std::vector<std::string>& rows, int current);

private:
    bool mModified = false;
};

// A page over a model M whose fields are one description. With an entry list when M is an
// entry page model (it has Rows and Select).
template <class M>
class TFieldPage : public TDataBasePageView {
public:
    TFieldPage(std::unique_ptr<M> model, const TFieldForm& form, QWidget* parent = nullptr)
        : TDataBasePageView(parent), mModel(std::move(model)) {
        auto* top = new QHBoxLayout(this);
        if constexpr (kHasEntries) {
            mDataList = NewEntryList(this);
            top->addWidget(mDataList);
            connect(mDataList, &QListWidget::currentRowChanged, this, [this](int row) {
                if (row >= 0)
                    mModel->Select(row);
            });
            mRowChanged = mModel->OnRowChanged.Connect([this](int row) {
                if (QListWidgetItem* item = mDataList->item(row))
                    item->setText(Cp932ToQString(mModel->RowText(row)));
            });
        }
        mFields = new QWidget(this);
        mFields->setObjectName("Fields");
        auto* layout = new QFormLayout(mFields);
        mBinding = std::make_unique<TFieldBinding>(form, *mModel);
        mBinder = new TFieldBinder(*mBinding, *mFields, layout);
        top->addWidget(Scrolled(mFields), 1);
        mModified_ = mModel->OnModified.Connect([this] { Changed(); });
        mReload = mModel->OnReload.Connect([this] { mBinder->Refresh(); });
        Load();
    }
    ~TFieldPage() override {
        // The binder goes before the binding it shows.
        delete mBinder;
        mBinder = nullptr;
    }

    M& Model() { return *mModel; }
    TFieldBinder& Binder() { return *mBinder; }
    QListWidget* DataList() const { return mDataList; }
    QWidget* Fields() const { return mFields; }

    void Load() override {
        if constexpr (kHasEntries)
            FillEntryList(*mDataList, mModel->Rows(), mModel->CurrentIndex());
        mBinder->Refresh();
    }

private:
    static constexpr bool kHasEntries = requires(M& m) {
        m.Rows();
        m.Select(0);
    };

    std::unique_ptr<M> mModel;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    QListWidget* mDataList = nullptr;
    QWidget* mFields = nullptr;
    TConnection mModified_;
    TConnection mReload;
    TConnection mRowChanged;
};

}  // namespace quillon
