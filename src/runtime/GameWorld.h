// The map scene's world: the map being played with its chipset, the hero and the events, where
// each may step (the chipset's passability and the other characters), the camera that follows
// the hero, and the drawing of it all (panorama, both layers, characters by priority).
#pragma once

#include "runtime/GameCharacter.h"
#include "runtime/GameEvent.h"
#include "runtime/GameRandom.h"
#include "runtime/GameVehicle.h"

#include <array>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quillon {
class TKelMap;
class TKelGroundItem;
class TKelChipSetGraphic;
class TKelCharSetGraphic;
class TMapTileCache;
class TOrlenBoard;
class TOrlenSheet;
struct TKelMoveRouteItem;
}  // namespace quillon

namespace quillon::runtime {

class TGameProject;
class TGameState;
class IGameAudio;
class TGameInput;
class TGameWorld;
struct TSavedMapLook;

// Mixes a value into a 64-bit hash of what is drawn.
void HashMix(std::uint64_t& hash, std::int64_t value);

// The hero on the map: walks at the buttons' bidding.
class TGameHero : public TGameCharacter {
protected:
    void Bumped(TGameWorld& world, int x, int y) override;
};

// An event that asked to start: by its trigger, or by the decide key.
struct TStartRequest {
    std::int32_t EventId = 0;
    int Trigger = 0;
};

class TGameWorld {
public:
    TGameWorld(TGameProject& project, TGameState& state, TGameRandom& random, IGameAudio& audio, bool testPlay);
    ~TGameWorld();
    TGameWorld(const TGameWorld&) = delete;
    TGameWorld& operator=(const TGameWorld&) = delete;

    // Loads map `mapId` (kept when it is the one loaded) and puts the hero at (x, y). Refuses a
    // missing or damaged map and a cell outside it, leaving the world as it was.
    bool Enter(std::int32_t mapId, int x, int y, std::string& error);
    // Takes a map already read (tests, benchmarks).
    void Enter(std::shared_ptr<TKelMap> map, int x, int y);
    bool HasMap() const { return mMap != nullptr; }
    std::int32_t MapId() const;
    const TKelMap& Map() const { return *mMap; }
    // The map, kept alive by the scripts of its events while they run.
    std::shared_ptr<const void> MapHandle() const { return mMap; }
    TGameHero& Hero() { return mHero; }
    const TGameHero& Hero() const { return mHero; }
    std::vector<std::unique_ptr<TGameEvent>>& Events() { return mEvents; }
    const std::vector<std::unique_ptr<TGameEvent>>& Events() const { return mEvents; }
    TGameEvent* EventById(std::int32_t id);
    TGameState& State() { return mState; }
    TGameRandom& Random() { return mRandom; }

    // Movement rules.
    bool InMap(int x, int y) const;
    void Wrap(int& x, int& y) const;
    int WrappedDx(int fromX, int toX) const;
    int WrappedDy(int fromY, int toY) const;
    // Whether the tile at (x, y) lets a character leave or enter it toward `direction`.
    bool TilePassable(int x, int y, int direction) const;
    bool IsCounter(int x, int y) const;
    // Whether another character stands in the way at (x, y).
    bool Blocked(const TGameCharacter& mover, int x, int y) const;
    bool CanStep(const TGameCharacter& mover, int x, int y, int dx, int dy) const;
    bool CanLand(const TGameCharacter& mover, int x, int y) const;
    // The events at a cell (present ones), in ID order.
    std::vector<TGameEvent*> EventsAt(int x, int y);

    // What routes ask of the world.
    void RouteSwitch(std::int32_t id, bool on);
    void RouteSound(const TKelMoveRouteItem& item);
    void UseCharSet(const std::string& name);
    // An event stepped from (oldX, oldY) to its cell.
    void CharacterMoved(TGameEvent& event, int oldX, int oldY);

    // One frame: pages, the hero (when he may walk), the events; touches become start requests.
    void RefreshPages();
    void Update(const TGameInput& input, bool heroMayWalk, bool eventsMove = true);
    // The decide key: the event under the hero or in front of him (across a counter).
    void CheckPushKey();
    void RequestStart(std::int32_t eventId, int trigger);
    std::vector<TStartRequest> TakeStarts();
    // Whether a character still follows a forced route that ends by itself.
    bool AnyForcedRoute() const;
    // Ends the routes that scripts set ("Stop All Movement").
    void StopForcedRoutes();

    // The terrain of a cell (its lower chip's), and that terrain's record (null when it does not exist).
    std::int32_t TerrainIdAt(int x, int y) const;
    const TKelGroundItem* TerrainAt(int x, int y) const;
    // The first present event at a cell, or 0.
    std::int32_t EventIdAt(int x, int y);
    // Puts a character on a cell of this map at once (an event is filed under its new cell).
    void PlaceCharacter(TGameCharacter& character, int x, int y);

    // Vehicles: where they stand, the one the hero rides (-1: none).
    TGameVehicle& Vehicle(int kind) { return mVehicles[static_cast<std::size_t>(kind)]; }
    const TGameVehicle& Vehicle(int kind) const { return mVehicles[static_cast<std::size_t>(kind)]; }
    int Riding() const { return mRiding; }
    // The vehicle on this map in front of the hero (or under him), or -1.
    int VehicleFaced() const;
    // The hero boards a vehicle of this map: he moves onto its cell.
    bool Board(int kind);
    // The hero gets off: from a boat or ship onto the walkable cell in front, from the airship
    // where it may land. False (and nothing changes) when he may not.
    bool LeaveVehicle();

    // What map commands change while the map is shown (a new visit reads the map file again).
    bool ChangeChipSet(std::int32_t chipSetId);
    void ChangePanorama(const std::string& name, bool panX, bool panY, bool autoX, int speedX, bool autoY, int speedY);
    // Every cell of a layer that shows chip `from` shows chip `to` instead (0-based chip indexes).
    void SubstituteChip(bool lower, int from, int to);
    // What those commands changed, as a save keeps it, and put back on the same map (a layer
    // of another size, a chipset the database lacks, are left as the map file has them).
    TSavedMapLook SavedLook() const;
    void RestoreLook(const TSavedMapLook& look);

    // The camera's top-left in map pixels, following the hero.
    void UpdateCamera();
    int CameraX() const { return mCameraX; }
    int CameraY() const { return mCameraY; }
    // Pan Screen: the camera held at a map pixel position (kept inside the map as the hero's
    // camera is) instead of following the hero; where it would be following him.
    void HoldCamera(bool hold, int x = 0, int y = 0);
    bool CameraHeld() const { return mCameraHeld; }
    int HeldCameraX() const { return mHeldX; }
    int HeldCameraY() const { return mHeldY; }
    int FollowCameraX() const { return mFollowX; }
    int FollowCameraY() const { return mFollowY; }
    void Draw(TOrlenBoard& screen, int animCounter);
    // Mixes into `hash` everything Draw shows (camera, characters, the map's look): equal hashes
    // draw equal pictures.
    void HashDrawn(std::uint64_t& hash, int animCounter) const;

private:
    void LoadGraphics();
    void BuildEvents();
    void IndexEvent(std::size_t index);
    void UnindexEvent(std::size_t index, int x, int y);
    int Cell(int x, int y) const { return x + y * mWidth; }
    void CheckHeroArrival();
    bool VehicleAt(int x, int y) const;
    void DrawLayerCells(TOrlenBoard& screen, bool lower, int starPass);
    void DrawCharacter(TOrlenBoard& screen, const TGameCharacter& character);
    void DrawPanorama(TOrlenBoard& screen);
    int ScreenX(int mapPixelX) const;
    int ScreenY(int mapPixelY) const;

    TGameProject& mProject;
    TGameState& mState;
    TGameRandom& mRandom;
    IGameAudio& mAudio;
    bool mTestPlay;
    std::shared_ptr<TKelMap> mMap;
    std::unique_ptr<TKelChipSetGraphic> mChips;
    std::unique_ptr<TKelCharSetGraphic> mCharSets;
    std::unique_ptr<TMapTileCache> mTiles;
    std::unique_ptr<TOrlenSheet> mPanorama;
    std::set<std::string> mMissingCharSets;
    bool mChipsMissing = false;
    TGameHero mHero;
    std::array<TGameVehicle, kVehicleCount> mVehicles;
    int mRiding = -1;
    std::vector<std::unique_ptr<TGameEvent>> mEvents;
    std::vector<int> mCellHead;  // first event index at each cell, -1 none
    std::vector<int> mNext;      // next event index at the same cell
    std::vector<TStartRequest> mStarts;
    std::uint64_t mPagesVersion = 0;
    int mWidth = 0;
    int mHeight = 0;
    bool mLoopX = false;
    bool mLoopY = false;
    int mCameraX = 0;
    int mCameraY = 0;
    bool mCameraHeld = false;
    int mHeldX = 0;
    int mHeldY = 0;
    int mFollowX = 0;
    int mFollowY = 0;
    int mPanoramaAutoX = 0;
    int mPanoramaAutoY = 0;
    bool mHeroWasMoving = false;
    bool mHasTimerPages = false;
    std::uint64_t mLookVersion = 0;  // counts changes of the map's chips, chipset and panorama
    // What the map commands changed of this visit's map.
    bool mChipsChanged = false;
    bool mChipSetChanged = false;
    bool mPanoramaChanged = false;
};

}  // namespace quillon::runtime
