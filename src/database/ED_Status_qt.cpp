#include "database/ED_Status_qt.h"

#include "data/LD_DataBase.h"

namespace quillon {

TFormEDStatus::TFormEDStatus(TKelDataBase& db, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(db, choosers, parent),
      TFieldPage(std::make_unique<TStatusPageModel>(db.Status), StatusPageForm(), parent) {
    setObjectName("FormEDStatus");
}

TFormEDStatus::~TFormEDStatus() = default;

}  // namespace quillon
