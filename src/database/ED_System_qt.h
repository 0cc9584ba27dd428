// The "System" page of the database editor: the system settings of the database in memory, edited in place.
#pragma once

#include "database/ED_System.h"
#include "database/FieldPage_qt.h"

namespace quillon {

class TFormEDSystem : private TPageChoosers, public TFieldPage<TSystemPageModel> {
public:
    // choosers: the selectors the page opens (none: the real ones, owned by the page).
    TFormEDSystem(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
};

// The page's factory for the frame's registry.
TFormDataBaseBase* CreateFormEDSystem(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
