// The "Conditions" page of the database editor: the conditions of the database in memory, edited in place.
#pragma once

#include "database/ED_Status.h"
#include "database/FieldPage_qt.h"

namespace quillon {

class TFormEDStatus : private TPageChoosers, public TFieldPage<TStatusPageModel> {
public:
    // choosers: the selectors the page opens (none: the real ones, owned by the page).
    TFormEDStatus(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
};

// The page's factory for the frame's registry.
TFormDataBaseBase* CreateFormEDStatus(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
