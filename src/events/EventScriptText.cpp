// The command texts of TEventScriptConverter, one case per catalogued code.
#include "events/EventScript.h"

#include "data/LD_MoveRoute.h"
#include "events/EventCommands.h"

#include <cstdio>
#include <initializer_list>

namespace quillon {

namespace {

std::string D(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

std::string Z(std::int32_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "%.*d", digits, value);
    return text;
}

std::int32_t Inc(std::int32_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) + 1u);
}

std::int32_t Abs(std::int32_t value) {
    return value < 0 ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value)) : value;
}

const char* Pick(std::int32_t index, std::initializer_list<const char*> table) {
    if (index < 0 || static_cast<std::size_t>(index) >= table.size())
        return "";
    return table.begin()[index];
}

std::string Tenths(std::int32_t tenths) { return D(tenths / 10) + "." + D(tenths % 10); }

std::string MinSec(std::int32_t seconds) { return Z(seconds / 60, 2) + ":" + Z(seconds % 60, 2); }

std::string VarRef(std::int32_t id) { return "Var[" + Z(id, 4) + "]"; }
std::string VRef(std::int32_t id) { return "V[" + Z(id, 4) + "]"; }

std::string Amount(std::int32_t kind, std::int32_t value) {
    if (kind == 0)
        return D(value);
    if (kind == 1)
        return VarRef(value);
    return "";
}

const char* AddRemove(std::int32_t option) { return Pick(option, {" (Add)", " (Remove)"}); }
const char* Vehicle(std::int32_t index) { return Pick(index, {"Boat", "Ship", "Airship"}); }
const char* Direction(std::int32_t index) { return Pick(index, {"Up", "Rigth", "Down", "Left"}); }
const char* EnableWord(std::int32_t option) { return Pick(option, {"Disable", "Enable"}); }

std::string Position(std::int32_t kind, std::int32_t x, std::int32_t y, bool padded) {
    if (kind == 0)
        return padded ? "(" + Z(x, 3) + "," + Z(y, 3) + ")" : "(" + D(x) + "," + D(y) + ")";
    if (kind == 1)
        return "(" + VRef(x) + "," + VRef(y) + ")";
    return "";
}

std::string Wait(bool on) { return on ? " (Wait)" : ""; }

std::string Str(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

}  // namespace

std::string TEventScriptConverter::RenderCommand(const TKelEventScriptLine& line) const {
    auto p = [&line](int index) { return line.Param(index); };
    const std::string& text = line.Text;

    // Pieces shared by several commands.
    auto who = [&](std::int32_t kind, std::int32_t id) -> std::string {
        switch (kind) {
        case 0: return "[All Members]";
        case 1: return HeroName(id);
        case 2: return VarRef(id);
        default: return "";
        }
    };
    auto mapPlace = [&](std::int32_t map, std::int32_t x, std::int32_t y) {
        return Z(map, 4) + ":" + MapName(map) + " (" + Z(x, 3) + "," + Z(y, 3) + ")";
    };
    auto switchCondition = [&]() {
        return "Switch(" + SwitchName(p(1)) + ") is " + Pick(p(2), {"ON", "OFF"});
    };
    auto variableCondition = [&]() {
        std::string s = "Var(" + VariableName(p(1)) + ") ";
        if (p(2) == 0)
            s += D(p(3));
        else if (p(2) == 1)
            s += VarRef(p(3));
        if (p(4) == 0) {
            if (p(2) == 1)
                s += " (=)";
        } else {
            s += Pick(p(4), {"", " (>=)", " (<=)", " (>)", " (<)", " (!=)"});
        }
        return s;
    };

    const TEventCommandInfo* info = FindEventCommand(line.Code);
    if (info == nullptr)
        return kDoNothingText;
    std::string s = info->Prefix;

    switch (ToCommandCode(line.Code)) {
    case TCommandCode::End:
    case TCommandCode::Empty:
        break;
    case TCommandCode::ShowMessage:
    case TCommandCode::MessageLine:
    case TCommandCode::ShowChoices:
    case TCommandCode::ChangeSystemGraphic:
    case TCommandCode::PlayBgm:
    case TCommandCode::PlaySoundEffect:
    case TCommandCode::Comment:
    case TCommandCode::CommentLine:
    case TCommandCode::ChangeBattleBackground:
        s += text;
        break;
    case TCommandCode::MessageOptions:
        s += Pick(p(0), {"Opaque,", "Transparent,"});
        s += Pick(p(1), {" Top,", " Middle,", " Bottom,"});
        s += Pick(p(2), {" Fixed,", " Safe,"});
        s += Pick(p(3), {" Wait until done.", " Continue Events."});
        break;
    case TCommandCode::SelectFaceGraphic:
        if (text.empty()) {
            s += "None";
        } else {
            s += text + " " + D(Inc(p(0))) + " ";
            s += Pick(p(1), {", Left, ", ", Right, "});
            s += Pick(p(2), {" ", "Flipped"});
        }
        break;
    case TCommandCode::ChoiceCase:
        s = p(0) == 4 ? ":Cancel Case" : ":[" + text + "] Case";
        break;
    case TCommandCode::InputNumber:
        s += "ts=" + D(p(0)) + " Var[" + VariableName(p(1)) + "]";
        break;
    case TCommandCode::ChangeSwitch:
    case TCommandCode::ChangeVariable: {
        const bool isSwitch = line.Code == TCommandCode::ChangeSwitch;
        switch (p(0)) {
        case 0: s += "Var[" + (isSwitch ? SwitchName(p(1)) : VariableName(p(1))) + "]"; break;
        case 1: s += "[" + Z(p(1), 4) + " to " + Z(p(2), 4) + "]"; break;
        case 2: s += "[" + VarRef(p(1)) + "]"; break;
        default: break;
        }
        if (isSwitch) {
            s += Pick(p(3), {" Switch ON", " Switch OFF", " Toggle Switch"});
            break;
        }
        s += Pick(p(3), {" =", " +", " -", " *", " /", " (Mod)"});
        s += " ";
        switch (p(4)) {
        case 0: s += " " + D(p(5)); break;
        case 1: s += " " + VarRef(p(5)); break;
        case 2: s += " Var[" + VarRef(p(5)) + "]"; break;
        case 3: s += "Random(" + D(p(5)) + " to " + D(p(6)) + ")"; break;
        case 4:
            s += ItemName(p(5));
            s += Pick(p(6), {" Hold Amount", " Equiped Amount"});
            break;
        case 5:
            s += HeroName(p(5)) + "'s ";
            s += Pick(p(6), {"Level", "EXP", "HP", "MP", "Max HP", "Max MP", "Attack", "Defense", "Mind",
                             "Agility", "Weapon#", "Shield#", "Armor#", "Helmet#", "Accessory#"});
            break;
        case 6:
            s += CharacterName(p(5)) + "'s ";
            s += Pick(p(6), {"Map Number", "X Pos.", "Y Pos.", "Facing", "Screen X", "Screen Y"});
            break;
        case 7:
            s += Pick(p(5), {"[Money]", "Timer Time Remaining", "Size of Party", "Saves", "Battles",
                             "Victories", "Defeats", "Escapes", "MIDI Play Pos. (Ticks)"});
            break;
        case 8:
            s += EnemyName(p(5)) + "'s ";
            s += Pick(p(6), {"HP", "MP", "Max HP", "Max MP", "Attack", "Defense", "Mind", "Agility"});
            break;
        default: break;
        }
        break;
    }
    case TCommandCode::TimerOperation:
        switch (p(0)) {
        case 0:
            s += "Set: ";
            if (p(1) == 0)
                s += MinSec(p(2));
            else if (p(1) == 1)
                s += VarRef(p(2));
            break;
        case 1: s += "Start"; break;
        case 2: s += "Stop"; break;
        default: break;
        }
        break;
    case TCommandCode::ChangeMoney:
        s += "$" + Amount(p(1), p(2)) + AddRemove(p(0));
        break;
    case TCommandCode::ChangeItemAmount:
        if (p(1) == 0)
            s += ItemName(p(2));
        else if (p(1) == 1)
            s += VarRef(p(2));
        s += ") " + Amount(p(3), p(4)) + AddRemove(p(0));
        break;
    case TCommandCode::ChangeParty:
        if (p(1) == 0)
            s += HeroName(p(2));
        else if (p(1) == 1)
            s += VarRef(p(2));
        s += ") ";
        s += AddRemove(p(0));
        break;
    case TCommandCode::ChangeExp:
    case TCommandCode::ChangeLevel:
        s += who(p(0), p(1)) + (line.Code == TCommandCode::ChangeExp ? "'s EXP " : "'s Level ") + Amount(p(3), p(4)) + AddRemove(p(2));
        break;
    case TCommandCode::ChangeAbility:
        s += who(p(0), p(1)) + "'s ";
        s += Pick(p(3), {"Max HP", "Max MP", "Attack", "Defense", "Mind", "Agility"});
        s += ") " + Amount(p(4), p(5)) + AddRemove(p(2));
        break;
    case TCommandCode::ChangeSkills:
        s += who(p(0), p(1)) + ", ";
        if (p(3) == 0)
            s += SkillName(p(4));
        else if (p(3) == 1)
            s += VarRef(p(4));
        s += ") ";
        s += Pick(p(2), {"Learn", "Forget"});
        break;
    case TCommandCode::ChangeEquipment:
        s += who(p(0), p(1)) + ", ";
        if (p(2) == 0) {
            if (p(3) == 0)
                s += ItemName(p(4));
            else if (p(3) == 1)
                s += VarRef(p(4));
            s += ", Equip";
        } else if (p(2) == 1) {
            s += Pick(p(3), {"Weapons", "Shields", "Armor", "Helmets", "Accessories", " [All]"});
            s += ", Remove Equipment";
        }
        break;
    case TCommandCode::ChangeHp:
    case TCommandCode::ChangeMp:
        s += who(p(0), p(1)) + (line.Code == TCommandCode::ChangeHp ? "'s HP " : "'s MP ") + Amount(p(3), p(4)) + AddRemove(p(2));
        break;
    case TCommandCode::ChangeCondition:
        s += who(p(0), p(1));
        s += Pick(p(2), {") ", "'s "});
        s += ConditionName(p(3));
        s += AddRemove(p(2));
        break;
    case TCommandCode::FullRecovery:
        s += who(p(0), p(1));
        break;
    case TCommandCode::TakeDamage:
        s += who(p(0), p(1)) + ", Damage(" + D(p(2)) + ")";
        break;
    case TCommandCode::ChangeHeroName:
    case TCommandCode::ChangeHeroDegree:
        s += HeroName(p(0)) + (line.Code == TCommandCode::ChangeHeroName ? "'s Name = " : "'s Degree =") + text + " ";
        break;
    case TCommandCode::ChangeHeroWalkGraphic:
    case TCommandCode::ChangeHeroFaceGraphic:
        s += HeroName(p(0)) + ") " + text + "-" + D(Inc(p(1))) + " ";
        break;
    case TCommandCode::ChangeVehicleGraphic:
        s += Vehicle(p(0));
        s += ") " + text + "-" + D(Inc(p(1))) + " ";
        break;
    case TCommandCode::ChangeSystemMusic:
        s += Pick(p(0), {"Battle", "Battle End", "Inn", "Boat", "Ship", "Airship", "Game Over"});
        s += ") " + text + " ";
        break;
    case TCommandCode::ChangeSystemSound:
        s += Pick(p(0), {"Cursor Movemt", "Decision", "Cancel", "Buzzer", "Battle Start", "Run Away",
                         "Enemy Attack", "Enemy Damage", "Ally Damage", "Evade", "Enemy Death", "Item Use"});
        s += ") " + text + " ";
        break;
    case TCommandCode::ChangeScreenTransition:
        s += Pick(p(0), {"Teleport/Erase", "Teleport/Show", "Battle Start/Erase", "Battle Start/Show",
                         "Battle End/Erase", "Battle End/Show"});
        s += " ";
        s += Str(p(0) % 2 == 0 ? EraseTransitionName(p(1)) : ShowTransitionName(p(1)));
        break;
    case TCommandCode::StartBattle:
        if (p(0) == 0)
            s += TroopName(p(1));
        else if (p(0) == 1)
            s += VarRef(p(1));
        if (p(2) == 1)
            s += " " + text;
        if (p(5) == 1)
            s += " First Strike";
        break;
    case TCommandCode::CallShop:
        s += Pick(p(0), {"", "(Buy Only)", "(Sell Only)"});
        if (p(0) <= 1) {
            for (int i = 4; i < line.ParamCount(); ++i) {
                if (i > 4)
                    s += " ";
                s += ItemName(p(i));
            }
        }
        break;
    case TCommandCode::CallInn:
        s += "Cost=" + D(p(1));
        break;
    case TCommandCode::EnterHeroName:
        s += HeroName(p(0));
        break;
    case TCommandCode::Teleport:
    case TCommandCode::SetEscapePlace:
        s += mapPlace(p(0), p(1), p(2));
        break;
    case TCommandCode::MemorizePlace:
        s += "[" + Z(p(0), 4) + "], X[" + Z(p(1), 4) + "], Y[" + Z(p(2), 4) + "]";
        break;
    case TCommandCode::GoToMemorizedPlace:
        s += VRef(p(0)) + " (" + VRef(p(1)) + "," + VRef(p(2)) + ")";
        break;
    case TCommandCode::SetVehiclePlace:
        s += Vehicle(p(0));
        s += " ";
        if (p(1) == 0)
            s += mapPlace(p(2), p(3), p(4));
        else if (p(1) == 1)
            s += VRef(p(2)) + " (" + VRef(p(3)) + "," + VRef(p(4)) + ")";
        break;
    case TCommandCode::SetEventPlace:
        s += CharacterName(p(0)) + " " + Position(p(1), p(2), p(3), true);
        break;
    case TCommandCode::SwapEvents:
        s += CharacterName(p(0)) + " " + CharacterName(p(1));
        break;
    case TCommandCode::GetTerrainId:
    case TCommandCode::GetEventId:
        s += Position(p(0), p(1), p(2), true) + " Var[" + VariableName(p(3)) + "]";
        break;
    case TCommandCode::EraseScreen:
        s += Str(EraseTransitionName(p(0)));
        break;
    case TCommandCode::ShowScreen:
        s += Str(ShowTransitionName(p(0)));
        break;
    case TCommandCode::SetScreenTone:
        s += "RGB(" + Z(p(0), 3) + "," + Z(p(1), 3) + "," + Z(p(2), 3) + "),C(" + Z(p(3), 3) + ")," +
             Tenths(p(4)) + "sec" + Wait(p(5) == 1);
        break;
    case TCommandCode::FlashScreen:
        s += "RGB(" + Z(p(0), 2) + "," + Z(p(1), 2) + "," + Z(p(2), 2) + "),P(" + Z(p(3), 2) + ")," +
             Tenths(p(4)) + "s" + Wait(p(5) == 1);
        break;
    case TCommandCode::ShakeScreen:
        s += D(p(0)) + ", Speed: " + D(p(1)) + ", " + Tenths(p(2)) + " sec" + Wait(p(3) == 1);
        break;
    case TCommandCode::PanScreen:
        s += Pick(p(0), {"Fixed", "Cancel Fixation", "", "Return Position "});
        if (p(0) == 2) {
            s += Direction(p(1));
            s += ": " + D(p(2)) + " Chip(s), ";
        }
        if (p(0) >= 2)
            s += "Speed:" + D(p(3)) + Wait(p(4) == 1);
        break;
    case TCommandCode::WeatherEffects:
        s += Pick(p(0), {"None/Off", "Rain", "Snow"});
        if (p(0) >= 1) {
            s += " ";
            s += Pick(p(1), {", Low", ", Medium", ", High"});
        }
        break;
    case TCommandCode::ShowPicture:
        s += D(p(0)) + " " + text + " " + Position(p(1), p(2), p(3), false);
        break;
    case TCommandCode::MovePicture:
        s += D(p(0)) + " " + Position(p(1), p(2), p(3), false) + ", " + Tenths(p(14)) + "sec" + Wait(p(15) == 1);
        break;
    case TCommandCode::ErasePicture:
        s += D(p(0));
        break;
    case TCommandCode::ShowBattleAnimation:
        s += AnimationName(p(0)) + " " + CharacterName(p(1)) + Wait(p(2) == 1);
        break;
    case TCommandCode::SetHeroTranslucency:
        s += Pick(p(0), {"Translucent", "Opaque"});
        break;
    case TCommandCode::FlashEvent:
        s += CharacterName(p(0)) + " " + Tenths(p(5)) + "sec" + Wait(p(6) == 1);
        break;
    case TCommandCode::SetMoveRoute: {
        s += CharacterName(p(0));
        // Decode the whole route before appending, so that a damaged one adds nothing.
        std::vector<TKelMoveRouteItem> items;
        const auto& params = line.Params();
        if (params.size() > 4) {
            std::string bytes;
            bytes.reserve(params.size() - 4);
            for (std::size_t i = 4; i < params.size(); ++i)
                bytes.push_back(static_cast<char>(static_cast<std::uint8_t>(params[i] & 0xFF)));
            TByteViewStream stream(bytes);
            try {
                LoadMoveRouteItems(stream, items);
            } catch (const EReadError&) {
                throw EScriptRenderError("move route cut short");
            }
        }
        for (const TKelMoveRouteItem& item : items) {
            s += " ";
            s += Str(MoveCommandName(item.Code));
        }
        break;
    }
    case TCommandCode::Wait:
        s += Tenths(p(0)) + "sec";
        break;
    case TCommandCode::FadeOutBgm:
        s += D(p(0)) + "sec";
        break;
    case TCommandCode::PlayMovie:
        s += text + " " + Position(p(0), p(1), p(2), false) + " (" + D(p(3)) + "," + D(p(4)) + ")";
        break;
    case TCommandCode::EnterPassword:
        s += "Var[" + VariableName(p(0)) + "]";
        break;
    case TCommandCode::ChangeChipSet:
        s += ChipSetName(p(0));
        break;
    case TCommandCode::ChangePanorama: {
        s += text;
        auto speed = [&](std::int32_t on, std::int32_t value) {
            if (on == 1)
                s += (value >= 0 ? "(+" : "(-") + D(Abs(value)) + ")";
        };
        if (p(0) == 1) {
            s += " Horz Loop";
            speed(p(2), p(3));
        }
        if (p(1) == 1) {
            s += " Vert Loop";
            speed(p(4), p(5));
        }
        break;
    }
    case TCommandCode::ChangeEncounterRate:
        s += D(p(0)) + "Steps";
        break;
    case TCommandCode::ChangeChip:
        s += Pick(p(0), {"Lower Chip ", "Upper Chip "});
        s += Z(Inc(p(1)), 3) + " to " + Z(Inc(p(2)), 3);
        break;
    case TCommandCode::SetTeleportPlace:
        if (p(0) == 0)
            s += "(Add)" + mapPlace(p(1), p(2), p(3));
        else if (p(0) == 1)
            s += "(Remove)" + Z(p(1), 4) + ":" + MapName(p(1));
        break;
    case TCommandCode::EnableTeleport:
    case TCommandCode::EnableEscape:
    case TCommandCode::EnableSave:
    case TCommandCode::EnableSystemMenu:
        s += EnableWord(p(0));
        break;
    case TCommandCode::ConditionalBranch:
        switch (p(0)) {
        case 0: s += switchCondition(); break;
        case 1: s += variableCondition(); break;
        case 2:
            s += "Timer " + MinSec(p(1));
            s += Pick(p(2), {" (>=)", " (<=)"});
            break;
        case 3:
            s += "Money " + D(p(1));
            s += Pick(p(2), {" (>=)", " (<=)"});
            break;
        case 4:
            s += ItemName(p(1));
            s += Pick(p(2), {" (Have)", " (Do not have)"});
            break;
        case 5:
            s += HeroName(p(1));
            switch (p(2)) {
            case 0: s += " is in the party"; break;
            case 1: s += " Name = " + text; break;
            case 2: s += "'s Level " + D(p(3)) + " (>=)"; break;
            case 3: s += "'s HP " + D(p(3)) + " (>=)"; break;
            case 4: s += ", " + SkillName(p(3)) + " has Learned"; break;
            case 5: s += ", " + ItemName(p(3)) + " is Equipped"; break;
            case 6: s += ", " + ConditionName(p(3)) + " is Condition"; break;
            default: break;
            }
            break;
        case 6:
            s += CharacterName(p(1)) + ", ";
            s += Direction(p(2));
            s += " (Direction)";
            break;
        case 7:
            s += Vehicle(p(1));
            s += " (Riding)";
            break;
        case 8: s += "Event Started by Decision Key"; break;
        case 9: s += "Music has played once"; break;
        default: break;
        }
        break;
    case TCommandCode::Label:
    case TCommandCode::JumpToLabel:
        s += D(p(0)) + "#";
        break;
    case TCommandCode::CallEvent:
        switch (p(0)) {
        case 0: s += CommonEventName(p(1)); break;
        case 1: s += CharacterName(p(1)) + "Pg [" + D(p(2)) + "]"; break;
        case 2: s += "Var[" + D(p(1)) + "]P[V[" + D(p(2)) + "]]"; break;
        default: break;
        }
        break;
    case TCommandCode::ChangeEnemyHp:
    case TCommandCode::ChangeEnemyMp:
        s += EnemyName(p(0)) + (line.Code == TCommandCode::ChangeEnemyHp ? "'s HP " : "'s MP ") + Amount(p(2), p(3)) + AddRemove(p(1));
        break;
    case TCommandCode::ChangeEnemyCondition:
        s += EnemyName(p(0));
        s += Pick(p(1), {") ", "'s "});
        s += ConditionName(p(2));
        s += AddRemove(p(1));
        break;
    case TCommandCode::EnemyAppears:
        s += EnemyName(p(0));
        break;
    case TCommandCode::ShowBattleAnimationInBattle:
        s += AnimationName(p(0)) + " " + EnemyName(p(1)) + Wait(p(2) == 1);
        break;
    case TCommandCode::BattleBranch:
        switch (p(0)) {
        case 0: s += switchCondition(); break;
        case 1: s += variableCondition(); break;
        case 2: s += HeroName(p(1)) + "-ActionPsb"; break;
        case 3: s += EnemyName(p(1)) + "-ActionPsb"; break;
        default: break;
        }
        break;
    default:
        // The catalogued lines whose text is their prefix alone.
        break;
    }
    return s;
}

}  // namespace quillon
