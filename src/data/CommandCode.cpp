#include "data/CommandCode.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace quillon {

namespace {

struct TNamedCode {
    TCommandCode Code;
    std::string_view Name;
};

#define Named(enumerator) TNamedCode { TCommandCode::enumerator, #enumerator }

// clang-format off
constexpr TNamedCode kNames[] = {
    Named(End),
    Named(Empty),
    Named(ShowMessage),
    Named(MessageLine),
    Named(MessageOptions),
    Named(SelectFaceGraphic),
    Named(ShowChoices),
    Named(ChoiceCase),
    Named(ChoiceEnd),
    Named(InputNumber),
    Named(ChangeSwitch),
    Named(ChangeVariable),
    Named(TimerOperation),
    Named(ChangeMoney),
    Named(ChangeItemAmount),
    Named(ChangeParty),
    Named(ChangeExp),
    Named(ChangeLevel),
    Named(ChangeAbility),
    Named(ChangeSkills),
    Named(ChangeEquipment),
    Named(ChangeHp),
    Named(ChangeMp),
    Named(ChangeCondition),
    Named(FullRecovery),
    Named(TakeDamage),
    Named(ChangeHeroName),
    Named(ChangeHeroDegree),
    Named(ChangeHeroWalkGraphic),
    Named(ChangeHeroFaceGraphic),
    Named(ChangeVehicleGraphic),
    Named(ChangeSystemMusic),
    Named(ChangeSystemSound),
    Named(ChangeSystemGraphic),
    Named(ChangeScreenTransition),
    Named(StartBattle),
    Named(BattleVictory),
    Named(BattleEscape),
    Named(BattleDefeat),
    Named(BattleEnd),
    Named(CallShop),
    Named(ShopSuccess),
    Named(ShopFailure),
    Named(ShopEnd),
    Named(CallInn),
    Named(InnRest),
    Named(InnCancel),
    Named(InnEnd),
    Named(EnterHeroName),
    Named(Teleport),
    Named(MemorizePlace),
    Named(GoToMemorizedPlace),
    Named(RideVehicle),
    Named(SetVehiclePlace),
    Named(SetEventPlace),
    Named(SwapEvents),
    Named(GetTerrainId),
    Named(GetEventId),
    Named(EraseScreen),
    Named(ShowScreen),
    Named(SetScreenTone),
    Named(FlashScreen),
    Named(ShakeScreen),
    Named(PanScreen),
    Named(WeatherEffects),
    Named(ShowPicture),
    Named(MovePicture),
    Named(ErasePicture),
    Named(ShowBattleAnimation),
    Named(SetHeroTranslucency),
    Named(FlashEvent),
    Named(SetMoveRoute),
    Named(WaitUntilMoved),
    Named(StopAllMovement),
    Named(Wait),
    Named(PlayBgm),
    Named(FadeOutBgm),
    Named(MemorizeBgm),
    Named(PlayMemorizedBgm),
    Named(PlaySoundEffect),
    Named(PlayMovie),
    Named(EnterPassword),
    Named(ChangeChipSet),
    Named(ChangePanorama),
    Named(ChangeEncounterRate),
    Named(ChangeChip),
    Named(SetTeleportPlace),
    Named(EnableTeleport),
    Named(SetEscapePlace),
    Named(EnableEscape),
    Named(CallSaveMenu),
    Named(EnableSave),
    Named(CallSystemMenu),
    Named(EnableSystemMenu),
    Named(ConditionalBranch),
    Named(BranchElse),
    Named(BranchEnd),
    Named(Label),
    Named(JumpToLabel),
    Named(Loop),
    Named(LoopEnd),
    Named(BreakLoop),
    Named(StopParallelEvents),
    Named(EraseEvent),
    Named(CallEvent),
    Named(Comment),
    Named(CommentLine),
    Named(GameOver),
    Named(GoToTitleScreen),
    Named(ChangeEnemyHp),
    Named(ChangeEnemyMp),
    Named(ChangeEnemyCondition),
    Named(EnemyAppears),
    Named(ChangeBattleBackground),
    Named(ShowBattleAnimationInBattle),
    Named(BattleBranch),
    Named(BattleBranchElse),
    Named(BattleBranchEnd),
    Named(StopBattle),
};
// clang-format on

#undef Named

constexpr auto MakeCodes() {
    std::array<TCommandCode, std::size(kNames)> codes{};
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = kNames[i].Code;
    return codes;
}

constexpr auto kCodes = MakeCodes();

}  // namespace

std::span<const TCommandCode> AllCommandCodes() { return kCodes; }

std::string_view CommandCodeName(std::int32_t code) {
    const auto it = std::find_if(std::begin(kNames), std::end(kNames),
                                 [code](const TNamedCode& named) { return code == named.Code; });
    return it == std::end(kNames) ? std::string_view() : it->Name;
}

std::string DescribeCommandCode(std::int32_t code) {
    std::string text = std::to_string(code);
    if (const std::string_view name = CommandCodeName(code); !name.empty())
        text.append(" (").append(name).append(")");
    return text;
}

}  // namespace quillon
