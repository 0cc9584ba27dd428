#include "mapedit/MapSetPlace.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

TMapSetPlaceModel::TMapSetPlaceModel(TKelMapTree& mapTree) : mMapTree(mapTree), mTree(mapTree, mMap) {
    mTree.SetPickerMode(true);
    mTreeChanged = mTree.OnChanged.Connect([this] {
        if (const auto id = mTree.Selected())
            SelectNode(*id);
    });
}

void TMapSetPlaceModel::Show() {
    mOldCurrent = mMapTree.CurrentMapId;
    mOldScroll.clear();
    for (int i = 0; i < mMapTree.Count(); ++i) {
        const TKelMapTreeItem* item = mMapTree.Items(i);
        mOldScroll[item->ID] = {item->ScrollX, item->ScrollY};
    }
    mShown = true;

    if (MapId > 0 && mMapTree.FindByID(MapId) != nullptr) {
        mMapTree.CurrentMapId = MapId;
    } else if (MapId == 0) {
        const TKelMapTreeItem* current = mMapTree.FindByID(mMapTree.CurrentMapId);
        if (current != nullptr && current->IsArea())
            mMapTree.CurrentMapId = current->ParentId;
    }
    const std::int32_t wantedMap = MapId, wantedX = X, wantedY = Y;
    if (mMapTree.CurrentMapId == MapId && X >= 0)
        if (TKelMapTreeItem* item = mMapTree.FindByID(MapId)) {
            item->ScrollX = X * 32 - 160;
            item->ScrollY = Y * 32 - 120;
        }
    mTree.SharedMap = SharedMap;
    mTree.IncludeAreas = AllowAreas;
    mFilling = true;
    try {
        mTree.FillView();  // selects the current node, which chooses its map
    } catch (...) {
        mFilling = false;
        throw;
    }
    mFilling = false;
    if (MapId == wantedMap && wantedX >= 0 && wantedY >= 0) {
        mPosX = wantedX;
        mPosY = wantedY;
    }
}

void TMapSetPlaceModel::Hide() {
    if (!mShown)
        return;
    mShown = false;
    mMapTree.CurrentMapId = mOldCurrent;
    for (const auto& [id, scroll] : mOldScroll)
        if (TKelMapTreeItem* item = mMapTree.FindByID(id)) {
            item->ScrollX = scroll.first;
            item->ScrollY = scroll.second;
        }
}

void TMapSetPlaceModel::SelectNode(std::int32_t id) {
    if ((ReadOnly && !mFilling) || mTree.NodeIndex(id) < 0)
        return;
    if (mTree.Selected() != id)
        mTree.SelectNode(id);  // comes back here through the tree's notification
    const TKelMapTreeItem* item = mMapTree.FindByID(id);
    MapId = 0;
    mMapName.clear();
    if (item != nullptr && item->IsMap()) {
        MapId = item->ID;
        mMapName = item->Name;
    } else if (item != nullptr && item->IsArea()) {
        const TKelMapTreeItem* parent = mMapTree.FindByID(item->ParentId);
        const TKelMapTreeItem* chosen = AllowAreas ? item : parent;
        if (chosen != nullptr) {
            MapId = chosen->ID;
            mMapName = chosen->Name;
        }
    }
    mPosX = mPosY = -1;
}

bool TMapSetPlaceModel::ClickCell(std::int32_t column, std::int32_t row) {
    if (MapId <= 0 || column < 0 || row < 0 || column >= mMap.Width() || row >= mMap.Height())
        return false;
    mPosX = column;
    mPosY = row;
    return true;
}

bool TMapSetPlaceModel::DoubleClickCell(std::int32_t column, std::int32_t row) {
    ClickCell(column, row);
    return HasPosition() && Ok();
}

std::string TMapSetPlaceModel::Label() const {
    if (MapId <= 0)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%.4d:", static_cast<int>(MapId));
    std::string label = text + mMapName;
    if (HasPosition()) {
        std::snprintf(text, sizeof text, " (%.3d,%.3d)", static_cast<int>(mPosX), static_cast<int>(mPosY));
        label += text;
    }
    return label;
}

bool TMapSetPlaceModel::OkEnabled() const {
    return HasPosition() || (!RequirePosition && MapId > 0);
}

bool TMapSetPlaceModel::Ok() {
    if (!OkEnabled())
        return false;
    X = mPosX;
    Y = mPosY;
    return true;
}

void TMapSetPlaceModel::SetZoom(int index) {
    mZoom = std::clamp(index, 0, 2);
}

}  // namespace quillon
