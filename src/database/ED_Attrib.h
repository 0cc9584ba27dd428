// The attribute page ("Attributes"): name, classification and the rates of effect of the five
// ranks of the current attribute.
#pragma once

#include "data/LD_Attrib.h"
#include "data/LD_DataBase.h"
#include "database/EntryPage.h"

namespace quillon {

inline constexpr std::int32_t kAttribRateMin = 0;
inline constexpr std::int32_t kAttribRateMax = 1000;

class TAttribPageModel : public TEntryPageModel<TKelAttribItem> {
public:
    explicit TAttribPageModel(const TDataBaseContext& context);
};

// Widgets: EditName, RadioKind (buttons RadioKind0, RadioKind1), EditRateA .. EditRateE.
const TFieldForm& AttribPageForm();

}  // namespace quillon
