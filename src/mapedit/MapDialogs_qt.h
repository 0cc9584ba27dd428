// The map tree window's dialogs: map properties, area properties and map shift, as
// IMapTreeDialogs for TMapTreeModel::Dialogs.
#pragma once

#include "mapedit/MapProperties.h"
#include "mapedit/MapTreeView.h"

class QWidget;

namespace quillon {

class TKelChipSet;

class TMapTreeDialogs final : public IMapTreeDialogs {
public:
    // `parent`: the dialogs' owner window. The lists may be null.
    explicit TMapTreeDialogs(QWidget* parent) : mParent(parent) {}

    const TKelChipSet* ChipSets = nullptr;  // the database's chipsets
    const TCatalog* Troops = nullptr;       // the database's troops
    // The panorama, music and battle background selectors; the owner fills them.
    TMapPropertiesSelectors Selectors;

    bool Available() const override { return true; }
    bool EditMap(bool newMode, bool parentIsRoot, TKelMapTreeItem& item, TKelMap& settings) override;
    bool EditArea(bool newMode, const TKelMapTree& tree, const TKelMap& map, TKelMapTreeItem& item) override;
    bool ShiftMap(std::int32_t width, std::int32_t height, std::int32_t& dx, std::int32_t& dy) override;

private:
    QWidget* mParent;
};

}  // namespace quillon
