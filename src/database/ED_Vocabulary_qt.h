// The "Vocabulary" page of the database editor: every term of the vocabulary record on tabs
// by subject, edited in place.
#pragma once

#include "database/ED_Vocabulary.h"
#include "database/FieldPage_qt.h"

#include <memory>
#include <vector>

class QTabWidget;

namespace quillon {

class TFormEDVocabulary : public TFormDataBaseBase {
    Q_OBJECT
public:
    explicit TFormEDVocabulary(const TDataBaseContext& context, QWidget* parent = nullptr);
    ~TFormEDVocabulary() override;

    TVocabularyPageModel& Model() { return mModel; }
    QTabWidget* Tabs() const { return mTabs; }
    // The edit box of a field number (nullptr for an unused one).
    QWidget* TermEdit(int fieldNumber) const;
    void LoadEntry() override;

private:
    TVocabularyPageModel& mModel;
    QTabWidget* mTabs = nullptr;
    std::vector<std::unique_ptr<TFieldBinding>> mBindings;
    std::vector<TFieldBinder*> mBinders;
};

TFormDataBaseBase* CreateFormEDVocabulary(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
