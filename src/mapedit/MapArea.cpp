#include "mapedit/MapArea.h"

#include "data/LD_Map.h"
#include "mapedit/MapProperties.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

bool IsEmptyArea(const TKelAreaRect& rect) { return rect.Right <= rect.Left || rect.Bottom <= rect.Top; }

std::string AreaRectText(const TKelAreaRect& rect) {
    if (IsEmptyArea(rect))
        return {};
    char text[96];
    std::snprintf(text, sizeof text, "(%.3d,%.3d) - (%.3d,%.3d)", static_cast<int>(rect.Left), static_cast<int>(rect.Top),
                  static_cast<int>(rect.Right - 1), static_cast<int>(rect.Bottom - 1));
    return text;
}

// --- the area dialog ---

void TAreaPropertiesModel::ReadFromItem(const TKelMapTreeItem& item) {
    AreaId = item.ID;
    Name = item.Name;
    Rect = item.AreaRect;
    Encounters.Assign(item.Encounters);
}

void TAreaPropertiesModel::WriteToItem(TKelMapTreeItem& item) const {
    item.Name = Name;
    item.AreaRect = Rect;
    item.Encounters.Assign(Encounters);
}

std::string TAreaPropertiesModel::Title() const {
    char id[32];
    std::snprintf(id, sizeof id, " - ID:%.4d", static_cast<int>(AreaId));
    return std::string(NewMode ? "The preparation of the area" : "The setup of the area") + id;
}

void TAreaPropertiesModel::SetName(const std::string& name) { Name = LimitCp932Bytes(name, kMapNameMaxBytes); }

// --- scroll positions ---

TMapTreeScrollGuard::TMapTreeScrollGuard(TKelMapTree& tree) : mTree(tree), mCurrent(tree.CurrentMapId) {
    for (int i = 0; i < tree.Count(); ++i) {
        const TKelMapTreeItem* item = tree.Items(i);
        mScroll[item->ID] = {item->ScrollX, item->ScrollY};
    }
}

void TMapTreeScrollGuard::Restore() {
    mTree.CurrentMapId = mCurrent;
    for (const auto& [id, scroll] : mScroll) {
        if (TKelMapTreeItem* item = mTree.FindByID(id)) {
            item->ScrollX = scroll.first;
            item->ScrollY = scroll.second;
        }
    }
}

// --- the area maker ---

void TAreaMakerModel::SetMapSize(std::int32_t width, std::int32_t height) {
    mWidth = std::max(width, 0);
    mHeight = std::max(height, 0);
}

void TAreaMakerModel::SetRect(const TKelAreaRect& rect) { Change(rect); }

void TAreaMakerModel::Change(const TKelAreaRect& rect) {
    if (rect == mRect)
        return;
    mRect = rect;
    OnChanged();
}

void TAreaMakerModel::Press(TButton button, std::int32_t gridX, std::int32_t gridY) {
    if (button == TButton::Middle)
        return;
    if (button != TButton::Left) {
        if (mDragging) {
            mDragging = false;
            Change({});
        }
        return;
    }
    mStartX = std::clamp(gridX, 0, mWidth);
    mStartY = std::clamp(gridY, 0, mHeight);
    mDragging = true;
    Change({});
}

void TAreaMakerModel::Move(std::int32_t gridX, std::int32_t gridY) {
    if (!mDragging)
        return;
    const std::int32_t x = std::clamp(gridX, 0, mWidth);
    const std::int32_t y = std::clamp(gridY, 0, mHeight);
    TKelAreaRect rect{std::min(mStartX, x), std::min(mStartY, y), std::max(mStartX, x), std::max(mStartY, y)};
    if (IsEmptyArea(rect))
        rect = {};
    Change(rect);
}

void TAreaMakerModel::Release() { mDragging = false; }

// --- "Set Area" ---

TMapSetAreaModel::TMapSetAreaModel(TKelMapTree& tree, const TKelMap& map, const TKelAreaRect& rect)
    : mScroll(tree), mMap(map) {
    mMaker.SetMapSize(map.Width(), map.Height());
    mMaker.SetRect(IsEmptyArea(rect) ? TKelAreaRect{} : rect);
}

bool TMapSetAreaModel::Ok(TKelAreaRect& rect) const {
    if (!OkEnabled())
        return false;
    rect = mMaker.Rect();
    return true;
}

void TMapSetAreaModel::SetZoom(int index) {
    if (index >= 0 && index < 3)
        mZoom = index;
}

}  // namespace quillon
