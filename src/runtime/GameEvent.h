// A map event in play: its record, the page now active (the highest-numbered page whose
// conditions hold), what that page sets (graphic, movement, trigger, priority) and whether it
// was erased.
#pragma once

#include "runtime/GameCharacter.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quillon {
class TKelEventItem;
class TKelEventPageItem;
class TKelEventCondition;
}  // namespace quillon

namespace quillon::runtime {

class TGameState;
class TInterpreter;

enum TTrigger : int { trPushKey = 0, trHeroTouch = 1, trTouch = 2, trAutoStart = 3, trParallel = 4, trCall = 5 };
enum TMoveType : int {
    mtStay = 0, mtRandom = 1, mtCycleUpDown = 2, mtCycleLeftRight = 3, mtTowardHero = 4, mtAwayFromHero = 5,
    mtRoute = 6,
};

// Whether a page's start conditions hold.
bool ConditionsHold(const TKelEventCondition& condition, const TGameState& state);
// The page that is active: the highest-numbered one whose conditions hold, or null.
const TKelEventPageItem* ActivePage(const TKelEventItem& event, const TGameState& state);

class TGameEvent : public TGameCharacter {
public:
    explicit TGameEvent(const TKelEventItem& record);
    ~TGameEvent() override;

    const TKelEventItem& Record() const { return *mRecord; }
    std::int32_t Id() const;
    const TKelEventPageItem* Page() const { return mPage; }
    std::int32_t PageId() const;
    bool Erased = false;
    // Shown, touchable and started only while a page is active and it is not erased.
    bool Present() const { return mPage != nullptr && !Erased; }
    int Trigger() const { return mTrigger; }
    int MoveType() const { return mMoveType; }

    // Chooses the page for the state; a new page sets graphic and movement anew. True when it changed.
    bool Refresh(const TGameState& state, TGameWorld& world);
    // The page's own script running beside the game (parallel pages), or null.
    TInterpreter* Parallel() { return mParallel.get(); }
    void SetParallel(std::unique_ptr<TInterpreter> interpreter);
    // The direction it faced before a start turned it to the hero.
    int SavedDirection = -1;
    // Its place in the world's list of events.
    std::size_t Index = 0;

protected:
    void OwnMovement(TGameWorld& world) override;
    void Stepped(TGameWorld& world) override;
    void Bumped(TGameWorld& world, int x, int y) override;

private:
    void ApplyPage(TGameWorld& world);
    const TKelEventItem* mRecord;
    const TKelEventPageItem* mPage = nullptr;
    int mTrigger = trPushKey;
    int mMoveType = mtStay;
    bool mCycleBack = false;  // cycle movement: going the other way
    std::unique_ptr<TInterpreter> mParallel;
};

}  // namespace quillon::runtime
