#include "database/ED_Vocabulary_qt.h"

#include <QTabWidget>

namespace quillon {

TFormEDVocabulary::TFormEDVocabulary(const TDataBaseContext& context, QWidget* parent)
    : TFormDataBaseBase(std::make_unique<TVocabularyPageModel>(context), parent),
      mModel(static_cast<TVocabularyPageModel&>(PageModel())) {
    setObjectName("FormEDVocabulary");
    auto* top = new QVBoxLayout(this);
    mTabs = new QTabWidget(this);
    mTabs->setObjectName("TabTerms");
    top->addWidget(mTabs);
    for (const TVocabularyTab& tab : VocabularyTabs()) {
        auto* fields = new QWidget(mTabs);
        fields->setObjectName(QString::fromStdString("Tab" + tab.Caption));
        auto* layout = new QFormLayout(fields);
        mBindings.push_back(std::make_unique<TFieldBinding>(tab.Form, mModel));
        mBinders.push_back(new TFieldBinder(*mBindings.back(), *fields, layout));
        WrapLongRows(*fields);
        for (const char* box : {"GroupShopA", "GroupShopB", "GroupShopC", "GroupInnA", "GroupInnB"})
            WrapAllRows(*fields, box);
        mTabs->addTab(ScrolledFields(fields, mTabs), tr(tab.Caption.c_str()));
        // What the game puts around a term, as the box's hint.
        for (const TFieldSpec& field : tab.Form.Fields)
            if (field.Kind == TFieldKind::Text)
                if (QWidget* edit = mBinders.back()->Widget(field.Widget)) {
                    const int number = std::stoi(field.Widget.substr(std::string("EditVocab").size()));
                    if (const std::string hint = VocabularyPlaceholder(number); !hint.empty())
                        edit->setToolTip(tr("Shown with: %1").arg(QString::fromStdString(hint)));
                }
    }
}

TFormEDVocabulary::~TFormEDVocabulary() {
    for (TFieldBinder* binder : mBinders)
        delete binder;
}

QWidget* TFormEDVocabulary::TermEdit(int fieldNumber) const {
    for (TFieldBinder* binder : mBinders)
        if (QWidget* widget = binder->Widget(VocabularyWidget(fieldNumber)))
            return widget;
    return nullptr;
}

void TFormEDVocabulary::LoadEntry() {
    for (TFieldBinder* binder : mBinders)
        binder->Refresh();
}

TFormDataBaseBase* CreateFormEDVocabulary(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDVocabulary(context, parent);
}

}  // namespace quillon
