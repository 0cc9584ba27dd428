// The "Attributes" page of the database editor: the attributes in the database in memory, edited in place.
#pragma once

#include "database/ED_Attrib.h"
#include "database/FieldPage_qt.h"

namespace quillon {

class TFormEDAttrib : private TPageChoosers, public TFieldPage<TAttribPageModel> {
public:
    // choosers: the selectors the page opens (none: the real ones, owned by the page).
    TFormEDAttrib(TKelDataBase& db, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDAttrib() override;
};

}  // namespace quillon
