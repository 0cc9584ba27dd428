#include "runtime/GameEvent.h"

#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "runtime/GameState.h"
#include "runtime/GameWorld.h"
#include "runtime/Interpreter.h"

#include <algorithm>
#include <cstdlib>

namespace quillon::runtime {

bool ConditionsHold(const TKelEventCondition& c, const TGameState& state) {
    if ((c.Flags & TKelEventCondition::cfSwitchA) && !state.Switch(c.SwitchAId))
        return false;
    if ((c.Flags & TKelEventCondition::cfSwitchB) && !state.Switch(c.SwitchBId))
        return false;
    if ((c.Flags & TKelEventCondition::cfVariable) && state.Variable(c.VariableId) < c.VariableValue)
        return false;
    if ((c.Flags & TKelEventCondition::cfItem) && state.ItemCount(c.ItemId) + state.EquippedCount(c.ItemId) < 1)
        return false;
    if ((c.Flags & TKelEventCondition::cfHero) && !state.InParty(c.HeroId))
        return false;
    if ((c.Flags & TKelEventCondition::cfTimer) && (!state.TimerRunning || state.TimerSeconds() > c.TimerSeconds))
        return false;
    return true;
}

const TKelEventPageItem* ActivePage(const TKelEventItem& event, const TGameState& state) {
    const TKelEventPageItem* best = nullptr;
    for (int i = 0; i < event.Pages.Count(); ++i) {
        const TKelEventPageItem* page = event.Pages.Items(i);
        if (page != nullptr && (best == nullptr || page->ID > best->ID) && ConditionsHold(page->Condition, state))
            best = page;
    }
    return best;
}

TGameEvent::TGameEvent(const TKelEventItem& record) : mRecord(&record) { PlaceAt(record.X, record.Y); }

TGameEvent::~TGameEvent() = default;

std::int32_t TGameEvent::Id() const { return mRecord->ID; }
std::int32_t TGameEvent::PageId() const { return mPage != nullptr ? mPage->ID : 0; }

void TGameEvent::SetParallel(std::unique_ptr<TInterpreter> interpreter) { mParallel = std::move(interpreter); }

bool TGameEvent::Refresh(const TGameState& state, TGameWorld& world) {
    const TKelEventPageItem* page = Erased ? nullptr : ActivePage(*mRecord, state);
    if (page == mPage)
        return false;
    mPage = page;
    ApplyPage(world);
    return true;
}

void TGameEvent::ApplyPage(TGameWorld& world) {
    mParallel.reset();
    StopRoute();
    SavedDirection = -1;
    Through = false;
    DirectionFixed = false;
    AnimationStopped = false;
    if (mPage == nullptr) {
        CharSet.clear();
        TileId = -1;
        mTrigger = trPushKey;
        mMoveType = mtStay;
        return;
    }
    const TKelEventPageItem& page = *mPage;
    CharSet = page.GraphicName;
    CharIndex = page.GraphicIndex;
    TileId = page.GraphicName.empty() ? kTileUpperFirst + std::clamp(page.GraphicIndex, 0, kPlainTileCount - 1) : -1;
    if (TileId == kTileUpperFirst)
        TileId = -1;  // the empty chip shows nothing
    Direction = page.GraphicDirection & 3;
    Pattern = std::clamp(page.GraphicPattern, 0, 2);
    Opacity = page.Transparent ? 160 : 255;
    Priority = std::clamp<int>(page.Priority, prBelow, prAbove);
    NoOverlap = page.NoOverlap != 0;
    AnimationType = page.AnimationType;
    Speed = std::clamp(page.MoveSpeed, 1, 6);
    Frequency = std::clamp(page.MoveFrequency, 1, 8);
    mTrigger = page.Trigger;
    mMoveType = page.MoveType;
    mCycleBack = false;
    mWaitFrames = 0;
    if (!CharSet.empty())
        world.UseCharSet(CharSet);
    if (mMoveType == mtRoute)
        StartRoute(page.MoveRoute, false, 0);
}

void TGameEvent::OwnMovement(TGameWorld& world) {
    if (!Present())
        return;
    const TGameCharacter& hero = world.Hero();
    const auto towardHero = [&]() {
        const int dx = world.WrappedDx(X, hero.X);
        const int dy = world.WrappedDy(Y, hero.Y);
        if (dx != 0 && std::abs(dx) >= std::abs(dy))
            return dx > 0 ? int(dRight) : int(dLeft);
        return dy > 0 ? int(dDown) : int(dUp);
    };
    bool moved = true;
    switch (mMoveType) {
    case mtRandom: moved = Step(world, world.Random().Below(4)); break;
    case mtCycleUpDown:
    case mtCycleLeftRight: {
        const int forward = mMoveType == mtCycleUpDown ? dDown : dRight;
        const int direction = mCycleBack ? (forward + 2) & 3 : forward;
        if (!Step(world, direction)) {
            mCycleBack = !mCycleBack;
            Turn(direction + 2);
        }
        break;
    }
    case mtTowardHero: moved = Step(world, towardHero()); break;
    case mtAwayFromHero: moved = Step(world, (towardHero() + 2) & 3); break;
    default: return;
    }
    (void)moved;
    static constexpr int kWait[9] = {128, 128, 96, 64, 48, 32, 16, 8, 0};
    mWaitFrames = kWait[std::clamp(Frequency, 1, 8)];
    if (mMoveType == mtRandom && mWaitFrames > 0)
        mWaitFrames += world.Random().Below(mWaitFrames / 2 + 1) - mWaitFrames / 4;
}

void TGameEvent::Stepped(TGameWorld& world) { world.CharacterMoved(*this, PrevX, PrevY); }

void TGameEvent::Bumped(TGameWorld& world, int x, int y) {
    const TGameCharacter& hero = world.Hero();
    if (mTrigger == trTouch && Present() && Priority == prSame && hero.X == x && hero.Y == y)
        world.RequestStart(Id(), trTouch);
}

}  // namespace quillon::runtime
