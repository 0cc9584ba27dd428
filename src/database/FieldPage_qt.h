// What the field pages of the database editor share on the widget side: a page whose fields
// are one description, bound to its model and built by the field binder beside the shared
// entry list and count button of the page base, and the selectors a page opens.
#pragma once

#include "controls/FieldBinder_qt.h"
#include "controls/FieldForm.h"
#include "database/DataBasePage_qt.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <memory>

namespace quillon {

class IEventChoosers;
class TEventChoosersQt;

// The selectors a page opens: those it was given, else real ones it owns. A page derives from
// it first, so that its model can be given the selectors.
struct TPageChoosers {
    TPageChoosers(const TDataBaseContext& context, IEventChoosers* given, QWidget* owner);
    ~TPageChoosers();
    IEventChoosers* Choosers = nullptr;
    std::unique_ptr<TEventChoosersQt> OwnChoosers;
};

// Rows whose label leaves too little room put their field below the label.
void WrapLongRows(QWidget& fields);
// Every row of the box named `box` (under `fields`) puts its field below its label, across the
// box: for long captions over text boxes.
void WrapAllRows(QWidget& fields, const char* box);
// A scroll area around a page's fields, for windows smaller than the page.
QScrollArea* ScrolledFields(QWidget* fields, QWidget* parent);
// The entry list with its label and the count button, in a column of `page`.
QVBoxLayout* EntryColumn(TFormDataBaseBase& page, TDataBaseEntryList* list, QPushButton* count);

template <class M>
class TFieldPage : public TFormDataBaseBase {
public:
    TFieldPage(std::unique_ptr<M> model, const TFieldForm& form, QWidget* parent = nullptr)
        : TFormDataBaseBase(std::move(model), parent), mModel(static_cast<M&>(PageModel())) {
        auto* top = new QHBoxLayout(this);
        if (mModel.List())
            top->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));
        mFields = new QWidget(this);
        mFields->setObjectName(QStringLiteral("Fields"));
        auto* layout = new QFormLayout(mFields);
        mBinding = std::make_unique<TFieldBinding>(form, mModel);
        mBinder = new TFieldBinder(*mBinding, *mFields, layout);
        WrapLongRows(*mFields);
        top->addWidget(ScrolledFields(mFields, this), 1);
    }
    ~TFieldPage() override {
        // The binder goes before the binding it shows.
        delete mBinder;
    }

    M& Model() { return mModel; }
    TFieldBinder& Binder() { return *mBinder; }
    QWidget* Fields() const { return mFields; }

    void LoadEntry() override { mBinder->Refresh(); }

private:
    M& mModel;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    QWidget* mFields = nullptr;
};

}  // namespace quillon
