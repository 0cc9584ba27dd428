#include "runtime/GameWorld.h"
#include "runtime/GameSave.h"

#include "data/EditorMode.h"
#include "data/LD_ChipSet.h"
#include "data/LD_DataBase.h"
#include "data/LD_Ground.h"
#include "data/LD_Map.h"
#include "graphics/GR_CharSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"
#include "graphics/MapTileCache.h"
#include "graphics/OrlenSheet.h"
#include "runtime/GameAudio.h"
#include "runtime/GameInput.h"
#include "runtime/GameProject.h"
#include "runtime/GameRandom.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kViewColumns = 20;
constexpr int kViewRows = 15;
constexpr int kHeroScreenColumn = 10;  // the hero's cell shows at (10, 7) of the view
constexpr int kHeroScreenRow = 7;
constexpr int kScreenW = kViewColumns * kCellPixels;
constexpr int kScreenH = kViewRows * kCellPixels;

// Passability bits of a chip toward each direction (up, right, down, left).
constexpr std::uint8_t kPassBit[4] = {TKelChipSetItem::cfPassUp, TKelChipSetItem::cfPassRight,
                                      TKelChipSetItem::cfPassDown, TKelChipSetItem::cfPassLeft};

int DirectionOf(int dx, int dy) {
    if (dy < 0)
        return dUp;
    if (dx > 0)
        return dRight;
    if (dy > 0)
        return dDown;
    return dLeft;
}

int Modulo(int value, int size) { return size <= 0 ? 0 : ((value % size) + size) % size; }

const TKelChipSetItem& DefaultChipSet() {
    static const TKelChipSetItem item;
    return item;
}

}  // namespace

void TGameHero::Bumped(TGameWorld& world, int x, int y) {
    for (TGameEvent* event : world.EventsAt(x, y))
        if (event->Priority == prSame && (event->Trigger() == trHeroTouch || event->Trigger() == trTouch))
            world.RequestStart(event->Id(), event->Trigger());
}

TGameWorld::TGameWorld(TGameProject& project, TGameState& state, TGameRandom& random, IGameAudio& audio,
                       bool testPlay)
    : mProject(project), mState(state), mRandom(random), mAudio(audio), mTestPlay(testPlay),
      mChips(std::make_unique<TKelChipSetGraphic>(project.Images())),
      mCharSets(std::make_unique<TKelCharSetGraphic>(project.Images())), mTiles(std::make_unique<TMapTileCache>()),
      mPanorama(std::make_unique<TOrlenSheet>()) {
    mHero.Speed = 4;
    mPanorama->AutoSize = true;
    for (int kind = 0; kind < kVehicleCount; ++kind)
        mVehicles[static_cast<std::size_t>(kind)].Kind = kind;
}

TGameWorld::~TGameWorld() = default;

std::int32_t TGameWorld::MapId() const { return mMap ? mMap->ID : 0; }

bool TGameWorld::Enter(std::int32_t mapId, int x, int y, std::string& error) {
    if (mMap && mMap->ID == mapId) {
        if (!InMap(x, y)) {
            error = MapFileName(mapId) + ": the cell (" + std::to_string(x) + ", " + std::to_string(y) +
                    ") lies outside the map";
            return false;
        }
        mHero.PlaceAt(x, y);
        UpdateCamera();
        return true;
    }
    std::shared_ptr<TKelMap> map = mProject.LoadMap(mapId, error);
    if (!map)
        return false;
    if (x < 0 || y < 0 || x >= map->Width() || y >= map->Height()) {
        error = MapFileName(mapId) + ": the cell (" + std::to_string(x) + ", " + std::to_string(y) +
                ") lies outside the map";
        return false;
    }
    Enter(std::move(map), x, y);
    return true;
}

void TGameWorld::Enter(std::shared_ptr<TKelMap> map, int x, int y) {
    mMap = std::move(map);
    mWidth = mMap->Width();
    mHeight = mMap->Height();
    mLoopX = mMap->ScrollType == TKelMap::stHorizontalLoop || mMap->ScrollType == TKelMap::stBothLoop;
    mLoopY = mMap->ScrollType == TKelMap::stVerticalLoop || mMap->ScrollType == TKelMap::stBothLoop;
    mPanoramaAutoX = mPanoramaAutoY = 0;
    mChipsChanged = mChipSetChanged = mPanoramaChanged = false;
    LoadGraphics();
    BuildEvents();
    if (mRiding >= 0)
        Vehicle(mRiding).MapId = mMap->ID;
    for (TGameVehicle& vehicle : mVehicles)
        if (vehicle.MapId == mMap->ID)
            UseCharSet(vehicle.CharSet);
    mHero.PlaceAt(x, y);
    mHero.PrevX = x;
    mHero.PrevY = y;
    mHeroWasMoving = false;
    mStarts.clear();
    mPagesVersion = 0;
    RefreshPages();
    UpdateCamera();
}

void TGameWorld::LoadGraphics() {
    ++mLookVersion;
    // Missing pictures leave blank sheets; the game goes on.
    TEditorModeScope quiet(true);
    const TKelChipSetItem* chipSet = mProject.Database().ChipSet.FindByID(mMap->ChipSetId);
    mChips->SetChipSet(chipSet);
    mChipsMissing = chipSet == nullptr || mProject.FindImage("ChipSet", chipSet->FileName).empty();
    mPanorama->Clear();
    mPanorama->FreeImage();
    if (mMap->PanoramaEnabled && !mMap->PanoramaName.empty())
        LoadSheetResource(*mPanorama, mProject.Images(), "Panorama", mMap->PanoramaName, false);
    mCharSets->BeginUse();
    mCharSets->EndUse();
}

void TGameWorld::UseCharSet(const std::string& name) {
    if (name.empty() || mCharSets->IndexOf(name) >= 0 || mMissingCharSets.count(name) != 0)
        return;
    if (mProject.FindImage("CharSet", name).empty())
        mMissingCharSets.insert(name);
    TEditorModeScope quiet(true);
    const int index = mCharSets->Load(name);
    if (TOrlenSheet* sheet = mCharSets->SheetAt(index))
        sheet->Transparent = true;
}

void TGameWorld::BuildEvents() {
    mEvents.clear();
    mCellHead.assign(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight), -1);
    mHasTimerPages = false;
    for (int i = 0; i < mMap->Events.Count(); ++i) {
        const TKelEventItem* record = mMap->Events.Items(i);
        if (record == nullptr || !InMap(record->X, record->Y))
            continue;  // an event outside the map never shows
        for (int p = 0; p < record->Pages.Count(); ++p)
            if (record->Pages.Items(p)->Condition.Flags & TKelEventCondition::cfTimer)
                mHasTimerPages = true;
        mEvents.push_back(std::make_unique<TGameEvent>(*record));
        mEvents.back()->Index = mEvents.size() - 1;
    }
    mNext.assign(mEvents.size(), -1);
    for (std::size_t i = 0; i < mEvents.size(); ++i)
        IndexEvent(i);
}

void TGameWorld::IndexEvent(std::size_t index) {
    const TGameEvent& event = *mEvents[index];
    if (!InMap(event.X, event.Y))
        return;
    int& head = mCellHead[static_cast<std::size_t>(Cell(event.X, event.Y))];
    // Kept in index order (which is ID order) so that look-ups are deterministic.
    int* link = &head;
    while (*link >= 0 && *link < static_cast<int>(index))
        link = &mNext[static_cast<std::size_t>(*link)];
    mNext[index] = *link;
    *link = static_cast<int>(index);
}

void TGameWorld::UnindexEvent(std::size_t index, int x, int y) {
    if (!InMap(x, y))
        return;
    int* link = &mCellHead[static_cast<std::size_t>(Cell(x, y))];
    while (*link >= 0) {
        if (*link == static_cast<int>(index)) {
            *link = mNext[index];
            mNext[index] = -1;
            return;
        }
        link = &mNext[static_cast<std::size_t>(*link)];
    }
}

void TGameWorld::CharacterMoved(TGameEvent& event, int oldX, int oldY) {
    UnindexEvent(event.Index, oldX, oldY);
    IndexEvent(event.Index);
}

TGameEvent* TGameWorld::EventById(std::int32_t id) {
    // Events are kept in ID order.
    const auto found = std::lower_bound(mEvents.begin(), mEvents.end(), id,
                                        [](const std::unique_ptr<TGameEvent>& e, std::int32_t v) { return e->Id() < v; });
    return found != mEvents.end() && (*found)->Id() == id ? found->get() : nullptr;
}

std::vector<TGameEvent*> TGameWorld::EventsAt(int x, int y) {
    std::vector<TGameEvent*> found;
    if (!InMap(x, y))
        return found;
    for (int i = mCellHead[static_cast<std::size_t>(Cell(x, y))]; i >= 0; i = mNext[static_cast<std::size_t>(i)])
        if (mEvents[static_cast<std::size_t>(i)]->Present())
            found.push_back(mEvents[static_cast<std::size_t>(i)].get());
    return found;
}

bool TGameWorld::InMap(int x, int y) const { return x >= 0 && y >= 0 && x < mWidth && y < mHeight; }

void TGameWorld::Wrap(int& x, int& y) const {
    if (mLoopX)
        x = Modulo(x, mWidth);
    if (mLoopY)
        y = Modulo(y, mHeight);
}

int TGameWorld::WrappedDx(int fromX, int toX) const {
    int dx = toX - fromX;
    if (mLoopX && mWidth > 0) {
        dx = Modulo(dx, mWidth);
        if (dx > mWidth / 2)
            dx -= mWidth;
    }
    return dx;
}

int TGameWorld::WrappedDy(int fromY, int toY) const {
    int dy = toY - fromY;
    if (mLoopY && mHeight > 0) {
        dy = Modulo(dy, mHeight);
        if (dy > mHeight / 2)
            dy -= mHeight;
    }
    return dy;
}

bool TGameWorld::TilePassable(int x, int y, int direction) const {
    if (!InMap(x, y))
        return false;
    const TKelChipSetItem* found = mChips->ChipSet();
    const TKelChipSetItem& chips = found != nullptr ? *found : DefaultChipSet();
    const std::uint8_t bit = kPassBit[direction & 3];
    const std::int32_t upper = mMap->UpperLayer.Cell(x, y);
    if (TileKind(upper) == TTileKind::Upper && UpperTileIndex(upper) > 0) {
        const std::uint8_t flags = chips.UpperFlags(UpperTileIndex(upper));
        // A tile drawn over the characters leaves the way to the lower layer.
        if (!(flags & TKelChipSetItem::cfStar))
            return (flags & bit) != 0;
    }
    const std::int32_t index = LowerTableIndex(mMap->LowerLayer.Cell(x, y));
    return index >= 0 && (chips.LowerFlags(index) & bit) != 0;
}

bool TGameWorld::IsCounter(int x, int y) const {
    if (!InMap(x, y) || mChips->ChipSet() == nullptr)
        return false;
    const std::int32_t upper = mMap->UpperLayer.Cell(x, y);
    return TileKind(upper) == TTileKind::Upper &&
           (mChips->ChipSet()->UpperFlags(UpperTileIndex(upper)) & TKelChipSetItem::cfCounter) != 0;
}

bool TGameWorld::Blocked(const TGameCharacter& mover, int x, int y) const {
    const bool moverIsHero = &mover == &mHero;
    if (!moverIsHero && mover.Priority == prSame && mHero.X == x && mHero.Y == y)
        return true;
    if (!InMap(x, y))
        return true;
    if (mover.Priority == prSame && VehicleAt(x, y))
        return true;
    for (int i = mCellHead[static_cast<std::size_t>(Cell(x, y))]; i >= 0; i = mNext[static_cast<std::size_t>(i)]) {
        const TGameEvent& other = *mEvents[static_cast<std::size_t>(i)];
        if (&other == &mover || !other.Present())
            continue;
        if (other.Priority == prSame && mover.Priority == prSame)
            return true;
        if (!moverIsHero && (mover.NoOverlap || other.NoOverlap))
            return true;
    }
    return false;
}

bool TGameWorld::CanStep(const TGameCharacter& mover, int x, int y, int dx, int dy) const {
    int nx = x + dx;
    int ny = y + dy;
    Wrap(nx, ny);
    if (!InMap(nx, ny))
        return false;
    if (mover.Through)
        return true;
    if (&mover == &mHero && mRiding >= 0)
        return VehiclePasses(mRiding, TerrainAt(nx, ny)) && (mRiding == vkAirship || !Blocked(mover, nx, ny));
    const int direction = DirectionOf(dx, dy);
    int sx = x;
    int sy = y;
    Wrap(sx, sy);
    return TilePassable(sx, sy, direction) && TilePassable(nx, ny, (direction + 2) & 3) && !Blocked(mover, nx, ny);
}

bool TGameWorld::CanLand(const TGameCharacter& mover, int x, int y) const {
    if (!InMap(x, y))
        return false;
    if (mover.Through)
        return true;
    bool open = false;
    for (int direction = 0; direction < 4; ++direction)
        open = open || TilePassable(x, y, direction);
    return open && !(x == mover.X && y == mover.Y ? false : Blocked(mover, x, y));
}

bool TGameWorld::VehicleAt(int x, int y) const {
    for (const TGameVehicle& vehicle : mVehicles)
        if (vehicle.Kind != mRiding && vehicle.MapId == MapId() && vehicle.X == x && vehicle.Y == y)
            return true;
    return false;
}

std::int32_t TGameWorld::TerrainIdAt(int x, int y) const {
    if (!mMap || !InMap(x, y) || mChips->ChipSet() == nullptr)
        return 0;
    const std::int32_t index = LowerTableIndex(mMap->LowerLayer.Cell(x, y));
    return index >= 0 ? mChips->ChipSet()->TerrainId(index) : 0;
}

const TKelGroundItem* TGameWorld::TerrainAt(int x, int y) const {
    const std::int32_t id = TerrainIdAt(x, y);
    return id > 0 ? mProject.Database().Ground.FindByID(id) : nullptr;
}

std::int32_t TGameWorld::EventIdAt(int x, int y) {
    const std::vector<TGameEvent*> events = EventsAt(x, y);
    return events.empty() ? 0 : events.front()->Id();
}

void TGameWorld::PlaceCharacter(TGameCharacter& character, int x, int y) {
    const int oldX = character.X;
    const int oldY = character.Y;
    character.PlaceAt(x, y);
    if (&character == &mHero) {
        if (mRiding >= 0)
            Vehicle(mRiding).PlaceAt(x, y);
        UpdateCamera();
        return;
    }
    for (const auto& event : mEvents)
        if (event.get() == &character)
            CharacterMoved(*event, oldX, oldY);
}

int TGameWorld::VehicleFaced() const {
    if (!mMap || mRiding >= 0)
        return -1;
    int x = mHero.X + DirectionDx(mHero.Direction);
    int y = mHero.Y + DirectionDy(mHero.Direction);
    Wrap(x, y);
    for (const auto& [cellX, cellY] : {std::pair{x, y}, std::pair{mHero.X, mHero.Y}})
        for (const TGameVehicle& vehicle : mVehicles)
            if (vehicle.MapId == MapId() && vehicle.X == cellX && vehicle.Y == cellY)
                return vehicle.Kind;
    return -1;
}

bool TGameWorld::Board(int kind) {
    if (!mMap || kind < 0 || kind >= kVehicleCount || mRiding >= 0 || Vehicle(kind).MapId != MapId())
        return false;
    TGameVehicle& vehicle = Vehicle(kind);
    mRiding = kind;
    mHero.PlaceAt(vehicle.X, vehicle.Y);
    mHero.Direction = vehicle.Direction = mHero.Direction;
    UpdateCamera();
    return true;
}

bool TGameWorld::LeaveVehicle() {
    if (!mMap || mRiding < 0 || mHero.Moving())
        return false;
    TGameVehicle& vehicle = Vehicle(mRiding);
    if (mRiding == vkAirship) {
        // It comes down on its own cell: ground where it may land, that a walker could stand on.
        bool walkable = false;
        for (int direction = 0; direction < 4; ++direction)
            walkable = walkable || TilePassable(mHero.X, mHero.Y, direction);
        if (!AirshipMayLand(TerrainAt(mHero.X, mHero.Y)) || !walkable || !EventsAt(mHero.X, mHero.Y).empty())
            return false;
        mRiding = -1;
        vehicle.PlaceAt(mHero.X, mHero.Y);
        return true;
    }
    int x = mHero.X + DirectionDx(mHero.Direction);
    int y = mHero.Y + DirectionDy(mHero.Direction);
    Wrap(x, y);
    const int back = (mHero.Direction + 2) & 3;
    const bool land = TilePassable(x, y, back) && !VehiclePasses(mRiding, TerrainAt(x, y));
    mRiding = -1;
    if (!land || Blocked(mHero, x, y)) {
        mRiding = vehicle.Kind;
        return false;
    }
    vehicle.PlaceAt(mHero.X, mHero.Y);
    mHero.PlaceAt(x, y);
    UpdateCamera();
    return true;
}

bool TGameWorld::ChangeChipSet(std::int32_t chipSetId) {
    if (!mMap || mProject.Database().ChipSet.FindByID(chipSetId) == nullptr)
        return false;
    mMap->ChipSetId = chipSetId;
    mChipSetChanged = true;
    LoadGraphics();
    return true;
}

void TGameWorld::ChangePanorama(const std::string& name, bool panX, bool panY, bool autoX, int speedX, bool autoY,
                                int speedY) {
    if (!mMap)
        return;
    mMap->PanoramaEnabled = name.empty() ? 0 : 1;
    mMap->PanoramaName = name;
    mMap->PanoramaHorizontalPan = panX;
    mMap->PanoramaVerticalPan = panY;
    mMap->PanoramaHorizontalAuto = autoX;
    mMap->PanoramaHorizontalSpeed = std::clamp(speedX, -8, 8);
    mMap->PanoramaVerticalAuto = autoY;
    mMap->PanoramaVerticalSpeed = std::clamp(speedY, -8, 8);
    mPanoramaAutoX = mPanoramaAutoY = 0;
    mPanoramaChanged = true;
    LoadGraphics();
}

void TGameWorld::SubstituteChip(bool lower, int from, int to) {
    if (!mMap)
        return;
    TKelMapLayer& layer = lower ? mMap->LowerLayer : mMap->UpperLayer;
    const int chips = lower ? TKelChipSetItem::kLowerChips : TKelChipSetItem::kUpperChips;
    if (from < 0 || to < 0 || from >= chips || to >= chips || from == to)
        return;
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x) {
            const std::int32_t id = layer.Cell(x, y);
            if (!lower) {
                if (TileKind(id) == TTileKind::Upper && id - kTileUpperFirst == from)
                    layer.SetCell(x, y, static_cast<std::uint16_t>(kTileUpperFirst + to));
                continue;
            }
            if (TileToChip(id) != from)
                continue;
            // Within one family of chips (water, animated, autotile) a cell keeps its shape.
            const auto family = [](int chip) { return chip < 3 ? 0 : chip < 6 ? 1 : chip < 18 ? 2 : 3; };
            const std::int32_t shape = family(from) == family(to) && family(from) < 3 ? id - ChipToTile(from) : 0;
            layer.SetCell(x, y, static_cast<std::uint16_t>(ChipToTile(to) + shape));
        }
    mChipsChanged = true;
    ++mLookVersion;
}

TSavedMapLook TGameWorld::SavedLook() const {
    TSavedMapLook look;
    if (!mMap)
        return look;
    look.ChipSetId = mChipSetChanged ? mMap->ChipSetId : 0;
    look.PanoramaChanged = mPanoramaChanged;
    look.PanoramaEnabled = mMap->PanoramaEnabled != 0;
    look.PanoramaName = mMap->PanoramaName;
    look.PanoramaPanX = mMap->PanoramaHorizontalPan != 0;
    look.PanoramaPanY = mMap->PanoramaVerticalPan != 0;
    look.PanoramaAutoX = mMap->PanoramaHorizontalAuto != 0;
    look.PanoramaSpeedX = mMap->PanoramaHorizontalSpeed;
    look.PanoramaAutoY = mMap->PanoramaVerticalAuto != 0;
    look.PanoramaSpeedY = mMap->PanoramaVerticalSpeed;
    look.PanoramaOffsetX = mPanoramaAutoX;
    look.PanoramaOffsetY = mPanoramaAutoY;
    if (mChipsChanged) {
        look.Lower = mMap->LowerLayer.Cells();
        look.Upper = mMap->UpperLayer.Cells();
    }
    return look;
}

void TGameWorld::RestoreLook(const TSavedMapLook& look) {
    if (!mMap)
        return;
    // What the commands left as the map file has it stays so, even if the file changed since.
    if (look.ChipSetId != 0 && mProject.Database().ChipSet.FindByID(look.ChipSetId) != nullptr) {
        mMap->ChipSetId = look.ChipSetId;
        mChipSetChanged = true;
    }
    if (look.PanoramaChanged) {
        mMap->PanoramaEnabled = look.PanoramaEnabled ? 1 : 0;
        mMap->PanoramaName = look.PanoramaName;
        mMap->PanoramaHorizontalPan = look.PanoramaPanX ? 1 : 0;
        mMap->PanoramaVerticalPan = look.PanoramaPanY ? 1 : 0;
        mMap->PanoramaHorizontalAuto = look.PanoramaAutoX ? 1 : 0;
        mMap->PanoramaHorizontalSpeed = std::clamp(look.PanoramaSpeedX, -8, 8);
        mMap->PanoramaVerticalAuto = look.PanoramaAutoY ? 1 : 0;
        mMap->PanoramaVerticalSpeed = std::clamp(look.PanoramaSpeedY, -8, 8);
        mPanoramaChanged = true;
    }
    // The scrolled distance wraps around the panorama when drawn; kept within a sane range.
    constexpr int kMaxOffset = 1 << 24;
    mPanoramaAutoX = std::clamp(look.PanoramaOffsetX, -kMaxOffset, kMaxOffset);
    mPanoramaAutoY = std::clamp(look.PanoramaOffsetY, -kMaxOffset, kMaxOffset);
    const auto cells = static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mHeight);
    const auto restoreLayer = [&](TKelMapLayer& layer, const std::vector<std::uint16_t>& saved) {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
                layer.SetCell(x, y, saved[static_cast<std::size_t>(x + y * mWidth)]);
    };
    // Both layers or neither: half a change would show a map that never was.
    if (look.Lower.size() == cells && look.Upper.size() == cells) {
        restoreLayer(mMap->LowerLayer, look.Lower);
        restoreLayer(mMap->UpperLayer, look.Upper);
        mChipsChanged = true;
    }
    LoadGraphics();
}

void TGameWorld::StopForcedRoutes() {
    if (mHero.ForcedRouteRunning())
        mHero.StopRoute();
    for (const auto& event : mEvents)
        if (event->ForcedRouteRunning())
            event->StopRoute();
}

void TGameWorld::RouteSwitch(std::int32_t id, bool on) { mState.SetSwitch(id, on); }

void TGameWorld::RouteSound(const TKelMoveRouteItem& item) {
    TKelSound sound;
    sound.Name = item.SoundName;
    sound.Volume = item.SoundVolume;
    sound.Tempo = item.SoundTempo;
    sound.Balance = item.SoundBalance;
    mAudio.PlaySound(sound);
}

void TGameWorld::RefreshPages() {
    if (!mMap || (mPagesVersion == mState.Version() && !mHasTimerPages))
        return;
    mPagesVersion = mState.Version();
    for (const auto& event : mEvents)
        event->Refresh(mState, *this);
}

void TGameWorld::RequestStart(std::int32_t eventId, int trigger) {
    for (const TStartRequest& request : mStarts)
        if (request.EventId == eventId)
            return;
    mStarts.push_back({eventId, trigger});
}

std::vector<TStartRequest> TGameWorld::TakeStarts() {
    std::vector<TStartRequest> starts;
    starts.swap(mStarts);
    return starts;
}

bool TGameWorld::AnyForcedRoute() const {
    if (mHero.ForcedRouteEnding())
        return true;
    for (const auto& event : mEvents)
        if (event->ForcedRouteEnding())
            return true;
    return false;
}

void TGameWorld::Update(const TGameInput& input, bool heroMayWalk, bool eventsMove) {
    if (!mMap)
        return;
    mHero.Through = mTestPlay && input.Held(gbThrough);
    if (heroMayWalk && !mHero.Moving() && !mHero.ForcedRouteRunning()) {
        static constexpr struct {
            TGameButton Button;
            int Direction;
        } kWalk[] = {{gbDown, dDown}, {gbLeft, dLeft}, {gbRight, dRight}, {gbUp, dUp}};
        for (const auto& walk : kWalk)
            if (input.Held(walk.Button)) {
                mHero.Step(*this, walk.Direction);
                break;
            }
    }
    mHero.Update(*this);
    if (mRiding >= 0) {
        TGameVehicle& vehicle = Vehicle(mRiding);
        vehicle.X = mHero.X;
        vehicle.Y = mHero.Y;
        vehicle.RealX = mHero.RealX;
        vehicle.RealY = mHero.RealY;
        vehicle.Direction = mHero.Direction;
    }
    for (TGameVehicle& vehicle : mVehicles)
        if (vehicle.MapId == MapId())
            vehicle.Update(*this);
    CheckHeroArrival();
    if (eventsMove)
        for (const auto& event : mEvents)
            if (!event->Erased)
                event->Update(*this);
    if (mMap->PanoramaHorizontalAuto)
        mPanoramaAutoX += mMap->PanoramaHorizontalSpeed;
    if (mMap->PanoramaVerticalAuto)
        mPanoramaAutoY += mMap->PanoramaVerticalSpeed;
    UpdateCamera();
}

void TGameWorld::CheckHeroArrival() {
    const bool moving = mHero.Moving();
    if (mHeroWasMoving && !moving) {
        // Arrived: events below or above him that start on touch.
        for (TGameEvent* event : EventsAt(mHero.X, mHero.Y))
            if (event->Priority != prSame && (event->Trigger() == trHeroTouch || event->Trigger() == trTouch))
                RequestStart(event->Id(), event->Trigger());
    }
    mHeroWasMoving = moving;
}

void TGameWorld::CheckPushKey() {
    if (!mMap || mHero.Moving())
        return;
    for (TGameEvent* event : EventsAt(mHero.X, mHero.Y))
        if (event->Priority != prSame && event->Trigger() == trPushKey) {
            RequestStart(event->Id(), trPushKey);
            return;
        }
    int x = mHero.X + DirectionDx(mHero.Direction);
    int y = mHero.Y + DirectionDy(mHero.Direction);
    Wrap(x, y);
    for (int reach = 0; reach < 2; ++reach) {
        for (TGameEvent* event : EventsAt(x, y))
            if (event->Priority == prSame && event->Trigger() == trPushKey) {
                RequestStart(event->Id(), trPushKey);
                return;
            }
        // Across a counter the hero reaches one cell further.
        if (!IsCounter(x, y))
            return;
        x += DirectionDx(mHero.Direction);
        y += DirectionDy(mHero.Direction);
        Wrap(x, y);
    }
}

void TGameWorld::UpdateCamera() {
    if (!mMap)
        return;
    const int mapW = mWidth * kCellPixels;
    const int mapH = mHeight * kCellPixels;
    mFollowX = mHero.PixelX() - kHeroScreenColumn * kCellPixels;
    mFollowY = mHero.PixelY() - kHeroScreenRow * kCellPixels;
    if (!mLoopX)
        mFollowX = std::clamp(mFollowX, 0, std::max(0, mapW - kScreenW));
    if (!mLoopY)
        mFollowY = std::clamp(mFollowY, 0, std::max(0, mapH - kScreenH));
    mCameraX = mFollowX;
    mCameraY = mFollowY;
    if (mCameraHeld) {
        mCameraX = mLoopX ? mHeldX : std::clamp(mHeldX, 0, std::max(0, mapW - kScreenW));
        mCameraY = mLoopY ? mHeldY : std::clamp(mHeldY, 0, std::max(0, mapH - kScreenH));
    }
}

void TGameWorld::HoldCamera(bool hold, int x, int y) {
    mCameraHeld = hold;
    mHeldX = x;
    mHeldY = y;
    UpdateCamera();
}

int TGameWorld::ScreenX(int mapPixelX) const {
    int x = mapPixelX - mCameraX;
    if (mLoopX) {
        const int size = mWidth * kCellPixels;
        x = Modulo(x + 2 * kCellPixels, size) - 2 * kCellPixels;
    }
    return x;
}

int TGameWorld::ScreenY(int mapPixelY) const {
    int y = mapPixelY - mCameraY;
    if (mLoopY) {
        const int size = mHeight * kCellPixels;
        y = Modulo(y + 2 * kCellPixels, size) - 2 * kCellPixels;
    }
    return y;
}

void TGameWorld::DrawPanorama(TOrlenBoard& screen) {
    const int width = mPanorama->Width();
    const int height = mPanorama->Height();
    if (width <= 0 || height <= 0)
        return;
    // Pan: the panorama follows the map at half its speed; auto scroll: 1/8 pixel per unit of speed a frame.
    const int panX = (mMap->PanoramaHorizontalPan ? mCameraX / 2 : 0) + mPanoramaAutoX / 8;
    const int panY = (mMap->PanoramaVerticalPan ? mCameraY / 2 : 0) + mPanoramaAutoY / 8;
    const int startX = -Modulo(panX, width);
    const int startY = -Modulo(panY, height);
    for (int y = startY; y < screen.Height(); y += height)
        for (int x = startX; x < screen.Width(); x += width)
            screen.DrawSheet(x, y, TRect{0, 0, width, height}, *mPanorama);
}

void TGameWorld::DrawLayerCells(TOrlenBoard& screen, bool lower, int starPass) {
    const TKelMapLayer& layer = lower ? mMap->LowerLayer : mMap->UpperLayer;
    const TKelChipSetItem* chips = mChips->ChipSet();
    const auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    const int firstColumn = floorDiv(mCameraX, kCellPixels);
    const int firstRow = floorDiv(mCameraY, kCellPixels);
    const int offsetX = mCameraX - firstColumn * kCellPixels;
    const int offsetY = mCameraY - firstRow * kCellPixels;
    for (int row = 0; row <= kViewRows; ++row) {
        for (int column = 0; column <= kViewColumns; ++column) {
            const std::int32_t id = layer.Cell(firstColumn + column, firstRow + row);
            if (id < 0)
                continue;
            if (starPass >= 0) {
                const bool star = TileKind(id) == TTileKind::Upper && chips != nullptr &&
                                  (chips->UpperFlags(UpperTileIndex(id)) & TKelChipSetItem::cfStar) != 0;
                if (star != (starPass == 1))
                    continue;
            }
            mTiles->DrawTile(screen, column * kCellPixels - offsetX, row * kCellPixels - offsetY, id);
        }
    }
}

void TGameWorld::DrawCharacter(TOrlenBoard& screen, const TGameCharacter& character) {
    if (!character.Visible() || character.Opacity <= 0)
        return;
    const int x = ScreenX(character.PixelX());
    const int y = ScreenY(character.PixelY()) - character.JumpLift();
    if (x <= -kCharWidth || y <= -kCharHeight || x >= screen.Width() + kCellPixels || y >= screen.Height() + kCharHeight)
        return;
    if (character.TileId >= 0) {
        mChips->SetTransparent(true);
        mTiles->DrawTile(screen, x, y, character.TileId);
        return;
    }
    const int left = x + kCellPixels / 2 - kCharWidth / 2;
    const int top = y + kCellPixels - kCharHeight;
    if (mMissingCharSets.count(character.CharSet) != 0) {
        if (mTestPlay)
            DrawCheckerboard(screen, left, top, kCharWidth, kCharHeight);
        return;
    }
    TOrlenSheet* sheet = mCharSets->SheetAt(mCharSets->IndexOf(character.CharSet));
    if (sheet == nullptr)
        return;
    const TPoint origin = CharFrameOrigin(character.CharIndex, character.Pattern, character.Direction);
    sheet->Opacity = character.Opacity;
    const int flash = character.FlashStrength();
    if (flash > 0)
        sheet->SecondaryControl().SetTone(character.FlashRed, character.FlashGreen, character.FlashBlue, flash, true);
    screen.DrawSheet(left, top, TRect{origin.X, origin.Y, origin.X + kCharWidth, origin.Y + kCharHeight}, *sheet);
    if (flash > 0)
        sheet->SecondaryControl().SetTone(0, 0, 0, 0, true);
    sheet->Opacity = 255;
}

void TGameWorld::Draw(TOrlenBoard& screen, int animCounter) {
    if (screen.Width() != kScreenW || screen.Height() != kScreenH)
        screen.SetSize(kScreenW, kScreenH);
    FillBoardRect(screen, TRect{0, 0, kScreenW, kScreenH}, 0);
    if (!mMap)
        return;
    if (mChipsMissing && mTestPlay)
        DrawCheckerboard(screen, 0, 0, kScreenW, kScreenH);
    const bool panorama = mPanorama->Width() > 0;
    if (panorama)
        DrawPanorama(screen);
    mTiles->Begin(*mChips, kCellPixels, animCounter);
    // Under a panorama the lower layer's clear pixels let it show through.
    mChips->SetTransparent(panorama || (mChipsMissing && mTestPlay));
    DrawLayerCells(screen, true, -1);
    mChips->SetTransparent(true);
    DrawLayerCells(screen, false, 0);

    std::vector<const TGameCharacter*> order[3];
    for (const auto& event : mEvents)
        if (event->Present())
            order[std::clamp(event->Priority, 0, 2)].push_back(event.get());
    for (const TGameVehicle& vehicle : mVehicles)
        if (vehicle.MapId == MapId())
            order[vehicle.Kind == vkAirship && mRiding == vkAirship ? prAbove : prSame].push_back(&vehicle);
    if (mRiding < 0)
        order[prSame].push_back(&mHero);
    // Same-level characters overlap from the top row down; the hero over events on his row.
    std::stable_sort(order[prSame].begin(), order[prSame].end(),
                     [](const TGameCharacter* a, const TGameCharacter* b) { return a->RealY < b->RealY; });
    for (const TGameCharacter* character : order[prBelow])
        DrawCharacter(screen, *character);
    for (const TGameCharacter* character : order[prSame])
        DrawCharacter(screen, *character);
    mChips->SetTransparent(true);
    DrawLayerCells(screen, false, 1);
    for (const TGameCharacter* character : order[prAbove])
        DrawCharacter(screen, *character);
}

}  // namespace quillon::runtime

namespace quillon::runtime {

void HashMix(std::uint64_t& hash, std::int64_t value) {
    // FNV-1a over the value's bytes.
    for (int i = 0; i < 8; ++i) {
        hash ^= static_cast<std::uint64_t>(value >> (8 * i)) & 0xFF;
        hash *= 0x100000001B3ull;
    }
}

void TGameWorld::HashDrawn(std::uint64_t& hash, int animCounter) const {
    HashMix(hash, mMap ? mMap->ID : 0);
    HashMix(hash, static_cast<std::int64_t>(mLookVersion));
    HashMix(hash, animCounter);
    HashMix(hash, mCameraX);
    HashMix(hash, mCameraY);
    HashMix(hash, mPanoramaAutoX);
    HashMix(hash, mPanoramaAutoY);
    HashMix(hash, mRiding);
    const auto character = [&hash](const TGameCharacter& c) {
        for (const std::int64_t value : {std::int64_t{c.RealX}, std::int64_t{c.RealY}, std::int64_t{c.Direction},
                                         std::int64_t{c.Pattern}, std::int64_t{c.Opacity}, std::int64_t{c.TileId},
                                         std::int64_t{c.CharIndex}, std::int64_t{c.JumpLift()},
                                         std::int64_t{c.FlashStrength()}})
            HashMix(hash, value);
        for (const char letter : c.CharSet)
            HashMix(hash, letter);
    };
    character(mHero);
    for (const TGameVehicle& vehicle : mVehicles) {
        HashMix(hash, vehicle.MapId);
        character(vehicle);
    }
    for (const auto& event : mEvents) {
        HashMix(hash, event->Present());
        HashMix(hash, event->Priority);
        character(*event);
    }
}

}  // namespace quillon::runtime
