#include "runtime/BattleScene.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "graphics/ImageResources.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet.h"
#include "runtime/Game.h"
#include "runtime/GameAnimation.h"
#include "runtime/GameAudio.h"
#include "runtime/GameCommandWindow.h"
#include "runtime/GameInput.h"
#include "runtime/GameMessage.h"
#include "runtime/GameProject.h"
#include "runtime/GameScreen.h"
#include "runtime/GameSession.h"
#include "runtime/GameState.h"
#include "runtime/GameText.h"
#include "runtime/Interpreter.h"

#include <algorithm>

namespace quillon::runtime {

namespace {

// Vocabulary fields of the commands.
constexpr int kVocabularyFight = 101;  // then Auto, Escape, Attack, Defend, Item, Skill
constexpr int kVocabularyAttack = 104;
constexpr int kVocabularyDefend = 105;
constexpr int kVocabularyItem = 106;
constexpr int kVocabularySkill = 107;
constexpr int kVocabularyHp = 129;
constexpr int kVocabularyMp = 130;
// Layout of the front view: the field above, the windows below.
constexpr int kWindowTop = 160;
constexpr int kWindowHeight = kScreenHeight - kWindowTop;
constexpr int kPartyWindowWidth = 80;
constexpr std::uint16_t kCursorColour = 0xFFFF;

// The party's status window and a hero's row in it.
TRect StatusRect() { return TRect{kPartyWindowWidth, kWindowTop, kScreenWidth, kScreenHeight}; }
TRect StatusRow(int slot) {
    const int top = kWindowTop + 8 + slot * 16;
    return TRect{kPartyWindowWidth + 4, top - 2, kScreenWidth - 4, top + 14};
}

std::string Word(TKelDataBase& database, int field) {
    const std::string* text = database.Vocabulary.Field(field);
    return text ? *text : std::string();
}

void TintRect(TOrlenBoard& board, const TRect& rect, const TAnimationFlash& flash) {
    for (int y = std::max(0, rect.Top); y < std::min(board.Height(), rect.Bottom); ++y) {
        std::uint16_t* row = board.ScanLine(y);
        for (int x = std::max(0, rect.Left); x < std::min(board.Width(), rect.Right); ++x)
            row[x] = BlendColor(row[x], flash[0], flash[1], flash[2], std::min(flash[3], 31));
    }
}

}  // namespace

struct TBattleScene::TMonsterImage {
    TOrlenSheet Sheet;
    int Width = 0, Height = 0;
};

TBattleScene::TBattleScene(TGameSession& session, const TBattleSetup& setup, const std::string& backdrop)
    : mSession(session),
      mBattle(std::make_unique<TGameBattle>(session.Project().Database(), session.State(), session.Random(), setup)),
      mPages(std::make_unique<TInterpreter>(session, false)),
      mBackdrop(std::make_unique<TOrlenSheet>()),
      mAnimation(std::make_unique<TGameAnimation>(session.Project().Images(),
                                                  [&session](const TKelSound& sound) { session.Audio().PlaySound(sound); })) {
    mBackdrop->AutoSize = true;
    SetBackdrop(backdrop);
    LoadMonsterImages();
}

TBattleScene::~TBattleScene() = default;

void TBattleScene::SetBackdrop(const std::string& name) {
    TEditorModeScope quiet(true);
    mBackdrop->Clear();
    mBackdrop->FreeImage();
    if (!name.empty())
        LoadSheetResource(*mBackdrop, mSession.Project().Images(), "Backdrop", name, false);
}

void TBattleScene::LoadMonsterImages() {
    TEditorModeScope quiet(true);
    TKelDataBase& database = mSession.Project().Database();
    mImages.clear();
    for (const TBattler& monster : mBattle->Monsters()) {
        auto image = std::make_unique<TMonsterImage>();
        image->Sheet.AutoSize = true;
        image->Sheet.Transparent = true;
        if (const TKelMonsterItem* record = database.Monster.FindByID(monster.Id)) {
            if (!record->GraphicName.empty())
                LoadSheetResource(image->Sheet, mSession.Project().Images(), "Monster", record->GraphicName, false);
            if (record->Hue != 0)
                image->Sheet.ShiftHue(record->Hue);
            image->Sheet.Opacity = record->Transparent ? 160 : 255;
        }
        image->Width = image->Sheet.Width();
        image->Height = image->Sheet.Height();
        mImages.push_back(std::move(image));
    }
}

bool TBattleScene::AnimationRunning() const { return mAnimation->Running(); }

int TBattleScene::AnimationFramesLeft() const {
    return mAnimation->Running() ? std::max(0, mAnimation->Duration() - mAnimation->FrameIndex() * kGameFramesPerAnimationFrame) : 0;
}

void TBattleScene::ShowAnimation(std::int32_t animationId, int monsterIndex, bool wait) {
    (void)wait;  // the page waits on AnimationRunning when asked to
    StartAnimation(animationId, false, monsterIndex);
}

void TBattleScene::StartAnimation(std::int32_t animationId, bool onHeroes, int target) {
    const auto& side = onHeroes ? mBattle->Heroes() : mBattle->Monsters();
    mAnimationOnHeroes = onHeroes;
    mAnimationTarget = target >= 0 && target < static_cast<int>(side.size()) ? target : -1;
    mAnimation->Start(mSession.Project().Database().Animation.FindByID(animationId));
}

std::vector<std::pair<int, int>> TBattleScene::AnimationPoints() const {
    // "All": one run over the field (or over the party's window). "Single": on its target, or on
    // every standing member of the side when it strikes the whole side. The party stands in front
    // of the viewer, so a hero's place is his row of the status window.
    std::vector<std::pair<int, int>> points;
    const TKelAnimationItem* animation = mAnimation->Animation();
    if (animation == nullptr)
        return points;
    const TRect status = StatusRect();
    if (animation->Scope == TKelAnimationItem::asAll) {
        if (mAnimationOnHeroes)
            points.emplace_back((status.Left + status.Right) / 2, (status.Top + status.Bottom) / 2);
        else
            points.emplace_back(kScreenWidth / 2, kWindowTop / 2);
        return points;
    }
    const auto& side = mAnimationOnHeroes ? mBattle->Heroes() : mBattle->Monsters();
    for (int i = 0; i < static_cast<int>(side.size()); ++i) {
        if (!AnimationStrikes(i) || !side[static_cast<std::size_t>(i)].Present())
            continue;
        if (mAnimationOnHeroes) {
            const TRect row = StatusRow(i);
            points.emplace_back((status.Left + status.Right) / 2, AnimationAnchorY(*animation, row.Bottom, row.Bottom - row.Top));
        } else {
            const TMonsterImage& image = *mImages[static_cast<std::size_t>(i)];
            const TBattler& monster = side[static_cast<std::size_t>(i)];
            points.emplace_back(monster.X, AnimationAnchorY(*animation, monster.Y + image.Height / 2, image.Height));
        }
    }
    return points;
}

bool TBattleScene::AnimationStrikes(int index) const {
    return mAnimation->Running() && (mAnimationTarget < 0 || mAnimationTarget == index);
}

void TBattleScene::PlayCues() {
    const TKelDataBase& database = mSession.Project().Database();
    for (const int sound : mBattle->TakeSounds())
        if (sound >= 0 && sound < static_cast<int>(database.System.Sound.size()))
            mSession.Audio().PlaySound(database.System.Sound[static_cast<std::size_t>(sound)]);
    for (const TBattleCue& cue : mBattle->TakeCues())
        mCues.push_back(cue);
    if (mAnimation->Running() || mCues.empty())
        return;
    const TBattleCue cue = mCues.front();
    mCues.erase(mCues.begin());
    StartAnimation(cue.AnimationId, cue.OnHeroes, cue.Target);
}

// --- the flow ---

bool TBattleScene::StartDuePage() {
    const int page = mBattle->NextDuePage();
    if (page < 0)
        return false;
    const TKelMonGroupItem* troop = mSession.Project().Database().MonGroup.FindByID(mBattle->Setup().TroopId);
    if (troop == nullptr || page >= troop->Pages.Count())
        return false;
    mPages->Start(troop->Pages.Items(page)->Script, 0, 0);
    return true;
}

void TBattleScene::Continue() {
    // What comes next once every message is shown, no page runs and no animation plays.
    if (mBattle->Phase() == TGameBattle::TPhase::Ended) {
        mStage = TStage::Ending;
        mFinished = true;
        return;
    }
    if (StartDuePage())
        return;
    if (mBattle->Phase() == TGameBattle::TPhase::Commands) {
        if (mStage != TStage::PartyCommand && mStage != TStage::HeroCommand && mStage != TStage::Skills &&
            mStage != TStage::Items && mStage != TStage::Target)
            OpenPartyCommands();
        return;
    }
    mStage = TStage::Acting;
    mBattle->Advance();
    PlayCues();
}

void TBattleScene::OpenPartyCommands() {
    TKelDataBase& database = mSession.Project().Database();
    mStage = TStage::PartyCommand;
    mMenu = std::make_unique<TGameCommandWindow>(
        mSession.Skin(), std::vector<std::string>{Word(database, kVocabularyFight), Word(database, kVocabularyFight + 1),
                                                  Word(database, kVocabularyFight + 2)},
        kPartyWindowWidth);
    mMenu->SetEnabled(2, mBattle->Setup().EscapeAllowed);
    mMenu->SetCancelAllowed(false);
    mMenu->SetPosition(0, kWindowTop);
}

void TBattleScene::OpenHeroCommands() {
    TKelDataBase& database = mSession.Project().Database();
    mStage = TStage::HeroCommand;
    mMenu = std::make_unique<TGameCommandWindow>(
        mSession.Skin(),
        std::vector<std::string>{Word(database, kVocabularyAttack), Word(database, kVocabularySkill),
                                 Word(database, kVocabularyDefend), Word(database, kVocabularyItem)},
        kPartyWindowWidth);
    mMenu->SetPosition(0, kWindowTop);
}

void TBattleScene::NextHero(bool forward) {
    const auto& heroes = mBattle->Heroes();
    const TKelDataBase& database = mSession.Project().Database();
    for (int hero = forward ? mHero + 1 : mHero - 1; hero >= 0 && hero < static_cast<int>(heroes.size());
         hero += forward ? 1 : -1) {
        const TKelPlayerItem* record = database.Player.FindByID(heroes[static_cast<std::size_t>(hero)].Id);
        if (mBattle->CanAct(heroes[static_cast<std::size_t>(hero)]) && !(record && record->AiControl)) {
            mHero = hero;
            OpenHeroCommands();
            return;
        }
    }
    if (forward)
        Commit();
    else
        OpenPartyCommands();
}

void TBattleScene::Commit() {
    mMenu.reset();
    mBattle->Fight(mActions);
    mStage = TStage::Acting;
}

void TBattleScene::StepCommands(const TGameInput& input) {
    TKelDataBase& database = mSession.Project().Database();
    IGameAudio& audio = mSession.Audio();
    if (mStage == TStage::Target) {
        const auto& side = mTargetHeroes ? mBattle->Heroes() : mBattle->Monsters();
        const int count = static_cast<int>(side.size());
        const int step = input.Repeated(gbRight) || input.Repeated(gbDown) ? 1 : input.Repeated(gbLeft) || input.Repeated(gbUp) ? -1 : 0;
        if (step != 0 && count > 0) {
            for (int tries = 0; tries < count; ++tries) {
                mTarget = (mTarget + step + count) % count;
                if (side[static_cast<std::size_t>(mTarget)].Alive())
                    break;
            }
            audio.PlaySound(database.System.Sound[ssCursor]);
        }
        if (input.Pressed(gbDecide)) {
            audio.PlaySound(database.System.Sound[ssDecide]);
            mActions[static_cast<std::size_t>(mHero)].Target = mTarget;
            NextHero(true);
        } else if (input.Pressed(gbCancel)) {
            audio.PlaySound(database.System.Sound[ssCancel]);
            OpenHeroCommands();
        }
        return;
    }
    if (!mMenu)
        return;
    const TMenuEvent event = mMenu->Update(input);
    switch (event) {
    case TMenuEvent::Moved: audio.PlaySound(database.System.Sound[ssCursor]); return;
    case TMenuEvent::Refused: audio.PlaySound(database.System.Sound[ssBuzzer]); return;
    case TMenuEvent::Cancelled:
        audio.PlaySound(database.System.Sound[ssCancel]);
        if (mStage == TStage::HeroCommand)
            NextHero(false);
        else
            OpenHeroCommands();
        return;
    case TMenuEvent::Decided: audio.PlaySound(database.System.Sound[ssDecide]); break;
    default: return;
    }
    const int index = mMenu->Index();
    const auto chooseTarget = [this](bool heroes) {
        mStage = TStage::Target;
        mTargetHeroes = heroes;
        const auto& side = heroes ? mBattle->Heroes() : mBattle->Monsters();
        mTarget = 0;
        while (mTarget < static_cast<int>(side.size()) && !side[static_cast<std::size_t>(mTarget)].Alive())
            ++mTarget;
        if (mTarget >= static_cast<int>(side.size()))
            NextHero(true);
    };
    switch (mStage) {
    case TStage::PartyCommand:
        if (index == 0) {
            mActions.assign(mBattle->Heroes().size(), TBattleAction{});
            mHero = -1;
            NextHero(true);
        } else if (index == 1) {
            mMenu.reset();
            mBattle->Auto();
            mStage = TStage::Acting;
        } else {
            mMenu.reset();
            mBattle->Escape();
            mStage = TStage::Acting;
        }
        return;
    case TStage::HeroCommand: {
        TBattleAction& action = mActions[static_cast<std::size_t>(mHero)];
        action = TBattleAction{};
        if (index == 0) {
            action.Kind = TActKind::Attack;
            chooseTarget(false);
        } else if (index == 2) {
            action.Kind = TActKind::Defend;
            NextHero(true);
        } else {
            // The hero's skills usable in battle, or the party's items usable in battle.
            mChoices.clear();
            std::vector<std::string> names;
            const THeroState* hero = mSession.State().Hero(mBattle->Heroes()[static_cast<std::size_t>(mHero)].Id);
            if (index == 1 && hero) {
                for (const std::int32_t id : hero->Skills)
                    if (const TKelSkillItem* skill = database.Skill.FindByID(id); skill && skill->UsableInBattle) {
                        mChoices.push_back(id);
                        names.push_back(skill->Name);
                    }
            } else {
                for (const auto& [id, count] : mSession.State().Items())
                    if (const TKelItemItem* item = database.Item.FindByID(id);
                        item && (item->UsableInBattle || item->Kind == TKelItemItem::ikMedicine) && !item->FieldOnly) {
                        mChoices.push_back(id);
                        names.push_back(item->Name);
                    }
            }
            if (mChoices.empty()) {
                audio.PlaySound(database.System.Sound[ssBuzzer]);
                return;
            }
            mStage = index == 1 ? TStage::Skills : TStage::Items;
            mMenu = std::make_unique<TGameCommandWindow>(mSession.Skin(), names, kScreenWidth - kPartyWindowWidth, 2);
            mMenu->SetPosition(kPartyWindowWidth, kWindowTop);
        }
        return;
    }
    case TStage::Skills:
    case TStage::Items: {
        TBattleAction& action = mActions[static_cast<std::size_t>(mHero)];
        const std::int32_t id = mChoices[static_cast<std::size_t>(index)];
        if (mStage == TStage::Skills) {
            const TKelSkillItem* skill = database.Skill.FindByID(id);
            const TBattler& hero = mBattle->Heroes()[static_cast<std::size_t>(mHero)];
            if (mBattle->MpCostFor(hero, skill->MpCost) > hero.Mp) {
                audio.PlaySound(database.System.Sound[ssBuzzer]);
                return;
            }
            action.Kind = TActKind::Skill;
            action.Id = id;
            if (skill->EffectRange == TKelSkillItem::srSingleEnemy)
                chooseTarget(false);
            else if (skill->EffectRange == TKelSkillItem::srSingleAlly)
                chooseTarget(true);
            else
                NextHero(true);
        } else {
            action.Kind = TActKind::Item;
            action.Id = id;
            chooseTarget(true);
        }
        return;
    }
    default: return;
    }
}

void TBattleScene::Step(const TGameInput& input) {
    ++mFrame;
    mSession.Screen().Update(mSession.World());
    mAnimation->Update();
    // The animation's screen flash goes through the screen's effects, with the pages' tone and shake.
    const TAnimationFlash flash = mAnimation->ScreenFlash();
    if (flash[3] > 0)
        mSession.Screen().Flash(flash[0], flash[1], flash[2], flash[3], 1);
    PlayCues();
    // Messages first, one by one.
    if (mShown < mBattle->Log().size()) {
        if (++mMessageFrames >= kBattleMessageFrames || input.Pressed(gbDecide)) {
            ++mShown;
            mMessageFrames = 0;
        }
        return;
    }
    if (mAnimation->Running())
        return;
    if (mPages->Running() || mSession.MessageBusy()) {
        mPages->Update();
        mSession.Messages().Update(input);
        mBattle->CheckEnd();
        return;
    }
    if (mFinished)
        return;
    if (mBattle->Phase() == TGameBattle::TPhase::Commands &&
        (mStage == TStage::PartyCommand || mStage == TStage::HeroCommand || mStage == TStage::Skills ||
         mStage == TStage::Items || mStage == TStage::Target)) {
        StepCommands(input);
        return;
    }
    Continue();
}

void TBattleScene::RunToEnd() {
    TGameInput input;
    for (std::int32_t guard = 0; guard < 4 * kMaxBattleTurns * 64 && mBattle->Phase() != TGameBattle::TPhase::Ended; ++guard) {
        if (StartDuePage()) {
            // Messages of the page close by themselves: decide is pressed every other step.
            for (int step = 0; step < kFastPageSteps && (mPages->Running() || mSession.MessageBusy()); ++step) {
                mPages->Update();
                input = input.Next(step % 2 == 0 ? gbDecide : 0);
                mSession.Messages().Update(input);
            }
            mPages->Stop();
            mBattle->CheckEnd();
            continue;
        }
        if (mBattle->Phase() == TGameBattle::TPhase::Commands)
            mBattle->Auto();
        else
            mBattle->Advance();
        mBattle->TakeCues();
        mBattle->TakeSounds();
    }
    mShown = mBattle->Log().size();
    mStage = TStage::Ending;
    mFinished = true;
}

// --- drawing ---

void TBattleScene::Draw(TOrlenBoard& screen) {
    FillBoardRect(screen, TRect{0, 0, kScreenWidth, kScreenHeight}, 0);
    if (mBackdrop->Width() > 0)
        screen.DrawSheet(0, 0, TRect{0, 0, mBackdrop->Width(), mBackdrop->Height()}, *mBackdrop);
    // Monsters by the bottom of their image, the front ones last.
    std::vector<int> order;
    const auto& monsters = mBattle->Monsters();
    for (int i = 0; i < static_cast<int>(monsters.size()); ++i)
        if (monsters[static_cast<std::size_t>(i)].Alive())
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto bottom = [&](int i) { return monsters[static_cast<std::size_t>(i)].Y + mImages[static_cast<std::size_t>(i)]->Height / 2; };
        return bottom(a) != bottom(b) ? bottom(a) < bottom(b) : a > b;
    });
    for (const int i : order) {
        TMonsterImage& image = *mImages[static_cast<std::size_t>(i)];
        const TBattler& monster = monsters[static_cast<std::size_t>(i)];
        // The animation's target flash tints the monsters it strikes.
        if (!mAnimationOnHeroes && AnimationStrikes(i))
            mAnimation->ApplyTargetFlash(image.Sheet);
        else
            image.Sheet.PrimaryControl().Reset(true);
        screen.DrawSheet(monster.X - image.Width / 2, monster.Y - image.Height / 2, TRect{0, 0, image.Width, image.Height},
                         image.Sheet);
        if (mStage == TStage::Target && !mTargetHeroes && i == mTarget && mFrame / 8 % 2 == 0) {
            const TRect box{monster.X - image.Width / 2 - 1, monster.Y - image.Height / 2 - 1, monster.X + image.Width / 2 + 1,
                            monster.Y + image.Height / 2 + 1};
            FillBoardRect(screen, TRect{box.Left, box.Top, box.Right, box.Top + 1}, kCursorColour);
            FillBoardRect(screen, TRect{box.Left, box.Bottom - 1, box.Right, box.Bottom}, kCursorColour);
            FillBoardRect(screen, TRect{box.Left, box.Top, box.Left + 1, box.Bottom}, kCursorColour);
            FillBoardRect(screen, TRect{box.Right - 1, box.Top, box.Right, box.Bottom}, kCursorColour);
        }
    }
    const std::vector<std::pair<int, int>> points = AnimationPoints();
    if (!mAnimationOnHeroes)
        for (const auto& [x, y] : points)
            mAnimation->Draw(screen, x, y);
    mSession.Screen().Draw(screen, mSession.World());
    DrawStatus(screen);
    if (mAnimationOnHeroes) {
        // Over the party's window: the target flash on the struck heroes' rows, then the cells.
        const TAnimationFlash flash = mAnimation->TargetFlash();
        for (int i = 0; flash[3] > 0 && i < static_cast<int>(mBattle->Heroes().size()); ++i)
            if (AnimationStrikes(i))
                TintRect(screen, StatusRow(i), flash);
        for (const auto& [x, y] : points)
            mAnimation->Draw(screen, x, y);
    }
    if (mMenu && mShown >= mBattle->Log().size() && !mFinished)
        mMenu->Draw(screen);
    DrawMessage(screen);
    if (mSession.MessageBusy())
        mSession.Messages().Draw(screen);
}

void TBattleScene::DrawStatus(TOrlenBoard& screen) {
    TKelDataBase& database = mSession.Project().Database();
    TGameSkin& skin = mSession.Skin();
    const TRect rect = StatusRect();
    skin.DrawWindow(screen, rect);
    const auto& heroes = mBattle->Heroes();
    for (std::size_t i = 0; i < heroes.size(); ++i) {
        const TBattler& hero = heroes[i];
        const int y = StatusRow(static_cast<int>(i)).Top + 2;
        const bool choosing = (mStage == TStage::HeroCommand || mStage == TStage::Skills || mStage == TStage::Items ||
                               (mStage == TStage::Target && !mTargetHeroes)) &&
                              static_cast<int>(i) == mHero;
        const bool targeted = mStage == TStage::Target && mTargetHeroes && static_cast<int>(i) == mTarget;
        const int colour = hero.Hp <= 0 ? 3 : hero.Hp * 4 <= hero.MaxHp ? 4 : 0;
        skin.DrawText(screen, rect.Left + 8, y, hero.Name, choosing || targeted ? 2 : colour);
        std::string condition;
        std::int32_t priority = -1;
        for (const auto& [id, turns] : hero.Conditions)
            if (const TKelStatusItem* record = database.Status.FindByID(id); record && record->Priority > priority) {
                priority = record->Priority;
                condition = record->Name;
            }
        skin.DrawText(screen, rect.Left + 76, y, condition, colour);
        const auto number = [&](int right, std::int32_t value) {
            const std::string text = std::to_string(value);
            skin.DrawText(screen, right - TGameSkin::TextWidth(text), y, text, colour);
        };
        skin.DrawText(screen, rect.Left + 124, y, Word(database, kVocabularyHp), 1);
        number(rect.Left + 172, hero.Hp);
        skin.DrawText(screen, rect.Left + 180, y, Word(database, kVocabularyMp), 1);
        number(rect.Left + 224, hero.Mp);
    }
}

void TBattleScene::DrawMessage(TOrlenBoard& screen) {
    if (mShown >= mBattle->Log().size())
        return;
    TGameSkin& skin = mSession.Skin();
    const TRect rect{0, 0, kScreenWidth, 32};
    skin.DrawWindow(screen, rect, 192);
    skin.DrawText(screen, 8, 10, mBattle->Log()[mShown]);
}

}  // namespace quillon::runtime
