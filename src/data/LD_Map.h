// Map units: one file per map ("Map0001.kmu" ...) holding the map's size, chipset, scrolling
// and panorama settings, its two tile layers and its events.
#pragma once

#include "data/Catalog.h"
#include "data/LD_Event.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// --- tile IDs ---
//
// A cell of a layer holds a 16-bit tile ID:
//   0 .. 2999       water autotile: kind = ID div 1000, corner mask = (ID mod 1000) div 50,
//                   shape = ID mod 50
//   3000 .. 3999    animated tile, block = (ID - 3000) div 50
//   4000 .. 4999    ground autotile, block = (ID - 4000) div 50, shape = ID mod 50
//   5000 .. 5143    plain lower tile, index = ID - 5000
//   10000 ..        upper tile, index = ID - 10000 (drawn clamped to 143)
//   20000 and above nothing

inline constexpr std::int32_t kTileWaterFirst = 0;
inline constexpr std::int32_t kTileAnimatedFirst = 3000;
inline constexpr std::int32_t kTileGroundFirst = 4000;
inline constexpr std::int32_t kTileLowerFirst = 5000;
inline constexpr std::int32_t kTileUpperFirst = 10000;
inline constexpr std::int32_t kTileNothingFirst = 20000;

inline constexpr int kWaterKindCount = 3;      // water blocks of a chipset
inline constexpr int kAnimatedBlockCount = 3;  // animated blocks
inline constexpr int kGroundBlockCount = 12;   // ground autotile blocks
inline constexpr int kAutoTileShapeCount = 50;
inline constexpr int kPlainTileCount = 144;    // plain lower tiles, and upper tiles
// The chipset's table of lower tiles: the 18 blocks, then the 144 plain tiles.
inline constexpr int kLowerBlockCount = kWaterKindCount + kAnimatedBlockCount + kGroundBlockCount;
inline constexpr int kLowerTableSize = kLowerBlockCount + kPlainTileCount;
inline constexpr int kUpperTableSize = kPlainTileCount;

// What new or cleared cells of each layer receive.
inline constexpr std::uint16_t kLowerFillValue = 0;
inline constexpr std::uint16_t kUpperFillValue = 10000;

enum class TTileKind {
    Water,     // 0 .. 2999
    Animated,  // 3000 .. 3999
    Ground,    // 4000 .. 4999
    Lower,     // 5000 .. 5143
    Upper,     // 10000 .. 19999
    Nothing,   // 20000 and above
    Unknown,   // negative, 5144 .. 9999
};

TTileKind TileKind(std::int32_t id);

constexpr std::int32_t WaterKind(std::int32_t id) { return id / 1000; }
constexpr std::int32_t WaterCornerMask(std::int32_t id) { return (id % 1000) / 50; }
constexpr std::int32_t AutoTileShape(std::int32_t id) { return id % 50; }
constexpr std::int32_t AnimatedBlock(std::int32_t id) { return (id - kTileAnimatedFirst) / 50; }
constexpr std::int32_t GroundBlock(std::int32_t id) { return (id - kTileGroundFirst) / 50; }
constexpr std::int32_t LowerTileIndex(std::int32_t id) { return id - kTileLowerFirst; }
// The upper tile drawn for an ID; values beyond the table draw its last tile.
constexpr std::int32_t UpperTileIndex(std::int32_t id) {
    return id - kTileUpperFirst < kPlainTileCount ? id - kTileUpperFirst : kPlainTileCount - 1;
}
// Entry of the chipset's lower tile table (0 .. 161) that shows a lower-layer ID, or -1.
std::int32_t LowerTableIndex(std::int32_t id);

// The chipset entry (index into the chipset graphic's tile table) that shows a lower-layer tile
// ID: 0..2 the water kinds, 3..5 the animated tiles, 6..17 the autotiles, 18 + n plain tile n;
// -1 for a negative ID.
constexpr std::int32_t TileToChip(std::int32_t tile) {
    if (tile < 0)
        return -1;
    if (tile < 3000)
        return tile / 1000;
    if (tile < 4000)
        return (tile - 3000) / 50 + 3;
    if (tile < 5000)
        return (tile - 4000) / 50 + 6;
    return tile - 4982;
}

// The base tile ID of a chipset entry (shape 0, no water corners).
constexpr std::int32_t ChipToTile(std::int32_t chip) {
    if (chip < 3)
        return chip * 1000;
    if (chip < 6)
        return chip * 50 + 2850;
    if (chip > 17)
        return chip + 4982;
    return chip * 50 + 3700;
}

constexpr std::int32_t MakeWaterTile(int kind, int cornerMask, int shape) {
    return kind * 1000 + cornerMask * 50 + shape;
}
constexpr std::int32_t MakeAnimatedTile(int block) { return kTileAnimatedFirst + block * 50; }
constexpr std::int32_t MakeGroundTile(int block, int shape) { return kTileGroundFirst + block * 50 + shape; }
constexpr std::int32_t MakeLowerTile(int index) { return kTileLowerFirst + index; }
constexpr std::int32_t MakeUpperTile(int index) { return kTileUpperFirst + index; }

// --- layers ---

// One tile layer: Width x Height tile IDs, row by row.
class TKelMapLayer {
public:
    static constexpr std::int32_t kDefaultWidth = 20;
    static constexpr std::int32_t kDefaultHeight = 15;

    bool LoopHorizontal = false;  // reads outside the columns wrap around
    bool LoopVertical = false;    // reads outside the rows wrap around
    std::uint16_t FillValue;      // what new or cleared cells receive

    explicit TKelMapLayer(std::uint16_t fillValue);

    std::int32_t Width() const { return mWidth; }
    std::int32_t Height() const { return mHeight; }

    // 20 x 15, every cell FillValue.
    void Reset();
    // The tile ID at a cell; outside the layer a looping axis wraps the coordinate back in,
    // else the answer is -1.
    std::int32_t Cell(std::int32_t column, std::int32_t row) const;
    // Ignored outside the layer (no wrapping on write).
    void SetCell(std::int32_t column, std::int32_t row, std::uint16_t id);
    // Keeps the overlapping top-left part at the same coordinates; new cells get FillValue.
    // A negative size counts as 0.
    void Resize(std::int32_t width, std::int32_t height);
    void SetWidth(std::int32_t width) { Resize(width, mHeight); }
    void SetHeight(std::int32_t height) { Resize(mWidth, height); }
    // Copies size, cells, loop flags and fill value.
    void Assign(const TKelMapLayer& source);

    // The cells, index = column + row x Width.
    const std::vector<std::uint16_t>& Cells() const { return mCells; }
    std::uint16_t* CellData() { return mCells.data(); }
    std::int64_t ByteSize() const { return static_cast<std::int64_t>(mCells.size()) * 2; }

private:
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    std::vector<std::uint16_t> mCells;
};

// --- map unit files ---

// "Map0001.kmu" for map 1.
std::string MapFileName(std::int32_t id);
// The working folder of maps being edited: the user's private working folder under the
// temporary folder ("GMK_TEMP-<uid>/", see PrivateWorkFolder), made and checked on every call;
// raises EFileError when it is not safe to use.
std::string MapWorkFolder();
// Creates the working folder when it does not exist; raises EFileError when it cannot.
void CreateMapWorkFolder();

// The events of a map. A load that breaks off keeps the events read whole before the break.
class TKelMapEvents : public TKelEvent {
public:
    void LoadFromStream(TStream& stream) override;
    // Of the last load: how many events were read whole, and whether the list broke off.
    int LoadedCount() const { return mLoaded; }
    bool CutShort() const { return mCutShort; }

private:
    int mLoaded = 0;
    bool mCutShort = false;
};

// What the last load of a map found damaged, and so what it kept.
struct TMapLoadReport {
    bool Damaged = false;         // something could not be read
    bool Unreadable = false;      // nothing could: no file content, or not a map unit
    bool ImpossibleSize = false;  // a size the file cannot hold (the layers were not read)
    std::int32_t StatedWidth = 0;
    std::int32_t StatedHeight = 0;
    bool LowerLayerRead = false;  // its chunk held exactly Width x Height cells
    bool UpperLayerRead = false;
    bool EventsStarted = false;   // the events chunk was reached
    bool EventsRead = false;      // ... and read whole
    int EventsKept = 0;           // events read whole
};

// A message with %1, %2 ... placeholders and what goes in them: the window shows its own
// translation of Format, quillon-cli the text as it is.
struct TFilledText {
    std::string Format;
    std::vector<std::string> Args;
    std::string Text() const;
};

// "Map0003.kmu is damaged: its events after the 12th could not be read" and the like: which file
// was damaged and what of it was kept. Meaningful when the report says Damaged.
TFilledText DescribeMapDamage(const std::string& fileName, const TMapLoadReport& report);
// 1st, 2nd, 3rd, 4th ... 11th, 12th, 13th ... 21st.
std::string Ordinal(int number);
// "a", "a and b", "a, b and c".
std::string JoinWithAnd(const std::vector<std::string>& parts);

// A map: its settings, two layers and its events. Its ID is the map ID.
class TKelMap : public TCatalogItem {
public:
    static constexpr const char* kSignature = "KelMapUnit";

    enum : std::uint8_t { stNone = 0, stVerticalLoop = 1, stHorizontalLoop = 2, stBothLoop = 3 };

    std::int32_t ChipSetId = 1;
    std::uint8_t ScrollType = stNone;
    std::uint8_t PanoramaEnabled = 0;
    std::string PanoramaName;
    std::uint8_t PanoramaHorizontalPan = 0;
    std::uint8_t PanoramaVerticalPan = 0;
    std::uint8_t PanoramaHorizontalAuto = 0;
    std::int32_t PanoramaHorizontalSpeed = 0;  // -8..8
    std::uint8_t PanoramaVerticalAuto = 0;
    std::int32_t PanoramaVerticalSpeed = 0;    // -8..8
    TKelMapLayer LowerLayer{kLowerFillValue};
    TKelMapLayer UpperLayer{kUpperFillValue};
    TKelMapEvents Events;
    std::int32_t SaveCount = 0;  // times the unit was saved to a file

    bool Modified = false;  // edited since the last load or save; not stored

    TKelMap() { Reset(); }

    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;
    // Reads the record; the layers end up sized Width x Height whatever the chunks said, and
    // follow the scroll type. A size that is negative, or whose layer would need more bytes than
    // the stream holds, raises EReadError before anything is allocated for it. After any error
    // the map keeps what was read, with the size its layers had.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    std::int32_t Width() const { return mWidth; }
    std::int32_t Height() const { return mHeight; }
    // Resize both layers and store the new size (negative counts as 0).
    void SetWidth(std::int32_t width);
    void SetHeight(std::int32_t height);
    // Stores the scroll type and sets both layers' loop flags from it.
    void SetScrollType(std::uint8_t scrollType);
    // ID 0, 0 x 0, no events, chipset 0: what is shown while the project itself is selected.
    void MakeEmpty();
    // Moves every tile by (dx, dy) with wrap-around, and every event with its tiles.
    void Shift(std::int32_t dx, std::int32_t dy);

    // The chipset list that chipset IDs are checked against; without one, only IDs below 1
    // count as absent.
    void SetChipSetList(const TCatalog* chipSets) { mChipSets = chipSets; }
    // An absent chipset ID (0 included) becomes 1.
    void ValidateChipSetId();
    // Validates the chipset ID and reloads what is drawn with it.
    virtual void ReloadChipSetGraphic();

    // Whole files. Load resets the map first; once the editor runs, a missing file leaves the
    // map reset and any error leaves it as far as it was read (LoadReport tells what that was).
    // Save counts the save, writes the file safely and clears Modified.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path);
    // The bytes SaveToFile writes, counting the save (SaveCount goes up; a caller whose write
    // then fails puts it back).
    std::string FileImage();
    // What the last load (of a file or a stream) could not read; a missing file is no damage.
    const TMapLoadReport& LoadReport() const { return mReport; }

    // The map's file in a project folder (ending in '/') and in the working folder; each sets
    // the map's ID to `id`. Saving creates the working folder when it is missing; deleting a
    // file that does not exist is no error.
    void LoadFromProject(const std::string& projectPath, std::int32_t id);
    void SaveToProject(const std::string& projectPath, std::int32_t id);
    void DeleteFromProject(const std::string& projectPath, std::int32_t id);
    void LoadFromWork(std::int32_t id);
    void SaveToWork(std::int32_t id);
    void DeleteFromWork(std::int32_t id);

protected:
    // After a file load: what is drawn with the map is loaded here (nothing at this level).
    virtual void LoadGraphics() {}
    // A file cut short in its events keeps the events before the cut.
    void ChunkCutShort(int fieldNumber, TStream& stream) override;

private:
    void ApplyScrollType();
    // Whether width x height cells fit in the bytes the current load may use.
    bool SizeFits(std::int32_t width, std::int32_t height) const;
    // Raises EReadError unless they do (the report notes the size).
    void CheckLoadSize(std::int32_t width, std::int32_t height);
    // Sizes both layers to Width x Height.
    void FitLayers();
    // The layer chunk read last goes into its layer when it holds exactly its cells.
    void TakeLayerChunk();

    std::int32_t mWidth = TKelMapLayer::kDefaultWidth;
    std::int32_t mHeight = TKelMapLayer::kDefaultHeight;
    std::int64_t mLoadLimit = -1;  // bytes the current load may use; -1 outside a load
    const TCatalog* mChipSets = nullptr;
    TMapLoadReport mReport;
    TDynamicBuffer mLayerChunk;  // the bytes of the layer chunk being read
    int mLayerField = 0;         // 71 or 72 while mLayerChunk waits for its layer
    bool mLayerBad[2] = {};      // lower, upper: a chunk of the wrong length was met
};

// Removes a file; true when it is gone afterwards (also when it never existed).
bool RemoveFileIfExists(const std::string& path);

}  // namespace quillon
