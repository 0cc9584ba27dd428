#include "database/ED_Ground_qt.h"

#include "data/LD_DataBase.h"

namespace quillon {

TFormEDGround::TFormEDGround(TKelDataBase& db, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(db, choosers, parent),
      TFieldPage(std::make_unique<TGroundPageModel>(db.Ground, Choosers), GroundPageForm(), parent) {
    setObjectName("FormEDGround");
}

TFormEDGround::~TFormEDGround() = default;

}  // namespace quillon
