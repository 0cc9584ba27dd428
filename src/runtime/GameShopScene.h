// The shop of "Call Shop": buying, selling or both as the shop's type says, in one of the
// vocabulary's three message styles. TShopDeal holds the rules (what the party may buy or sell and
// for how much); TGameShopScene shows them.
#pragma once

#include "runtime/GameListWindow.h"
#include "runtime/GameOverlay.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillon {
class TKelDataBase;
class TKelItemItem;
}  // namespace quillon

namespace quillon::runtime {

class TGameState;

// The shop's types.
enum TShopType : int { stBuyAndSell = 0, stBuyOnly = 1, stSellOnly = 2 };

class TShopDeal {
public:
    TShopDeal(const TKelDataBase& database, TGameState& state) : mDatabase(database), mState(state) {}

    // What the shop pays for one: half the price, rounded down.
    static std::int32_t SellPrice(const TKelItemItem& item);
    // How many of an item the party can buy now: no more than the bag holds (99 of each) and the
    // money pays for; 0 for an item the database lacks.
    int MaxBuy(std::int32_t itemId) const;
    // How many the shop takes: all the party holds, none of an item without a price.
    int MaxSell(std::int32_t itemId) const;
    // Makes the deal when it is within the limits; answers whether it was made.
    bool Buy(std::int32_t itemId, int count);
    bool Sell(std::int32_t itemId, int count);

private:
    const TKelDataBase& mDatabase;
    TGameState& mState;
};

class TGameShopScene : public TGameOverlay {
public:
    // goods: the item IDs offered (IDs the database lacks are left out).
    TGameShopScene(TGameSession& session, int type, int style, const std::vector<std::int32_t>& goods);
    ~TGameShopScene() override;

    void Update(const TGameInput& input) override;
    void Draw(TOrlenBoard& screen) override;
    bool Done() const override { return mPhase == TPhase::Done; }
    const char* SceneName() const override { return "shop"; }
    bool Succeeded() const override { return mDealt; }

    // The window layout (tests read it).
    static constexpr TRect kHelpRect{0, 0, 320, 32};
    static constexpr TRect kListRect{0, 32, 184, 192};
    static constexpr TRect kPartyRect{184, 32, 320, 144};
    static constexpr TRect kInfoRect{184, 144, 320, 192};
    static constexpr TRect kMessageRect{0, 192, 320, 240};  // the shop's words, the money below them

private:
    enum class TPhase { Business, Buy, BuyCount, Sell, SellCount, Done };
    enum TMessage : int { smBusiness = 0, smBusinessAgain, smBuyCommand, smSellCommand, smLeaveCommand, smBuyItem,
                          smBuyCount, smBought, smSellItem, smSellCount, smSold };

    std::string Message(TMessage message) const;
    void FillGoods();
    void FillBag();
    void StartCount(bool buying);
    void UpdateCount(const TGameInput& input);
    const TKelItemItem* CurrentItem() const;
    void DrawCount(TOrlenBoard& screen);

    TGameSession& mSession;
    const TKelDataBase& mDatabase;
    TShopDeal mDeal;
    int mType;
    int mStyle;
    std::vector<std::int32_t> mGoods;
    TGameCommandWindow mCommands;
    TGameListWindow mList;
    TPhase mPhase = TPhase::Business;
    TMessage mShown = smBusiness;
    bool mDealt = false;
    std::int32_t mCountItem = 0;
    int mCount = 1;
    int mCountMax = 1;
};

}  // namespace quillon::runtime
