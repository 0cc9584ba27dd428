// The "Attributes" page of the database editor: the attributes of the database in memory, edited in place.
#pragma once

#include "database/ED_Attrib.h"
#include "database/FieldPage_qt.h"

namespace quillon {

class TFormEDAttrib : private TPageChoosers, public TFieldPage<TAttribPageModel> {
public:
    // choosers: the selectors the page opens (none: the real ones, owned by the page).
    TFormEDAttrib(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
};

// The page's factory for the frame's registry.
TFormDataBaseBase* CreateFormEDAttrib(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
