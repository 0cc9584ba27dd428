// The page a tab shows until it has one of its own: the entry list with its count button and the
// entry's name (for the vocabulary and system tabs, which have no list, a note).
#pragma once

#include "database/DataBasePage_qt.h"

namespace quillon {

class TCp932Edit;

class TFormDataBaseNamePage : public TFormDataBaseBase {
    Q_OBJECT
public:
    TFormDataBaseNamePage(int tab, const TDataBaseContext& context, QWidget* parent = nullptr);
    TCp932Edit* NameEdit() const { return mName; }
    void LoadEntry() override;
    void UpdateView() override;

public slots:
    void EditNameChange();

private:
    TCp932Edit* mName = nullptr;
};

}  // namespace quillon
