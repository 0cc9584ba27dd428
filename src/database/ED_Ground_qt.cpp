#include "database/ED_Ground_qt.h"

namespace quillon {

TFormEDGround::TFormEDGround(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFieldPage(std::make_unique<TGroundPageModel>(context, Choosers), GroundPageForm(), parent) {
    setObjectName("FormEDGround");
}

TFormDataBaseBase* CreateFormEDGround(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDGround(context, nullptr, parent);
}

}  // namespace quillon
