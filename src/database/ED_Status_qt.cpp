#include "database/ED_Status_qt.h"

namespace quillon {

TFormEDStatus::TFormEDStatus(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFieldPage(std::make_unique<TStatusPageModel>(context), StatusPageForm(), parent) {
    setObjectName("FormEDStatus");
    WrapAllRows(*Fields(), "GroupMessages");
}

TFormDataBaseBase* CreateFormEDStatus(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDStatus(context, nullptr, parent);
}

}  // namespace quillon
