#include "database/ED_Attrib_qt.h"

#include "data/LD_DataBase.h"

namespace quillon {

TFormEDAttrib::TFormEDAttrib(TKelDataBase& db, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(db, choosers, parent),
      TFieldPage(std::make_unique<TAttribPageModel>(db.Attrib), AttribPageForm(), parent) {
    setObjectName("FormEDAttrib");
}

TFormEDAttrib::~TFormEDAttrib() = default;

}  // namespace quillon
