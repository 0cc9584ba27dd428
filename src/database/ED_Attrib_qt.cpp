#include "database/ED_Attrib_qt.h"

namespace quillon {

TFormEDAttrib::TFormEDAttrib(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFieldPage(std::make_unique<TAttribPageModel>(context), AttribPageForm(), parent) {
    setObjectName("FormEDAttrib");
}

TFormDataBaseBase* CreateFormEDAttrib(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDAttrib(context, nullptr, parent);
}

}  // namespace quillon
