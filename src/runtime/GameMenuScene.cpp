#include "runtime/GameMenuScene.h"

#include "data/LD_DataBase.h"
#include "data/LD_MapTree.h"
#include "runtime/GameHero.h"
#include "runtime/GameItemUse.h"
#include "runtime/GameWorld.h"
#include "runtime/GameProject.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

constexpr int kPad = 8;
constexpr int kTextLine = 12;
constexpr int kSystemColour = 1;  // labels
constexpr int kBetterColour = 3;  // a parameter the previewed item raises
constexpr int kWorseColour = 2;   // … or lowers
constexpr int kConfirmY = 96;
constexpr int kParameterTerms[4] = {term::kAttack, term::kDefense, term::kMind, term::kAgility};

std::vector<std::string> CommandTexts(const TKelDataBase& database) {
    return {Term(database, term::kItem), Term(database, term::kSkill), Term(database, term::kEquipment),
            Term(database, term::kSave), Term(database, term::kEndGame)};
}

// The hero's most pressing condition (the highest priority) and its colour, or "Normal".
std::pair<std::string, int> ConditionText(const TKelDataBase& database, const THeroState& hero) {
    const TKelStatusItem* shown = nullptr;
    for (const std::int32_t id : hero.Conditions)
        if (const TKelStatusItem* condition = database.Status.FindByID(id))
            if (shown == nullptr || condition->Priority > shown->Priority)
                shown = condition;
    if (shown == nullptr)
        return {Term(database, term::kNormal), 0};
    return {shown->Name, std::clamp(shown->Color, 0, 19)};
}

// Experience now and the total the next level asks for ("------" at the highest level).
std::string ExpText(const TKelDataBase& database, const THeroState& hero) {
    const std::string next = hero.Level < HeroMaxLevel(database, hero)
                                 ? std::to_string(HeroExpForLevel(database, hero, hero.Level + 1))
                                 : std::string("------");
    return std::to_string(hero.Exp) + "/" + next;
}

std::string Count(int count) { return ":" + std::to_string(count); }

}  // namespace

TGameMenuScene::TGameMenuScene(TGameSession& session)
    : mSession(session), mDatabase(session.Project().Database()),
      mCommands(session.Skin(), CommandTexts(mDatabase), kCommandRect.Width()),
      mHeroCursor(static_cast<int>(session.State().Party().size()), 1), mItems(session.Skin(), kItemListRect, 2),
      mSkills(session.Skin(), kSkillListRect, 2), mSlotItems(session.Skin(), kEquipListRect, 2),
      mPlaces(session.Skin(), kPlaceListRect, 1),
      mTargetCursor(mHeroCursor.Count(), 1) {
    mCommands.SetPosition(kCommandRect.Left, kCommandRect.Top);
    mCommands.SetEnabled(mcSave, session.SaveAllowed());
}

TGameMenuScene::~TGameMenuScene() = default;

THeroState* TGameMenuScene::ChosenHero() {
    const std::vector<std::int32_t>& party = mSession.State().Party();
    if (mHeroCursor.Index() >= static_cast<int>(party.size()))
        return nullptr;
    return mSession.State().Hero(party[static_cast<std::size_t>(mHeroCursor.Index())]);
}

void TGameMenuScene::Update(const TGameInput& input) {
    ++mStep;
    switch (mPhase) {
    case TPhase::Commands: UpdateCommands(input); break;
    case TPhase::Hero: UpdateHero(input); break;
    case TPhase::Items: UpdateItems(input); break;
    case TPhase::Skills: UpdateSkills(input); break;
    case TPhase::ItemTarget:
    case TPhase::SkillTarget: UpdateTarget(input); break;
    case TPhase::Slots: UpdateSlots(input); break;
    case TPhase::SlotItems: UpdateSlotItems(input); break;
    case TPhase::Status:
        if (input.Pressed(gbCancel) || input.Pressed(gbDecide)) {
            PlaySystemSound(mSession, ssCancel);
            mPhase = TPhase::Hero;
        }
        break;
    case TPhase::Confirm: UpdateConfirm(input); break;
    case TPhase::Places: UpdatePlaces(input); break;
    case TPhase::Done: break;
    }
}

void TGameMenuScene::UpdateCommands(const TGameInput& input) {
    if (input.Pressed(gbRight) && mHeroCursor.Count() > 0) {
        PlaySystemSound(mSession, ssCursor);
        mHeroFor = -1;
        mPhase = TPhase::Hero;
        return;
    }
    const TMenuEvent event = mCommands.Update(input);
    PlayMenuSound(mSession, event);
    if (event == TMenuEvent::Cancelled) {
        mPhase = TPhase::Done;
        return;
    }
    if (event != TMenuEvent::Decided)
        return;
    switch (mCommands.Index()) {
    case mcItem:
        FillItems();
        mPhase = TPhase::Items;
        break;
    case mcSave:
        mExit = TScreenExit::Save;
        mPhase = TPhase::Done;
        break;
    case mcEndGame:
        mConfirm = std::make_unique<TGameCommandWindow>(
            mSession.Skin(), std::vector<std::string>{Term(mDatabase, term::kYes), Term(mDatabase, term::kNo)});
        mConfirm->CentreAt(kScreenWidth, kConfirmY);
        mConfirm->SetIndex(1);
        mPhase = TPhase::Confirm;
        break;
    default:
        if (mHeroCursor.Count() == 0) {
            PlaySystemSound(mSession, ssBuzzer);
            break;
        }
        mHeroFor = mCommands.Index();
        mPhase = TPhase::Hero;
        break;
    }
}

void TGameMenuScene::UpdateHero(const TGameInput& input) {
    if (input.Pressed(gbCancel)) {
        PlaySystemSound(mSession, ssCancel);
        mPhase = TPhase::Commands;
        return;
    }
    if (input.Pressed(gbDecide)) {
        PlaySystemSound(mSession, ssDecide);
        if (mHeroFor == mcSkill) {
            mSkills.SetIndex(0);
            FillSkills();
            mPhase = TPhase::Skills;
        } else if (mHeroFor == mcEquipment) {
            mSlotCursor.SetIndex(0);
            mPhase = TPhase::Slots;
        } else {
            mPhase = TPhase::Status;
        }
        return;
    }
    if (mHeroCursor.Move(input))
        PlaySystemSound(mSession, ssCursor);
}

void TGameMenuScene::UpdateConfirm(const TGameInput& input) {
    const TMenuEvent event = mConfirm->Update(input);
    PlayMenuSound(mSession, event);
    if (event == TMenuEvent::Cancelled || (event == TMenuEvent::Decided && mConfirm->Index() == 1)) {
        mConfirm.reset();
        mPhase = TPhase::Commands;
    } else if (event == TMenuEvent::Decided) {
        mExit = TScreenExit::Title;
        mPhase = TPhase::Done;
    }
}

void TGameMenuScene::FillItems() {
    std::vector<TListRow> rows;
    for (const auto& [id, count] : mSession.State().Items())
        if (const TKelItemItem* item = mDatabase.Item.FindByID(id))
            rows.push_back({item->Name, Count(count), Usable(ItemMenuUse(mDatabase, *item)), id});
    mItems.SetRows(std::move(rows));
}

void TGameMenuScene::FillSkills() {
    std::vector<TListRow> rows;
    if (const THeroState* hero = ChosenHero())
        for (const std::int32_t id : hero->Skills)
            if (const TKelSkillItem* skill = mDatabase.Skill.FindByID(id)) {
                const std::int32_t cost = HeroMpCost(mDatabase, *hero, skill->MpCost);
                rows.push_back({skill->Name, std::to_string(cost),
                                Usable(SkillMenuUse(mDatabase, *skill)) && hero->Mp >= cost, id});
            }
    mSkills.SetRows(std::move(rows));
}

void TGameMenuScene::UpdateItems(const TGameInput& input) {
    const TMenuEvent event = mItems.Update(input);
    PlayMenuSound(mSession, event);
    if (event == TMenuEvent::Cancelled) {
        mPhase = TPhase::Commands;
        return;
    }
    if (event != TMenuEvent::Decided)
        return;
    const TKelItemItem* item = mDatabase.Item.FindByID(mItems.Current()->Id);
    const TMenuUse use = ItemMenuUse(mDatabase, *item);
    if (use == TMenuUse::Switch) {
        UseItem(mSession.State(), *item, nullptr);
        PlaySystemSound(mSession, ssItemUse);
        mPhase = TPhase::Done;  // the map runs what the switch starts
        return;
    }
    if (use == TMenuUse::Teleport || use == TMenuUse::Escape) {
        BeginLeaving(use, TPhase::Items);
        return;
    }
    mWholeParty = use == TMenuUse::OnParty;
    mTargetFor = TPhase::Items;
    mPhase = TPhase::ItemTarget;
}

void TGameMenuScene::UpdateSkills(const TGameInput& input) {
    const TMenuEvent event = mSkills.Update(input);
    PlayMenuSound(mSession, event);
    if (event == TMenuEvent::Cancelled) {
        mPhase = TPhase::Hero;
        return;
    }
    if (event != TMenuEvent::Decided)
        return;
    THeroState* user = ChosenHero();
    const TKelSkillItem* skill = mDatabase.Skill.FindByID(mSkills.Current()->Id);
    const TMenuUse use = SkillMenuUse(mDatabase, *skill);
    if (use == TMenuUse::Teleport || use == TMenuUse::Escape) {
        BeginLeaving(use, TPhase::Skills);
        return;
    }
    if (use == TMenuUse::Switch || use == TMenuUse::OnUser) {
        const bool used = UseSkill(mSession.State(), *user, *skill, nullptr);
        PlaySystemSound(mSession, used ? ssItemUse : ssBuzzer);
        if (used && use == TMenuUse::Switch)
            mPhase = TPhase::Done;
        FillSkills();
        return;
    }
    mWholeParty = use == TMenuUse::OnParty;
    mTargetFor = TPhase::Skills;
    mPhase = TPhase::SkillTarget;
}

void TGameMenuScene::UpdateTarget(const TGameInput& input) {
    // The hero cursor moves over the party; the list's cursor keeps the user (skills) apart.
    const std::vector<std::int32_t>& party = mSession.State().Party();
    if (input.Pressed(gbCancel)) {
        PlaySystemSound(mSession, ssCancel);
        mPhase = mTargetFor;
        return;
    }
    if (!input.Pressed(gbDecide)) {
        if (!mWholeParty && mTargetCursor.Move(input))
            PlaySystemSound(mSession, ssCursor);
        return;
    }
    TGameState& state = mSession.State();
    THeroState* target =
        mWholeParty || mTargetCursor.Index() >= static_cast<int>(party.size())
            ? nullptr
            : state.Hero(party[static_cast<std::size_t>(mTargetCursor.Index())]);
    bool used = false;
    if (mTargetFor == TPhase::Items) {
        const TKelItemItem* item = mDatabase.Item.FindByID(mItems.Current()->Id);
        used = item != nullptr && (mWholeParty || target != nullptr) && UseItem(state, *item, target);
        FillItems();
        if (used && (mItems.Current() == nullptr || mItems.Current()->Id != item->ID))
            mPhase = TPhase::Items;  // the last one is gone
    } else {
        const TKelSkillItem* skill = mDatabase.Skill.FindByID(mSkills.Current()->Id);
        THeroState* user = ChosenHero();
        used = skill != nullptr && user != nullptr && (mWholeParty || target != nullptr) &&
               UseSkill(state, *user, *skill, target);
        FillSkills();
        if (used && (mSkills.Current() == nullptr || !mSkills.Current()->Enabled))
            mPhase = TPhase::Skills;  // no MP left for another
    }
    PlaySystemSound(mSession, used ? ssItemUse : ssBuzzer);
}

bool TGameMenuScene::Usable(TMenuUse use) const {
    if (use == TMenuUse::Teleport || use == TMenuUse::Escape)
        return !LeavingPlaces(use, mSession.Project().MapTree(), mSession.World().MapId(), mSession.MapState()).empty();
    return use != TMenuUse::Refused;
}

void TGameMenuScene::BeginLeaving(TMenuUse use, TPhase from) {
    mPlaceList = LeavingPlaces(use, mSession.Project().MapTree(), mSession.World().MapId(), mSession.MapState());
    mPlacesFor = from;
    if (mPlaceList.empty()) {
        PlaySystemSound(mSession, ssBuzzer);
        return;
    }
    if (use == TMenuUse::Escape) {
        Leave(mPlaceList.front());
        return;
    }
    std::vector<TListRow> rows;
    for (const TTeleportPlace& place : mPlaceList) {
        const TKelMapTreeItem* map = mSession.Project().MapTree().FindByID(place.Place.MapId);
        rows.push_back({map ? map->Name : std::to_string(place.Place.MapId), "", true, place.Place.MapId});
    }
    mPlaces.SetRows(std::move(rows));
    mPlaces.SetIndex(0);
    mPhase = TPhase::Places;
}

void TGameMenuScene::UpdatePlaces(const TGameInput& input) {
    const TMenuEvent event = mPlaces.Update(input);
    PlayMenuSound(mSession, event);
    if (event == TMenuEvent::Cancelled)
        mPhase = mPlacesFor;
    else if (event == TMenuEvent::Decided)
        Leave(mPlaceList[static_cast<std::size_t>(mPlaces.Index())]);
}

void TGameMenuScene::Leave(const TTeleportPlace& place) {
    TGameState& state = mSession.State();
    bool paid = false;
    if (mPlacesFor == TPhase::Items) {
        const TKelItemItem* item = mItems.Current() ? mDatabase.Item.FindByID(mItems.Current()->Id) : nullptr;
        paid = item != nullptr && UseItem(state, *item, nullptr);
    } else {
        const TKelSkillItem* skill = mSkills.Current() ? mDatabase.Skill.FindByID(mSkills.Current()->Id) : nullptr;
        THeroState* user = ChosenHero();
        paid = skill != nullptr && user != nullptr && UseSkill(state, *user, *skill, nullptr);
    }
    if (!paid) {
        PlaySystemSound(mSession, ssBuzzer);
        mPhase = mPlacesFor;
        return;
    }
    PlaySystemSound(mSession, ssItemUse);
    std::string error;
    if (!mSession.Teleport(place.Place.MapId, place.Place.X, place.Place.Y, error))
        mSession.Report(error);
    else if (place.SwitchId > 0)
        state.SetSwitch(place.SwitchId, true);
    mPhase = TPhase::Done;
}

void TGameMenuScene::FillSlotItems() {
    std::vector<TListRow> rows;
    const THeroState* hero = ChosenHero();
    const int slot = mSlotCursor.Index();
    if (hero != nullptr)
        for (const auto& [id, count] : mSession.State().Items())
            if (HeroMayEquip(mDatabase, *hero, slot, id))
                rows.push_back({mDatabase.Item.FindByID(id)->Name, Count(count), true, id});
    rows.push_back({"", "", true, 0});  // takes the item off
    mSlotItems.SetRows(std::move(rows));
}

void TGameMenuScene::Preview() {
    const THeroState* hero = ChosenHero();
    const TListRow* row = mSlotItems.Current();
    mPreviewing = hero != nullptr && row != nullptr;
    if (!mPreviewing)
        return;
    TGameState preview(mSession.State());
    THeroState& trial = *preview.Hero(hero->Id);
    if (row->Id == 0)
        UnequipHero(preview, trial, mSlotCursor.Index());
    else
        EquipHero(preview, trial, mSlotCursor.Index(), row->Id);
    for (int p = 0; p < kHeroParameters; ++p)
        mPreview[static_cast<std::size_t>(p)] = HeroParameter(mDatabase, trial, p);
}

void TGameMenuScene::UpdateSlots(const TGameInput& input) {
    if (input.Pressed(gbCancel)) {
        PlaySystemSound(mSession, ssCancel);
        mPhase = TPhase::Hero;
        return;
    }
    if (input.Pressed(gbDecide)) {
        const THeroState* hero = ChosenHero();
        if (hero == nullptr || HeroEquipmentFixed(mDatabase, *hero)) {
            PlaySystemSound(mSession, ssBuzzer);
            return;
        }
        PlaySystemSound(mSession, ssDecide);
        mSlotItems.SetIndex(0);
        FillSlotItems();
        Preview();
        mPhase = TPhase::SlotItems;
        return;
    }
    if (mSlotCursor.Move(input))
        PlaySystemSound(mSession, ssCursor);
}

void TGameMenuScene::UpdateSlotItems(const TGameInput& input) {
    const TMenuEvent event = mSlotItems.Update(input);
    if (event == TMenuEvent::Moved)
        Preview();
    if (event == TMenuEvent::Cancelled) {
        PlayMenuSound(mSession, event);
        mPreviewing = false;
        mPhase = TPhase::Slots;
        return;
    }
    if (event != TMenuEvent::Decided) {
        PlayMenuSound(mSession, event);
        return;
    }
    THeroState* hero = ChosenHero();
    const std::int32_t id = mSlotItems.Current()->Id;
    const int slot = mSlotCursor.Index();
    const bool done = id == 0 ? (UnequipHero(mSession.State(), *hero, slot), true)
                              : EquipHero(mSession.State(), *hero, slot, id);
    PlaySystemSound(mSession, done ? ssDecide : ssBuzzer);
    if (done) {
        mSession.State().Touch();
        mPreviewing = false;
        mPhase = TPhase::Slots;
    }
}

// Drawing.

int TGameMenuScene::DrawLabelled(TOrlenBoard& screen, int x, int y, int label, const std::string& value) {
    TGameSkin& skin = mSession.Skin();
    const int at = skin.DrawText(screen, x, y, Term(mDatabase, label), kSystemColour);
    return skin.DrawText(screen, at + 4, y, value);
}

void TGameMenuScene::DrawHeroLines(TOrlenBoard& screen, int x, int y, const THeroState& hero) {
    TGameSkin& skin = mSession.Skin();
    const int second = x + 76;
    skin.DrawText(screen, x, y, hero.Name);
    skin.DrawText(screen, second, y, hero.Degree);
    y += kTextLine;
    DrawLabelled(screen, x, y, term::kLevelShort, std::to_string(hero.Level));
    const auto [condition, colour] = ConditionText(mDatabase, hero);
    skin.DrawText(screen, second, y, condition, colour);
    y += kTextLine;
    DrawLabelled(screen, x, y, term::kHpShort,
                 std::to_string(hero.Hp) + "/" + std::to_string(HeroMaxHp(mDatabase, hero)));
    DrawLabelled(screen, second, y, term::kMpShort,
                 std::to_string(hero.Mp) + "/" + std::to_string(HeroMaxMp(mDatabase, hero)));
    y += kTextLine;
    DrawLabelled(screen, x, y, term::kExpShort, ExpText(mDatabase, hero));
}

void TGameMenuScene::DrawParty(TOrlenBoard& screen, const TRect& rect, bool cursor) {
    TGameSkin& skin = mSession.Skin();
    skin.DrawWindow(screen, rect);
    const std::vector<std::int32_t>& party = mSession.State().Party();
    const int chosen = mPhase == TPhase::ItemTarget || mPhase == TPhase::SkillTarget ? mTargetCursor.Index()
                                                                                      : mHeroCursor.Index();
    const int rowHeight = (rect.Height() - 2 * kPad) / kMaxPartySize;
    for (std::size_t i = 0; i < party.size(); ++i) {
        const THeroState* hero = mSession.State().Hero(party[i]);
        if (hero == nullptr)
            continue;
        const int top = rect.Top + kPad + static_cast<int>(i) * rowHeight;
        if (cursor && (mWholeParty || static_cast<int>(i) == chosen))
            skin.DrawCursor(screen, MakeBounds(rect.Left + kPad - 4, top - 2, rect.Width() - 2 * kPad + 8, rowHeight),
                            mStep);
        skin.DrawFace(screen, rect.Left + kPad, top + 2, hero->FaceSet, hero->FaceIndex, false);
        DrawHeroLines(screen, rect.Left + kPad + kFaceSize + 6, top, *hero);
    }
}

void TGameMenuScene::DrawHelp(TOrlenBoard& screen, const std::string& text) {
    mSession.Skin().DrawWindow(screen, kHelpRect);
    mSession.Skin().DrawText(screen, kHelpRect.Left + kPad, kHelpRect.Top + 10, text);
}

void TGameMenuScene::DrawSkills(TOrlenBoard& screen) {
    TGameSkin& skin = mSession.Skin();
    const TListRow* row = mSkills.Current();
    const TKelSkillItem* skill = row ? mDatabase.Skill.FindByID(row->Id) : nullptr;
    DrawHelp(screen, skill ? skill->Description : std::string());
    skin.DrawWindow(screen, kSkillHeroRect);
    if (const THeroState* hero = ChosenHero()) {
        const int y = kSkillHeroRect.Top + 10;
        int x = skin.DrawText(screen, kSkillHeroRect.Left + kPad, y, hero->Name) + 12;
        x = DrawLabelled(screen, x, y, term::kLevelShort, std::to_string(hero->Level)) + 12;
        x = DrawLabelled(screen, x, y, term::kHpShort,
                         std::to_string(hero->Hp) + "/" + std::to_string(HeroMaxHp(mDatabase, *hero))) + 12;
        DrawLabelled(screen, x, y, term::kMpShort,
                     std::to_string(hero->Mp) + "/" + std::to_string(HeroMaxMp(mDatabase, *hero)));
    }
    mSkills.SetActive(mPhase == TPhase::Skills);
    mSkills.Draw(screen);
}

void TGameMenuScene::DrawEquipment(TOrlenBoard& screen) {
    TGameSkin& skin = mSession.Skin();
    const THeroState* hero = ChosenHero();
    if (hero == nullptr)
        return;
    // The help line: the item under the cursor.
    std::int32_t shown = 0;
    if (mPhase == TPhase::SlotItems && mSlotItems.Current() != nullptr)
        shown = mSlotItems.Current()->Id;
    else
        shown = hero->Equipment[static_cast<std::size_t>(mSlotCursor.Index())];
    const TKelItemItem* item = mDatabase.Item.FindByID(shown);
    DrawHelp(screen, item ? item->Description : std::string());
    // The parameters, with what the previewed row makes of them.
    skin.DrawWindow(screen, kParameterRect);
    const int x = kParameterRect.Left + kPad;
    skin.DrawText(screen, x, kParameterRect.Top + 6, hero->Name);
    for (int i = 0; i < 4; ++i) {
        const int p = hpAttack + i, y = kParameterRect.Top + 19 + i * kTextLine;
        const std::int32_t now = HeroParameter(mDatabase, *hero, p);
        skin.DrawText(screen, x, y, Term(mDatabase, kParameterTerms[i]), kSystemColour);
        const std::string value = std::to_string(now);
        skin.DrawText(screen, x + 72 - TGameSkin::TextWidth(value), y, value);
        if (mPreviewing) {
            const std::int32_t then = mPreview[static_cast<std::size_t>(p)];
            const std::string next = std::to_string(then);
            skin.DrawText(screen, x + 74, y, ">", kSystemColour);
            skin.DrawText(screen, x + 108 - TGameSkin::TextWidth(next), y, next,
                          then > now ? kBetterColour : then < now ? kWorseColour : 0);
        }
    }
    // The five slots.
    skin.DrawWindow(screen, kSlotRect);
    for (int slot = 0; slot < kHeroSlots; ++slot) {
        const int y = kSlotRect.Top + 6 + slot * 14;
        if (mPhase == TPhase::Slots && slot == mSlotCursor.Index())
            skin.DrawCursor(screen, MakeBounds(kSlotRect.Left + 4, y - 2, kSlotRect.Width() - 8, 16), mStep);
        skin.DrawText(screen, kSlotRect.Left + kPad, y, Term(mDatabase, term::kFirstSlot + slot), kSystemColour);
        if (const TKelItemItem* worn = mDatabase.Item.FindByID(hero->Equipment[static_cast<std::size_t>(slot)]))
            skin.DrawText(screen, kSlotRect.Left + 64, y, worn->Name);
    }
    if (mPhase == TPhase::SlotItems) {
        mSlotItems.Draw(screen);
    } else {
        skin.DrawWindow(screen, kEquipListRect);
    }
}

void TGameMenuScene::DrawStatus(TOrlenBoard& screen) {
    TGameSkin& skin = mSession.Skin();
    const THeroState* hero = ChosenHero();
    skin.DrawWindow(screen, TRect{0, 0, kScreenWidth, kScreenHeight});
    if (hero == nullptr)
        return;
    const int left = kPad + 4;
    skin.DrawFace(screen, left, kPad + 4, hero->FaceSet, hero->FaceIndex, false);
    int y = kPad + 6;
    const int x = left + kFaceSize + 12;
    skin.DrawText(screen, x, y, hero->Name);
    skin.DrawText(screen, x + 96, y, hero->Degree);
    y += 16;
    DrawLabelled(screen, x, y, term::kLevel, std::to_string(hero->Level));
    const auto [condition, colour] = ConditionText(mDatabase, *hero);
    skin.DrawText(screen, x + 96, y, condition, colour);
    y += 16;
    DrawLabelled(screen, x, y, term::kExpShort, ExpText(mDatabase, *hero));
    y = 76;
    DrawLabelled(screen, left, y, term::kHp, std::to_string(hero->Hp) + "/" + std::to_string(HeroMaxHp(mDatabase, *hero)));
    DrawLabelled(screen, left + 150, y, term::kMp,
                 std::to_string(hero->Mp) + "/" + std::to_string(HeroMaxMp(mDatabase, *hero)));
    y += 24;
    for (int i = 0; i < 4; ++i) {
        const int row = y + i * 16;
        skin.DrawText(screen, left, row, Term(mDatabase, kParameterTerms[i]), kSystemColour);
        const std::string value = std::to_string(HeroParameter(mDatabase, *hero, hpAttack + i));
        skin.DrawText(screen, left + 100 - TGameSkin::TextWidth(value), row, value);
    }
    for (int slot = 0; slot < kHeroSlots; ++slot) {
        const int row = y + slot * 16;
        skin.DrawText(screen, left + 130, row, Term(mDatabase, term::kFirstSlot + slot), kSystemColour);
        if (const TKelItemItem* worn = mDatabase.Item.FindByID(hero->Equipment[static_cast<std::size_t>(slot)]))
            skin.DrawText(screen, left + 190, row, worn->Name);
    }
    // Every condition the hero has, in the last lines.
    int cx = left;
    for (const std::int32_t id : hero->Conditions)
        if (const TKelStatusItem* c = mDatabase.Status.FindByID(id))
            cx = skin.DrawText(screen, cx, 200, c->Name, std::clamp(c->Color, 0, 19)) + 12;
}

void TGameMenuScene::Draw(TOrlenBoard& screen) {
    TGameSkin& skin = mSession.Skin();
    switch (mPhase) {
    case TPhase::Items:
    case TPhase::ItemTarget: {
        const TListRow* row = mItems.Current();
        const TKelItemItem* item = row ? mDatabase.Item.FindByID(row->Id) : nullptr;
        DrawHelp(screen, item ? item->Description : std::string());
        mItems.SetActive(mPhase == TPhase::Items);
        mItems.Draw(screen);
        if (mPhase == TPhase::ItemTarget)
            DrawParty(screen, kTargetRect, true);
        return;
    }
    case TPhase::Skills:
    case TPhase::SkillTarget:
        DrawSkills(screen);
        if (mPhase == TPhase::SkillTarget)
            DrawParty(screen, kTargetRect, true);
        return;
    case TPhase::Places:
        if (mPlacesFor == TPhase::Items) {
            mItems.SetActive(false);
            mItems.Draw(screen);
        } else {
            DrawSkills(screen);
        }
        mPlaces.Draw(screen);
        return;
    case TPhase::Slots:
    case TPhase::SlotItems: DrawEquipment(screen); return;
    case TPhase::Status: DrawStatus(screen); return;
    default: break;
    }
    mCommands.Draw(screen);
    skin.DrawWindow(screen, kMoneyRect);
    DrawMoney(skin, screen, kMoneyRect.Right - kPad, kMoneyRect.Top + 10, mSession.State().Money(),
              Term(mDatabase, term::kMoneyUnit));
    DrawParty(screen, kPartyRect, mPhase == TPhase::Hero);
    if (mConfirm) {
        const std::string question = Term(mDatabase, term::kExitConfirmation);
        const int width = std::max(TGameSkin::TextWidth(question) + 2 * kPad + 8, 120);
        const TRect box = MakeBounds((kScreenWidth - width) / 2, kConfirmY - 32, width, 32);
        skin.DrawWindow(screen, box);
        skin.DrawText(screen, box.Left + kPad + 4, box.Top + 10, question);
        mConfirm->Draw(screen);
    }
}

}  // namespace quillon::runtime
