#include "database/ED_System_qt.h"

namespace quillon {

TFormEDSystem::TFormEDSystem(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFieldPage(std::make_unique<TSystemPageModel>(context, Choosers), SystemPageForm(), parent) {
    setObjectName("FormEDSystem");
}

TFormDataBaseBase* CreateFormEDSystem(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDSystem(context, nullptr, parent);
}

}  // namespace quillon
