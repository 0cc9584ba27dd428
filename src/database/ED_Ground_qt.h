// The "Terrain" page of the database editor: the terrains in the database in memory, edited in place.
#pragma once

#include "database/ED_Ground.h"
#include "database/FieldPage_qt.h"

namespace quillon {

class TFormEDGround : private TPageChoosers, public TFieldPage<TGroundPageModel> {
public:
    // choosers: the selectors the page opens (none: the real ones, owned by the page).
    TFormEDGround(TKelDataBase& db, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDGround() override;
};

}  // namespace quillon
