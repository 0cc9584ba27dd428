// The place picker's model ("Set Place"): a map tree in picker mode over a map of its own, a
// position view with three zooms, the label and the Ok rule; closing puts back the tree's
// current node and every stored scroll position.
#pragma once

#include "data/LD_Map.h"
#include "mapedit/MapTreeView.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace quillon {

class TMapSetPlaceModel {
public:
    static constexpr int kCellSizes[3] = {32, 16, 8};

    explicit TMapSetPlaceModel(TKelMapTree& mapTree);

    // Inputs (and, after Ok, the answer).
    std::int32_t MapId = 0;
    std::int32_t X = -1;  // -1: no position
    std::int32_t Y = -1;
    bool AllowAreas = false;
    bool RequirePosition = true;
    bool ReadOnly = false;  // the tree cannot be used
    const TKelMap* SharedMap = nullptr;  // the editor's open map, shown with its unsaved changes

    // Opening: remembers the tree's state, makes MapId current (an area's parent when MapId is 0),
    // scrolls to the position and fills the tree.
    void Show();
    // Closing (with or without Ok): the tree's current node and scroll positions as they were.
    void Hide();

    // The tree was clicked: the chosen map (an area's parent unless areas are allowed, 0 for the
    // root); the position is cleared.
    void SelectNode(std::int32_t id);
    // A click in the position view at a cell of the shown map; false outside it or with no map.
    bool ClickCell(std::int32_t column, std::int32_t row);
    // A double click: answers whether it pressed Ok (a position is set).
    bool DoubleClickCell(std::int32_t column, std::int32_t row);

    std::string Label() const;
    bool OkEnabled() const;
    // "&Ok": true when enabled; X and Y are the view's position then.
    bool Ok();

    int ZoomIndex() const { return mZoom; }
    int CellSize() const { return kCellSizes[mZoom]; }
    void SetZoom(int index);

    TMapTreeModel& Tree() { return mTree; }
    const TKelMap& ShownMap() const { return mMap; }
    std::int32_t PositionX() const { return mPosX; }
    std::int32_t PositionY() const { return mPosY; }
    bool HasPosition() const { return mPosX >= 0 && mPosY >= 0; }

private:
    TKelMapTree& mMapTree;
    TKelMap mMap;
    TMapTreeModel mTree;
    std::int32_t mOldCurrent = 0;
    std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>> mOldScroll;
    std::string mMapName;
    std::int32_t mPosX = -1;
    std::int32_t mPosY = -1;
    int mZoom = 1;
    bool mShown = false;
    bool mFilling = false;
    TConnection mTreeChanged;  // declared last: it leaves the tree before the tree goes
};

}  // namespace quillon
