#include "runtime/GameShopScene.h"

#include "data/LD_DataBase.h"
#include "runtime/GameHero.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kPad = 8;          // text inside a window's border
constexpr int kLineStep = 16;

// Whether the hero may wear the item in one of his slots.
bool MayWear(const TKelDataBase& database, const THeroState& hero, std::int32_t itemId) {
    for (int slot = 0; slot < kHeroSlots; ++slot)
        if (HeroMayEquip(database, hero, slot, itemId))
            return true;
    return false;
}

}  // namespace

std::int32_t TShopDeal::SellPrice(const TKelItemItem& item) { return std::max(0, item.Price) / 2; }

int TShopDeal::MaxBuy(std::int32_t itemId) const {
    const TKelItemItem* item = mDatabase.Item.FindByID(itemId);
    if (item == nullptr)
        return 0;
    const int room = kMaxItemCount - mState.ItemCount(itemId);
    if (item->Price <= 0)
        return room;
    return static_cast<int>(std::min<std::int64_t>(room, mState.Money() / item->Price));
}

int TShopDeal::MaxSell(std::int32_t itemId) const {
    const TKelItemItem* item = mDatabase.Item.FindByID(itemId);
    return item == nullptr || SellPrice(*item) <= 0 ? 0 : mState.ItemCount(itemId);
}

bool TShopDeal::Buy(std::int32_t itemId, int count) {
    if (count < 1 || count > MaxBuy(itemId))
        return false;
    const TKelItemItem* item = mDatabase.Item.FindByID(itemId);
    mState.SetMoney(static_cast<std::int64_t>(mState.Money()) - static_cast<std::int64_t>(std::max(0, item->Price)) * count);
    mState.SetItemCount(itemId, mState.ItemCount(itemId) + count);
    return true;
}

bool TShopDeal::Sell(std::int32_t itemId, int count) {
    if (count < 1 || count > MaxSell(itemId))
        return false;
    const TKelItemItem* item = mDatabase.Item.FindByID(itemId);
    mState.SetMoney(static_cast<std::int64_t>(mState.Money()) + static_cast<std::int64_t>(SellPrice(*item)) * count);
    mState.SetItemCount(itemId, mState.ItemCount(itemId) - count);
    return true;
}

TGameShopScene::TGameShopScene(TGameSession& session, int type, int style, const std::vector<std::int32_t>& goods)
    : mSession(session), mDatabase(session.Project().Database()), mDeal(mDatabase, session.State()),
      mType(std::clamp(type, 0, 2)), mStyle(std::clamp(style, 0, TKelVocabulary::kShopCount - 1)),
      mCommands(session.Skin(), {Message(smBuyCommand), Message(smSellCommand), Message(smLeaveCommand)},
                kListRect.Width()),
      mList(session.Skin(), kListRect) {
    for (const std::int32_t id : goods)
        if (mDatabase.Item.FindByID(id) != nullptr)
            mGoods.push_back(id);
    mCommands.SetPosition(kListRect.Left, kListRect.Top);
    mCommands.SetEnabled(0, mType != stSellOnly);
    mCommands.SetEnabled(1, mType != stBuyOnly);
    mCommands.SetIndex(mType == stSellOnly ? 1 : 0);
}

TGameShopScene::~TGameShopScene() = default;

std::string TGameShopScene::Message(TMessage message) const {
    return mDatabase.Vocabulary.Shop(mStyle).Text[static_cast<std::size_t>(message)];
}

void TGameShopScene::FillGoods() {
    std::vector<TListRow> rows;
    rows.reserve(mGoods.size());
    for (const std::int32_t id : mGoods) {
        const TKelItemItem* item = mDatabase.Item.FindByID(id);
        rows.push_back({item->Name, std::to_string(item->Price), mDeal.MaxBuy(id) > 0, id});
    }
    mList.SetRows(std::move(rows));
}

void TGameShopScene::FillBag() {
    std::vector<TListRow> rows;
    for (const auto& [id, count] : mSession.State().Items())
        if (const TKelItemItem* item = mDatabase.Item.FindByID(id))
            rows.push_back({item->Name, std::to_string(count), mDeal.MaxSell(id) > 0, id});
    mList.SetRows(std::move(rows));
}

const TKelItemItem* TGameShopScene::CurrentItem() const {
    if (mPhase == TPhase::BuyCount || mPhase == TPhase::SellCount)
        return mDatabase.Item.FindByID(mCountItem);
    if (mPhase != TPhase::Buy && mPhase != TPhase::Sell)
        return nullptr;
    const TListRow* row = mList.Current();
    return row ? mDatabase.Item.FindByID(row->Id) : nullptr;
}

void TGameShopScene::StartCount(bool buying) {
    mCountItem = mList.Current()->Id;
    mCountMax = buying ? mDeal.MaxBuy(mCountItem) : mDeal.MaxSell(mCountItem);
    mCount = 1;
    mPhase = buying ? TPhase::BuyCount : TPhase::SellCount;
    mShown = buying ? smBuyCount : smSellCount;
}

void TGameShopScene::UpdateCount(const TGameInput& input) {
    const bool buying = mPhase == TPhase::BuyCount;
    if (input.Pressed(gbCancel)) {
        PlaySystemSound(mSession, ssCancel);
        mPhase = buying ? TPhase::Buy : TPhase::Sell;
        mShown = buying ? smBuyItem : smSellItem;
        return;
    }
    if (input.Pressed(gbDecide)) {
        const bool made = buying ? mDeal.Buy(mCountItem, mCount) : mDeal.Sell(mCountItem, mCount);
        PlaySystemSound(mSession, made ? ssDecide : ssBuzzer);
        mDealt = mDealt || made;
        if (buying)
            FillGoods();
        else
            FillBag();
        mPhase = buying ? TPhase::Buy : TPhase::Sell;
        mShown = buying ? smBought : smSold;
        return;
    }
    int step = 0;
    if (input.Repeated(gbUp))
        step = 1;
    else if (input.Repeated(gbDown))
        step = -1;
    else if (input.Repeated(gbRight))
        step = 10;
    else if (input.Repeated(gbLeft))
        step = -10;
    const int count = std::clamp(mCount + step, 1, std::max(1, mCountMax));
    if (count != mCount) {
        mCount = count;
        PlaySystemSound(mSession, ssCursor);
    }
}

void TGameShopScene::Update(const TGameInput& input) {
    switch (mPhase) {
    case TPhase::Business: {
        const TMenuEvent event = mCommands.Update(input);
        PlayMenuSound(mSession, event);
        if (event == TMenuEvent::Cancelled || (event == TMenuEvent::Decided && mCommands.Index() == 2)) {
            mPhase = TPhase::Done;
        } else if (event == TMenuEvent::Decided) {
            const bool buying = mCommands.Index() == 0;
            mPhase = buying ? TPhase::Buy : TPhase::Sell;
            mShown = buying ? smBuyItem : smSellItem;
            mList.SetIndex(0);
            if (buying)
                FillGoods();
            else
                FillBag();
        }
        break;
    }
    case TPhase::Buy:
    case TPhase::Sell: {
        const TMenuEvent event = mList.Update(input);
        PlayMenuSound(mSession, event);
        if (event == TMenuEvent::Cancelled) {
            mPhase = TPhase::Business;
            mShown = smBusinessAgain;
        } else if (event == TMenuEvent::Decided) {
            StartCount(mPhase == TPhase::Buy);
        } else if (event == TMenuEvent::Moved && (mShown == smBought || mShown == smSold)) {
            mShown = mPhase == TPhase::Buy ? smBuyItem : smSellItem;
        }
        break;
    }
    case TPhase::BuyCount:
    case TPhase::SellCount: UpdateCount(input); break;
    case TPhase::Done: break;
    }
}

void TGameShopScene::DrawCount(TOrlenBoard& screen) {
    TGameSkin& skin = mSession.Skin();
    const TKelItemItem* item = mDatabase.Item.FindByID(mCountItem);
    const bool buying = mPhase == TPhase::BuyCount;
    const std::int32_t each = item == nullptr ? 0 : buying ? std::max(0, item->Price) : TShopDeal::SellPrice(*item);
    skin.DrawWindow(screen, kListRect);
    const int x = kListRect.Left + kPad, right = kListRect.Right - kPad;
    int y = kListRect.Top + 40;
    skin.DrawText(screen, x, y, item ? item->Name : std::string());
    const std::string count = "x " + std::to_string(mCount);
    skin.DrawCursor(screen, MakeBounds(right - TGameSkin::TextWidth(count) - 8, y - 2, TGameSkin::TextWidth(count) + 8, 16),
                    mSession.Frame());
    skin.DrawText(screen, right - 4 - TGameSkin::TextWidth(count), y, count);
    y += 2 * kLineStep;
    const std::string total = std::to_string(static_cast<std::int64_t>(each) * mCount) + Term(mDatabase, term::kMoneyUnit);
    skin.DrawText(screen, right - 4 - TGameSkin::TextWidth(total), y, total);
}

void TGameShopScene::Draw(TOrlenBoard& screen) {
    TGameSkin& skin = mSession.Skin();
    const TGameState& state = mSession.State();
    const TKelItemItem* item = CurrentItem();
    // The help line: the item's description.
    skin.DrawWindow(screen, kHelpRect);
    if (item != nullptr)
        skin.DrawText(screen, kHelpRect.Left + kPad, kHelpRect.Top + 10, item->Description);
    // The goods, the bag, the commands or the count.
    switch (mPhase) {
    case TPhase::Business: mCommands.Draw(screen); break;
    case TPhase::Buy:
    case TPhase::Sell: mList.Draw(screen); break;
    default: DrawCount(screen); break;
    }
    // The party's faces that can wear the item.
    skin.DrawWindow(screen, kPartyRect);
    if (item != nullptr) {
        int slot = 0;
        for (const std::int32_t heroId : state.Party()) {
            const THeroState* hero = state.Hero(heroId);
            if (hero == nullptr || !MayWear(mDatabase, *hero, item->ID))
                continue;
            skin.DrawFace(screen, kPartyRect.Left + kPad + (slot % 2) * kFaceSize,
                          kPartyRect.Top + kPad + (slot / 2) * kFaceSize, hero->FaceSet, hero->FaceIndex, false);
            ++slot;
        }
    }
    // Owned and worn.
    skin.DrawWindow(screen, kInfoRect);
    if (item != nullptr) {
        const int x = kInfoRect.Left + kPad, right = kInfoRect.Right - kPad;
        const std::string owned = std::to_string(state.ItemCount(item->ID));
        const std::string worn = std::to_string(state.EquippedCount(item->ID));
        skin.DrawText(screen, x, kInfoRect.Top + 8, Term(mDatabase, term::kOwned), 1);
        skin.DrawText(screen, right - TGameSkin::TextWidth(owned), kInfoRect.Top + 8, owned);
        skin.DrawText(screen, x, kInfoRect.Top + 26, Term(mDatabase, term::kEquipped), 1);
        skin.DrawText(screen, right - TGameSkin::TextWidth(worn), kInfoRect.Top + 26, worn);
    }
    // The shop's words and the money.
    skin.DrawWindow(screen, kMessageRect);
    skin.DrawText(screen, kMessageRect.Left + kPad, kMessageRect.Top + 10, Message(mShown));
    DrawMoney(skin, screen, kMessageRect.Right - kPad, kMessageRect.Top + 26, state.Money(),
              Term(mDatabase, term::kMoneyUnit));
}

}  // namespace quillon::runtime
