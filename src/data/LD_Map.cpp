#include "data/LD_Map.h"

#include "data/EditorMode.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

namespace quillon {

// --- tile IDs ---

TTileKind TileKind(std::int32_t id) {
    if (id < 0)
        return TTileKind::Unknown;
    if (id < kTileAnimatedFirst)
        return TTileKind::Water;
    if (id < kTileGroundFirst)
        return TTileKind::Animated;
    if (id < kTileLowerFirst)
        return TTileKind::Ground;
    if (id < kTileLowerFirst + kPlainTileCount)
        return TTileKind::Lower;
    if (id < kTileUpperFirst)
        return TTileKind::Unknown;
    if (id < kTileNothingFirst)
        return TTileKind::Upper;
    return TTileKind::Nothing;
}

std::int32_t LowerTableIndex(std::int32_t id) {
    switch (TileKind(id)) {
    case TTileKind::Water: return WaterKind(id);
    case TTileKind::Animated: {
        const std::int32_t block = AnimatedBlock(id);
        return block < kAnimatedBlockCount ? kWaterKindCount + block : -1;
    }
    case TTileKind::Ground: {
        const std::int32_t block = GroundBlock(id);
        return block < kGroundBlockCount ? kWaterKindCount + kAnimatedBlockCount + block : -1;
    }
    case TTileKind::Lower: return kLowerBlockCount + LowerTileIndex(id);
    default: return -1;
    }
}

// --- layers ---

TKelMapLayer::TKelMapLayer(std::uint16_t fillValue) : FillValue(fillValue) {
    Reset();
}

void TKelMapLayer::Reset() {
    Resize(kDefaultWidth, kDefaultHeight);
    std::fill(mCells.begin(), mCells.end(), FillValue);
}

namespace {

// Brings a coordinate into 0..size-1 by whole turns of the size.
std::int32_t Wrap(std::int32_t value, std::int32_t size) {
    const std::int64_t rest = static_cast<std::int64_t>(value) % size;
    return static_cast<std::int32_t>(rest < 0 ? rest + size : rest);
}

}  // namespace

std::int32_t TKelMapLayer::Cell(std::int32_t column, std::int32_t row) const {
    if ((column < 0 || column >= mWidth) && LoopHorizontal && mWidth > 0)
        column = Wrap(column, mWidth);
    if ((row < 0 || row >= mHeight) && LoopVertical && mHeight > 0)
        row = Wrap(row, mHeight);
    if (column < 0 || column >= mWidth || row < 0 || row >= mHeight)
        return -1;
    return mCells[static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * static_cast<std::size_t>(mWidth)];
}

void TKelMapLayer::SetCell(std::int32_t column, std::int32_t row, std::uint16_t id) {
    if (column < 0 || column >= mWidth || row < 0 || row >= mHeight)
        return;
    mCells[static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * static_cast<std::size_t>(mWidth)] = id;
}

void TKelMapLayer::Resize(std::int32_t width, std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == mWidth && height == mHeight)
        return;
    std::vector<std::uint16_t> cells(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), FillValue);
    const std::int32_t keepWidth = std::min(width, mWidth);
    const std::int32_t keepHeight = std::min(height, mHeight);
    for (std::int32_t row = 0; row < keepHeight; ++row) {
        const auto from = mCells.begin() + static_cast<std::ptrdiff_t>(row) * mWidth;
        std::copy(from, from + keepWidth, cells.begin() + static_cast<std::ptrdiff_t>(row) * width);
    }
    mCells = std::move(cells);
    mWidth = width;
    mHeight = height;
}

void TKelMapLayer::Assign(const TKelMapLayer& source) {
    mWidth = source.mWidth;
    mHeight = source.mHeight;
    mCells = source.mCells;
    LoopHorizontal = source.LoopHorizontal;
    LoopVertical = source.LoopVertical;
    FillValue = source.FillValue;
}

// --- files ---

std::string MapFileName(std::int32_t id) {
    char name[32];
    std::snprintf(name, sizeof name, "Map%.4d.kmu", id);
    return name;
}

std::string MapWorkFolder() {
    return PrivateWorkFolder();
}

void CreateMapWorkFolder() {
    PrivateWorkFolder();
}

bool RemoveFileIfExists(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    return !FileExists(path);
}

// --- map events ---

void TKelMapEvents::LoadFromStream(TStream& stream) {
    Clear();
    mLoaded = 0;
    mCutShort = true;  // until the last element has been read
    const auto count = static_cast<std::uint32_t>(ReadVarInt(stream));
    // Every element takes at least two bytes (its ID and its record's terminator).
    stream.RequireRemaining(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::int32_t id = ReadVarInt(stream);
        std::unique_ptr<TCatalogItem> item = CreateLoadTarget(id);
        item->LoadFromStream(stream);
        // In its place by ID; of a repeated ID the last one read wins.
        const auto at = std::lower_bound(mItems.begin(), mItems.end(), id,
                                         [](const std::unique_ptr<TCatalogItem>& e, std::int32_t v) { return e->ID < v; });
        if (at != mItems.end() && (*at)->ID == id)
            *at = std::move(item);
        else
            mItems.insert(at, std::move(item));
        ++mLoaded;
    }
    mCutShort = false;
}

// --- damage reports ---

std::string TFilledText::Text() const {
    std::string text;
    for (std::size_t i = 0; i < Format.size(); ++i) {
        const char c = Format[i];
        if (c == '%' && i + 1 < Format.size() && Format[i + 1] >= '1' && Format[i + 1] <= '9') {
            const std::size_t arg = static_cast<std::size_t>(Format[i + 1] - '1');
            if (arg < Args.size())
                text += Args[arg];
            ++i;
            continue;
        }
        text += c;
    }
    return text;
}

std::string Ordinal(int number) {
    const int tens = number % 100;
    const char* suffix = "th";
    if (tens < 11 || tens > 13) {
        switch (number % 10) {
        case 1: suffix = "st"; break;
        case 2: suffix = "nd"; break;
        case 3: suffix = "rd"; break;
        default: break;
        }
    }
    return std::to_string(number) + suffix;
}

std::string JoinWithAnd(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += i + 1 == parts.size() ? " and " : ", ";
        text += parts[i];
    }
    return text;
}

TFilledText DescribeMapDamage(const std::string& fileName, const TMapLoadReport& report) {
    if (report.Unreadable)
        return {"%1 is damaged: nothing in it could be read", {fileName}};
    std::vector<std::string> lost;
    if (!report.LowerLayerRead)
        lost.push_back("its lower layer");
    if (!report.UpperLayerRead)
        lost.push_back("its upper layer");
    if (!report.EventsRead)
        lost.push_back(report.EventsStarted && report.EventsKept > 0
                           ? "its events after the " + Ordinal(report.EventsKept)
                           : std::string("its events"));
    const std::string parts = JoinWithAnd(lost);
    if (report.ImpossibleSize)
        return {"%1 is damaged: its size of %2 x %3 is impossible, so %4 could not be read",
                {fileName, std::to_string(report.StatedWidth), std::to_string(report.StatedHeight),
                 parts.empty() ? std::string("its layers") : parts}};
    if (lost.empty())
        return {"%1 is damaged: its end could not be read", {fileName}};
    return {"%1 is damaged: %2 could not be read", {fileName, parts}};
}

// --- map ---

void TKelMap::DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) {
    // A new chunk begins: the layer chunk before it has been read whole.
    if (loading && mLayerField != 0)
        TakeLayerChunk();
    switch (fieldNumber) {
    case 1: SetIntField(d, &ChipSetId, 1, "ChipSetId"); break;
    case 2: SetIntField(d, &mWidth, TKelMapLayer::kDefaultWidth, "Width"); break;
    case 3: SetIntField(d, &mHeight, TKelMapLayer::kDefaultHeight, "Height"); break;
    case 11: SetBufferField(d, &ScrollType, 1, "ScrollType"); break;
    case 31: SetByteField(d, &PanoramaEnabled, 0, "PanoramaEnabled"); break;
    case 32: SetStringField(d, &PanoramaName, true, "PanoramaName"); break;
    case 33: SetByteField(d, &PanoramaHorizontalPan, 0, "PanoramaHorizontalPan"); break;
    case 34: SetByteField(d, &PanoramaVerticalPan, 0, "PanoramaVerticalPan"); break;
    case 35: SetByteField(d, &PanoramaHorizontalAuto, 0, "PanoramaHorizontalAuto"); break;
    case 36: SetIntField(d, &PanoramaHorizontalSpeed, 0, "PanoramaHorizontalSpeed"); break;
    case 37: SetByteField(d, &PanoramaVerticalAuto, 0, "PanoramaVerticalAuto"); break;
    case 38: SetIntField(d, &PanoramaVerticalSpeed, 0, "PanoramaVerticalSpeed"); break;
    case 71:
    case 72: {
        TKelMapLayer& layer = fieldNumber == 71 ? LowerLayer : UpperLayer;
        const char* name = fieldNumber == 71 ? "LowerLayer" : "UpperLayer";
        if (loading && mLoadLimit >= 0) {
            // The layer takes the size read so far; the chunk is read whole and goes into the
            // layer only when it holds exactly that many cells (TakeLayerChunk), else the layer
            // keeps its fill value and the load counts as damaged.
            CheckLoadSize(mWidth, mHeight);
            layer.Resize(mWidth, mHeight);
            mLayerField = fieldNumber;
            SetDynamicField(d, &mLayerChunk, 0, name);
            break;
        }
        if (loading) {
            // The layer takes the size read so far; its cells are read only when the chunk
            // holds exactly that many, else the layer keeps its fill value.
            CheckLoadSize(mWidth, mHeight);
            layer.Resize(mWidth, mHeight);
        }
        SetBufferField(d, layer.CellData(), static_cast<std::int32_t>(layer.ByteSize()), name);
        break;
    }
    case 81:
        if (loading && mLoadLimit >= 0)
            mReport.EventsStarted = true;
        SetListField(d, &Events, "Events");
        break;
    case 91: SetIntField(d, &SaveCount, 0, "SaveCount"); break;
    default: break;
    }
}

void TKelMap::Reset() {
    ChipSetId = 1;
    mWidth = TKelMapLayer::kDefaultWidth;
    mHeight = TKelMapLayer::kDefaultHeight;
    ScrollType = stNone;
    PanoramaEnabled = 0;
    PanoramaName.clear();
    PanoramaHorizontalPan = 0;
    PanoramaVerticalPan = 0;
    PanoramaHorizontalAuto = 0;
    PanoramaHorizontalSpeed = 0;
    PanoramaVerticalAuto = 0;
    PanoramaVerticalSpeed = 0;
    LowerLayer.Reset();
    UpperLayer.Reset();
    ApplyScrollType();
    Events.Clear();
    SaveCount = 0;
}

bool TKelMap::SizeFits(std::int32_t width, std::int32_t height) const {
    if (width < 0 || height < 0)
        return false;
    const std::int64_t bytes = static_cast<std::int64_t>(width) * height * 2;
    if (bytes > std::numeric_limits<std::int32_t>::max())
        return false;
    return mLoadLimit < 0 || bytes <= mLoadLimit;
}

void TKelMap::CheckLoadSize(std::int32_t width, std::int32_t height) {
    if (SizeFits(width, height))
        return;
    mReport.ImpossibleSize = true;
    mReport.StatedWidth = width;
    mReport.StatedHeight = height;
    throw EReadError();
}

void TKelMap::TakeLayerChunk() {
    if (mLayerField == 0)
        return;
    const bool lower = mLayerField == 71;
    TKelMapLayer& layer = lower ? LowerLayer : UpperLayer;
    mLayerField = 0;
    if (static_cast<std::int64_t>(mLayerChunk.size()) == layer.ByteSize()) {
        if (!mLayerChunk.empty())
            std::memcpy(layer.CellData(), mLayerChunk.data(), mLayerChunk.size());
        (lower ? mReport.LowerLayerRead : mReport.UpperLayerRead) = true;
    } else {
        mReport.Damaged = true;
        mLayerBad[lower ? 0 : 1] = true;
    }
    TDynamicBuffer().swap(mLayerChunk);
}

void TKelMap::FitLayers() {
    LowerLayer.Resize(mWidth, mHeight);
    UpperLayer.Resize(mWidth, mHeight);
}

void TKelMap::LoadFromStream(TStream& stream) {
    mReport = {};
    mLayerField = 0;
    mLayerBad[0] = mLayerBad[1] = false;
    mLoadLimit = stream.Remaining();
    const auto endLoad = [this] {
        FitLayers();
        ApplyScrollType();
        mLoadLimit = -1;
    };
    try {
        TCatalogItem::LoadFromStream(stream);
        TakeLayerChunk();
        // The record ended where it should: a part it did not hold has nothing to read.
        mReport.LowerLayerRead = !mLayerBad[0];
        mReport.UpperLayerRead = !mLayerBad[1];
        mReport.EventsRead = true;
        mReport.EventsKept = Events.Count();
        // A size read after the layers, or with no layer chunks at all, has to fit as well.
        CheckLoadSize(mWidth, mHeight);
    } catch (...) {
        // What was read whole before the break is kept.
        TakeLayerChunk();
        mReport.Damaged = true;
        mReport.EventsRead = mReport.EventsStarted && !Events.CutShort();
        mReport.EventsKept = Events.Count();
        // The map keeps what was read, with a size that its layers really have.
        if (!SizeFits(mWidth, mHeight)) {
            mWidth = LowerLayer.Width();
            mHeight = LowerLayer.Height();
        }
        endLoad();
        throw;
    }
    endLoad();
}

void TKelMap::ChunkCutShort(int fieldNumber, TStream& stream) {
    if (fieldNumber != 81 || mLoadLimit < 0)
        return;
    if (mLayerField != 0)
        TakeLayerChunk();
    mReport.EventsStarted = true;
    const std::int64_t start = stream.Position();
    try {
        Events.LoadFromStream(stream);
    } catch (const EReadError&) {
        // The events read whole before the cut stay.
    }
    stream.SetPosition(start);
}

void TKelMap::SaveToStream(TStream& stream) {
    FitLayers();
    TCatalogItem::SaveToStream(stream);
}

void TKelMap::SetWidth(std::int32_t width) {
    mWidth = std::max(width, 0);
    FitLayers();
}

void TKelMap::SetHeight(std::int32_t height) {
    mHeight = std::max(height, 0);
    FitLayers();
}

void TKelMap::ApplyScrollType() {
    const bool horizontal = ScrollType == stHorizontalLoop || ScrollType == stBothLoop;
    const bool vertical = ScrollType == stVerticalLoop || ScrollType == stBothLoop;
    LowerLayer.LoopHorizontal = UpperLayer.LoopHorizontal = horizontal;
    LowerLayer.LoopVertical = UpperLayer.LoopVertical = vertical;
}

void TKelMap::SetScrollType(std::uint8_t scrollType) {
    ScrollType = scrollType;
    ApplyScrollType();
}

void TKelMap::MakeEmpty() {
    Reset();
    ID = 0;
    SetWidth(0);
    SetHeight(0);
    ChipSetId = 0;
}

void TKelMap::Shift(std::int32_t dx, std::int32_t dy) {
    for (TKelMapLayer* layer : {&LowerLayer, &UpperLayer}) {
        const std::int32_t width = layer->Width();
        const std::int32_t height = layer->Height();
        if (width == 0 || height == 0)
            continue;
        TKelMapLayer copy(layer->FillValue);
        copy.Assign(*layer);
        copy.LoopHorizontal = true;
        copy.LoopVertical = true;
        // Whole turns of the size change nothing; taking them off first keeps i - dx in range.
        const std::int32_t turnX = static_cast<std::int32_t>(dx % width);
        const std::int32_t turnY = static_cast<std::int32_t>(dy % height);
        for (std::int32_t j = 0; j < height; ++j)
            for (std::int32_t i = 0; i < width; ++i)
                layer->SetCell(i, j, static_cast<std::uint16_t>(copy.Cell(i - turnX, j - turnY)));
    }
    // Events move with their tiles, wrapping around the edges like them.
    for (int index = 0; index < Events.Count(); ++index) {
        TKelEventItem* event = Events.Items(index);
        if (mWidth > 0)
            event->X = Wrap(static_cast<std::int32_t>((static_cast<std::int64_t>(dx) + event->X) % mWidth), mWidth);
        if (mHeight > 0)
            event->Y = Wrap(static_cast<std::int32_t>((static_cast<std::int64_t>(dy) + event->Y) % mHeight), mHeight);
    }
}

void TKelMap::ValidateChipSetId() {
    if (ChipSetId < 1 || (mChipSets != nullptr && mChipSets->FindByID(ChipSetId) == nullptr))
        ChipSetId = 1;
}

void TKelMap::ReloadChipSetGraphic() {
    ValidateChipSetId();
}

void TKelMap::LoadFromFile(const std::string& path) {
    Reset();
    Modified = false;
    mReport = {};
    bool inRecord = false;
    try {
        if (EditorMode() && !FileExists(path)) {
            ValidateChipSetId();
            LoadGraphics();
            return;
        }
        const std::string bytes = ReadWholeFile(path);
        TByteViewStream stream(bytes);
        ReadSignature(stream, kSignature);
        inRecord = true;
        LoadFromStream(stream);
    } catch (const std::exception&) {
        if (!inRecord) {
            mReport = {};
            mReport.Damaged = mReport.Unreadable = true;
        }
        ValidateChipSetId();
        if (!EditorMode())
            throw;
        LoadGraphics();
        return;
    }
    ValidateChipSetId();
    LoadGraphics();
}

std::string TKelMap::FileImage() {
    ++SaveCount;
    TMemoryStream image;
    WriteString(image, kSignature);
    SaveToStream(image);
    return image.Bytes();
}

void TKelMap::SaveToFile(const std::string& path) {
    const std::string image = FileImage();
    try {
        WriteFileAtomic(path, image);
    } catch (...) {
        --SaveCount;  // a save that did not happen is not counted
        throw;
    }
    Modified = false;
}

void TKelMap::LoadFromProject(const std::string& projectPath, std::int32_t id) {
    ID = id;
    LoadFromFile(projectPath + MapFileName(id));
}

void TKelMap::SaveToProject(const std::string& projectPath, std::int32_t id) {
    ID = id;
    SaveToFile(projectPath + MapFileName(id));
}

void TKelMap::DeleteFromProject(const std::string& projectPath, std::int32_t id) {
    ID = id;
    RemoveFileIfExists(projectPath + MapFileName(id));
}

void TKelMap::LoadFromWork(std::int32_t id) {
    ID = id;
    LoadFromFile(MapWorkFolder() + MapFileName(id));
}

void TKelMap::SaveToWork(std::int32_t id) {
    ID = id;
    CreateMapWorkFolder();
    SaveToFile(MapWorkFolder() + MapFileName(id));
}

void TKelMap::DeleteFromWork(std::int32_t id) {
    ID = id;
    RemoveFileIfExists(MapWorkFolder() + MapFileName(id));
}

}  // namespace quillon
