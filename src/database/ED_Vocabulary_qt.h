// The "Vocabulary" page of the database editor: every term of the vocabulary record on tabs
// by subject, edited in place.
#pragma once

#include "database/ED_Vocabulary.h"
#include "database/FieldPage_qt.h"

#include <memory>
#include <vector>

class QTabWidget;

namespace quillon {

class TFormEDVocabulary : public TDataBasePageView {
    Q_OBJECT
public:
    explicit TFormEDVocabulary(TKelDataBase& db, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDVocabulary() override;

    TVocabularyPageModel& Model() { return mModel; }
    QTabWidget* Tabs() const { return mTabs; }
    // The edit box of a field number (nullptr for an unused one).
    QWidget* TermEdit(int fieldNumber) const;
    void Load() override;

private:
    TVocabularyPageModel mModel;
    QTabWidget* mTabs = nullptr;
    std::vector<std::unique_ptr<TFieldBinding>> mBindings;
    std::vector<TFieldBinder*> mBinders;
    TConnection mModified;
};

}  // namespace quillon
