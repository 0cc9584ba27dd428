// The area dialog's model ("The preparation of the area" / "The setup of the area"), the area
// maker (a rectangle dragged on grid points) and the "Set Area" dialog's model.
#pragma once

#include "platform/Signal.h"

#include "data/LD_MapTree.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace quillon {

class TKelMap;

inline constexpr int kAreaPropertiesHelpContext = 190;

// "(%.3d,%.3d) - (%.3d,%.3d)" with left, top, right - 1, bottom - 1; "" for an empty rectangle.
std::string AreaRectText(const TKelAreaRect& rect);
bool IsEmptyArea(const TKelAreaRect& rect);

class TAreaPropertiesModel {
public:
    std::int32_t AreaId = 0;
    bool NewMode = true;
    std::string Name;  // CP932 bytes, at most 24
    TKelAreaRect Rect;
    TKelEncount Encounters;

    void ReadFromItem(const TKelMapTreeItem& item);
    void WriteToItem(TKelMapTreeItem& item) const;
    std::string Title() const;
    // What the area box shows.
    std::string AreaText() const { return AreaRectText(Rect); }
    void SetName(const std::string& name);
};

// Every item's stored scroll position, put back when the guard ends: the dialogs that show a
// map of the tree in a view of their own leave the tree's positions as they were.
class TMapTreeScrollGuard {
public:
    explicit TMapTreeScrollGuard(TKelMapTree& tree);
    ~TMapTreeScrollGuard() { Restore(); }
    TMapTreeScrollGuard(const TMapTreeScrollGuard&) = delete;
    TMapTreeScrollGuard& operator=(const TMapTreeScrollGuard&) = delete;
    void Restore();

private:
    TKelMapTree& mTree;
    std::int32_t mCurrent;
    std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>> mScroll;
};

// Drawing an area with the mouse, in grid points (cell corners).
class TAreaMakerModel {
public:
    enum class TButton { Left, Middle, Right };

    // The map's size in cells; grid points are clamped to 0..size.
    void SetMapSize(std::int32_t width, std::int32_t height);
    const TKelAreaRect& Rect() const { return mRect; }
    void SetRect(const TKelAreaRect& rect);
    bool Dragging() const { return mDragging; }

    // A press at a grid point: the left button clears the rectangle and starts a drag; another
    // button (not the middle one) cancels a drag, leaving the rectangle empty.
    void Press(TButton button, std::int32_t gridX, std::int32_t gridY);
    // The rectangle from the start to the current grid point, normalised.
    void Move(std::int32_t gridX, std::int32_t gridY);
    void Release();

    // Every change of the rectangle.
    TSignal<> OnChanged;

private:
    void Change(const TKelAreaRect& rect);
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    TKelAreaRect mRect;
    bool mDragging = false;
    std::int32_t mStartX = 0;
    std::int32_t mStartY = 0;
};

// "Set Area": the open map in an area maker with three zooms, the label and "&Ok".
class TMapSetAreaModel {
public:
    static constexpr int kCellSizes[3] = {32, 16, 8};

    TMapSetAreaModel(TKelMapTree& tree, const TKelMap& map, const TKelAreaRect& rect);

    TAreaMakerModel& Maker() { return mMaker; }
    const TKelMap& Map() const { return mMap; }
    std::string Label() const { return AreaRectText(mMaker.Rect()); }
    bool OkEnabled() const { return !IsEmptyArea(mMaker.Rect()); }
    // "&Ok": the rectangle when it is not empty.
    bool Ok(TKelAreaRect& rect) const;

    int ZoomIndex() const { return mZoom; }
    int CellSize() const { return kCellSizes[mZoom]; }
    void SetZoom(int index);

    // The view showing the map may move the tree's stored scroll positions; they are put back
    // when the dialog closes.
    void Hide() { mScroll.Restore(); }

private:
    TMapTreeScrollGuard mScroll;
    const TKelMap& mMap;
    TAreaMakerModel mMaker;
    int mZoom = 1;
};

}  // namespace quillon
