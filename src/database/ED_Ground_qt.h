// The "Terrain" page of the database editor: the terrains of the database in memory, edited in place.
#pragma once

#include "database/ED_Ground.h"
#include "database/FieldPage_qt.h"

namespace quillon {

class TFormEDGround : private TPageChoosers, public TFieldPage<TGroundPageModel> {
public:
    // choosers: the selectors the page opens (none: the real ones, owned by the page).
    TFormEDGround(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
};

// The page's factory for the frame's registry.
TFormDataBaseBase* CreateFormEDGround(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
