// Battle animations: frames of sprite cells drawn from one animation graphic, and cues that play
// a sound and flash the target or the screen at given frames.
//
// An animation keeps the bytes it was last loaded from or saved to. As long as it is not marked
// dirty, saving writes those bytes again without looking at its fields, and loading the same
// bytes again skips them instead of parsing; a database reload of an unchanged file therefore
// costs next to nothing for the animations.
#pragma once

#include "data/Catalog.h"
#include "data/LD_System.h"

#include <cstdint>
#include <string>

namespace quillon {

// One sound and flash cue of an animation.
class TKelAnimationTimingItem : public TCatalogItem {
public:
    static constexpr int kClipboardFormat = 570;

    // Flash range.
    enum : std::uint8_t { frNone = 0, frTarget = 1, frScreen = 2 };

    std::int32_t Frame = 0;          // frame at which the cue fires (the editor offers 1..frame count)
    TKelSound Sound;                 // sound effect
    std::uint8_t FlashRange = frNone;
    std::int32_t FlashRed = 31;      // 0..31
    std::int32_t FlashGreen = 31;    // 0..31
    std::int32_t FlashBlue = 31;     // 0..31
    std::int32_t FlashPower = 31;    // 0..31
    std::int32_t SortKey = 0;        // not edited; last key of the cue order

    TKelAnimationTimingItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 8; }
    void Reset() override;
};

// The order the animation editor keeps the cues in: frame ascending, then sound name by plain byte
// comparison with the silent sound "(OFF)" after every name, then the sort key ascending.
bool TimingOrderLess(const TKelAnimationTimingItem& a, const TKelAnimationTimingItem& b);

class TKelAnimationTiming : public TCatalogOf<TKelAnimationTimingItem> {
public:
    // Sorts the cues into TimingOrderLess order (stable) and numbers them 1..Count.
    void SortByTiming();
};

// One sprite of a frame. Its ID is its drawing priority within the frame.
class TKelAnimationCellItem : public TCatalogItem {
public:
    static constexpr int kClipboardFormat = 573;

    std::uint8_t Visible = 1;
    std::int32_t Pattern = 0;          // 0-based pattern index in the animation graphic
    std::int32_t X = 0;                // offset in pixels
    std::int32_t Y = 0;
    std::int32_t Magnification = 100;  // percent
    std::int32_t Red = 100;            // percent, 0..200
    std::int32_t Green = 100;
    std::int32_t Blue = 100;
    std::int32_t Chroma = 100;         // saturation, percent, 0..200
    std::int32_t Transparency = 0;     // percent, 0..100

    TKelAnimationCellItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 10; }
    void Reset() override;
};

class TKelAnimationCell : public TCatalogOf<TKelAnimationCellItem> {};

// One frame: its cells.
class TKelAnimationPatternItem : public TCatalogItem {
public:
    static constexpr int kClipboardFormat = 572;

    TKelAnimationCell Cells;

    TKelAnimationPatternItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 1; }
    void Reset() override;
};

class TKelAnimationPattern : public TCatalogOf<TKelAnimationPatternItem> {};

// One battle animation.
class TKelAnimationItem : public TCatalogItem {
public:
    static constexpr int kClipboardFormat = 582;
    static constexpr int kInitialFrames = 20;
    static constexpr int kMaxNameBytes = 20;  // what the editor accepts; the record stores any length

    // Apply scope.
    enum : std::uint8_t { asSingle = 0, asAll = 1 };
    // Y coordinate line.
    enum : std::uint8_t { ylHead = 0, ylCenter = 1, ylFeet = 2 };

    std::string FileName;  // animation graphic (folder "Battle")
    TKelAnimationTiming Timing;
    std::uint8_t Scope = asSingle;
    std::uint8_t YLine = ylFeet;
    TKelAnimationPattern Frames;
    // Set by Reset and by every change the editor makes; while it is clear the record's fields
    // are taken to be what Image holds.
    bool Dirty = true;

    TKelAnimationItem() { Reset(); }
    // An element a list load is about to fill: made without the initial frames, which its load
    // adds when the bytes name none.
    struct TLoadTarget {};
    explicit TKelAnimationItem(TLoadTarget) : mLoading(true) {
        Reset();
        mLoading = false;
    }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 12; }
    void Reset() override;
    // Parses only when dirty or when the input differs from Image; afterwards Image holds the
    // bytes read and the record is clean.
    void LoadFromStream(TStream& stream) override;
    // Serializes only when dirty; otherwise writes Image unchanged.
    void SaveToStream(TStream& stream) override;

    int FrameCount() const { return Frames.Count(); }
    // Makes the frames exactly IDs 1..count: missing ones are added empty, those above are
    // deleted. Marks the animation dirty.
    void SetFrameCount(int count);

    // The record's encoding as last loaded or saved.
    const TMemoryStream& Image() const { return mImage; }

private:
    TMemoryStream mImage;
    // While a load runs, its reset leaves the initial frames out and they are added afterwards
    // only if the record named no frames: a loaded record almost always does.
    bool mLoading = false;
    bool mFramesLoaded = false;
};

// The database list of battle animations. Its load keeps the elements it already holds, so that
// those whose bytes are unchanged are not parsed again.
class TKelAnimation : public TKelList<TKelAnimationItem> {
public:
    TKelAnimation() : TKelList("An invalid battle animate cartoon was specified") {}

    // Copies and pastes always parse and serialize the element afresh.
    void LoadItem(int index, TStream& stream) override;
    void SaveItem(int index, TStream& stream) override;
    void LoadFromStream(TStream& stream) override;
};

}  // namespace quillon
