#include "database/ED_System_qt.h"

#include "data/LD_DataBase.h"

namespace quillon {

TFormEDSystem::TFormEDSystem(TKelDataBase& db, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(db, choosers, parent),
      TFieldPage(std::make_unique<TSystemPageModel>(db.System, &db.Player, Choosers), SystemPageForm(), parent) {
    setObjectName("FormEDSystem");
}

TFormEDSystem::~TFormEDSystem() = default;

}  // namespace quillon
