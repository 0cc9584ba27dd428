#include "mapedit/MapDialogs_qt.h"

#include "data/LD_ChipSet.h"
#include "data/LD_Map.h"
#include "mapedit/ED_Area_qt.h"
#include "mapedit/ED_Map_qt.h"
#include "mapedit/MapShift_qt.h"

namespace quillon {

bool TMapTreeDialogs::EditMap(bool newMode, bool parentIsRoot, TKelMapTreeItem& item, TKelMap& settings) {
    TMapPropertiesModel model;
    model.Selectors = Selectors;
    model.Open(newMode, parentIsRoot, item, settings, ChipSets);
    if (!RunMapProperties(model, Troops, mParent))
        return false;
    model.Apply(item, settings);
    return true;
}

bool TMapTreeDialogs::EditArea(bool newMode, const TKelMapTree& tree, const TKelMap& map, TKelMapTreeItem& item) {
    TAreaPropertiesModel model;
    model.NewMode = newMode;
    model.ReadFromItem(item);
    // "Set Area" only reads the tree and puts every stored scroll position back.
    TFormEDArea dialog(model, const_cast<TKelMapTree&>(tree), map, ChipSets, Troops, mParent);
    if (!dialog.Run())
        return false;
    model.WriteToItem(item);
    return true;
}

bool TMapTreeDialogs::ShiftMap(std::int32_t width, std::int32_t height, std::int32_t& dx, std::int32_t& dy) {
    TMapShiftModel model(width, height);
    TFormMapShift dialog(model, mParent);
    if (!dialog.Run())
        return false;
    model.Offset(dx, dy);
    return true;
}

}  // namespace quillon
