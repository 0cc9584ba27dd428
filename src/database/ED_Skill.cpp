#include "database/ED_Skill.h"

#include "data/LD_DataBase.h"
#include "database/PageLists.h"
#include "events/EventChoosers.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr int kFailureFields[] = {24, 25, 26, 27};  // vocabulary texts of the four failure messages

bool EnemySide(const TKelSkillItem& skill) {
    return skill.EffectRange == TKelSkillItem::srSingleEnemy || skill.EffectRange == TKelSkillItem::srAllEnemies;
}

}  // namespace

TSkillPageModel::TSkillPageModel(const TDataBaseContext& context, IEventChoosers* choosers)
    : TMarkedPageModel(context, dtSkills, context.DataBase->Skill, choosers) {}

bool TSkillPageModel::Shown(TSkillGroup group) const {
    const std::uint8_t kind = Item().Kind;
    switch (group) {
    case TSkillGroup::Normal: return kind == TKelSkillItem::skNormal;
    case TSkillGroup::Sound:
        return kind == TKelSkillItem::skTeleport || kind == TKelSkillItem::skEscape || kind == TKelSkillItem::skSwitch;
    case TSkillGroup::Message: return kind == TKelSkillItem::skNormal || kind == TKelSkillItem::skSwitch;
    case TSkillGroup::Switch: return kind == TKelSkillItem::skSwitch;
    }
    return false;
}

std::string TSkillPageModel::AttributeCaption() const {
    return EnemySide(Item()) ? "Attack Attribute" : "Defense Attribute";
}

std::string TSkillPageModel::DefenseFallingCaption() const { return EnemySide(Item()) ? "Prevent Chance" : "Defend"; }

std::vector<TFieldChoice> TSkillPageModel::FailureChoices() const {
    std::vector<TFieldChoice> choices;
    for (std::int32_t i = 0; i < 4; ++i) {
        const std::string* text = DataBase().Vocabulary.Text(kFailureFields[i]);
        choices.push_back({i, text ? *text : std::string()});
    }
    return choices;
}

std::int32_t TSkillPageModel::Influence(int slider) const {
    switch (slider) {
    case 0: return Item().HitInfluence;
    case 1: return Item().MindInfluence;
    case 2: return Item().Variance;
    default: return 0;
    }
}

bool TSkillPageModel::SetInfluence(int slider, std::int32_t position) {
    std::int32_t* target = slider == 0   ? &Item().HitInfluence
                           : slider == 1 ? &Item().MindInfluence
                           : slider == 2 ? &Item().Variance
                                         : nullptr;
    position = std::clamp(position, 0, kSkillSliderMax);
    if (!target || *target == position)
        return false;
    *target = position;
    Modify();
    return true;
}

bool TSkillPageModel::UseStandardMessage(TKelSkillItem::TUsingStyle style) {
    TKelSkillItem& skill = Item();
    const std::string line1 = skill.UsingMessage1, line2 = skill.UsingMessage2;
    skill.SetStandardUsingMessage(style);
    if (skill.UsingMessage1 == line1 && skill.UsingMessage2 == line2)
        return false;
    Modify();
    return true;
}

std::string TSkillPageModel::SoundText() const { return Item().Sound.Name; }

bool TSkillPageModel::ChooseSound() {
    if (!Choosers())
        return false;
    TKelSound copy;
    copy.Assign(Item().Sound);
    if (!Choosers()->ChooseSound(copy, "Select Sound Effect"))
        return false;
    const TKelSound& sound = Item().Sound;
    if (copy.Name == sound.Name && copy.Volume == sound.Volume && copy.Tempo == sound.Tempo &&
        copy.Balance == sound.Balance)
        return false;
    Item().Sound.Assign(copy);
    Modify();
    return true;
}

std::vector<std::string> SkillGroupWidgets(TSkillGroup group) {
    switch (group) {
    case TSkillGroup::Normal: return {"GroupNormal", "GroupDecline", "GroupConditions", "GroupAttributes"};
    case TSkillGroup::Sound: return {"GroupSound"};
    case TSkillGroup::Message: return {"GroupMessage"};
    case TSkillGroup::Switch: return {"GroupSwitch"};
    }
    return {};
}

namespace {

using TForm = TFieldFormBuilder<TSkillPageModel>;

TFieldForm BuildForm() {
    TForm form;
    form.Field(TFieldKind::Text, "EditName", "&Name:", &TSkillPageModel::Name, &TSkillPageModel::SetName)
        .Bytes(TKelSkillItem::kNameMaxBytes)
        .Key("name");
    ItemField(form, TFieldKind::DropDown, "ComboKind", "&Classification:", &TKelSkillItem::Kind)
        .Choices({"Norm", "Teleport", "Escape", "Switch"})
        .Key("kind");
    ItemField(form, TFieldKind::Number, "EditMpCost", "&MP Cost:", &TKelSkillItem::MpCost)
        .Range(0, kSkillNumberMax)
        .Key("mp-cost");
    ItemField(form, TFieldKind::Text, "EditExplanation", "E&xplanation:", &TKelSkillItem::Description)
        .Bytes(TKelSkillItem::kDescriptionMaxBytes)
        .Key("explanation");

    ItemField(form, TFieldKind::IdList, "ComboFailure", "&Failure message:", &TKelSkillItem::FailureMessage)
        .ItemsFrom([](const TSkillPageModel& m) { return m.FailureChoices(); })
        .Key("failure");
    ItemField(form, TFieldKind::DropDown, "ComboRange", "Effect &Range:", &TKelSkillItem::EffectRange)
        .Choices({"Single Enemy", "All Enemies", "User", "Single Ally", "Whole Party"})
        .Key("range");
    form.Field(TFieldKind::IdList, "ComboAnimation", "Battle &Animation:", &TSkillPageModel::AnimationShown,
               &TSkillPageModel::SetAnimation)
        .ItemsFrom([](const TSkillPageModel& m) { return m.AnimationChoices(); })
        .Key("animation");
    ItemField(form, TFieldKind::Number, "EditBaseEffect", "Basis &Effect #:", &TKelSkillItem::BaseEffect)
        .Range(0, kSkillNumberMax)
        .Key("base-effect");
    ItemField(form, TFieldKind::Number, "EditSuccessRate", "Basic &success rate:", &TKelSkillItem::SuccessRate)
        .Range(0, kSkillPercentMax)
        .Key("success-rate");

    CheckField(form, "CheckHp", "HP", &TKelSkillItem::AffectsHp, "hp");
    CheckField(form, "CheckMp", "MP", &TKelSkillItem::AffectsMp, "mp");
    CheckField(form, "CheckAttack", "Attack", &TKelSkillItem::AffectsAttack, "attack");
    CheckField(form, "CheckDefense", "Defense", &TKelSkillItem::AffectsDefense, "defense");
    CheckField(form, "CheckMind", "Mind", &TKelSkillItem::AffectsMind, "mind");
    CheckField(form, "CheckAgility", "Agility", &TKelSkillItem::AffectsAgility, "agility");
    CheckField(form, "CheckAbsorption", "Absorption", &TKelSkillItem::Absorption, "absorption");
    CheckField(form, "CheckIgnoreDefense", "Defnc.Ignore", &TKelSkillItem::IgnoreDefense, "ignore-defense");

    CheckField(form, "CheckDefenseFalling", "Def. Falling", &TKelSkillItem::DefenseFalling, "defense-falling");

    form.Resource("DashSound", "Sound &Effect:", &TSkillPageModel::SoundText, &TSkillPageModel::ChooseSound);

    ItemField(form, TFieldKind::Text, "EditMessage1", "Line &1:", &TKelSkillItem::UsingMessage1)
        .Bytes(TKelSkillItem::kUsingMessage1MaxBytes)
        .Key("message1");
    ItemField(form, TFieldKind::Text, "EditMessage2", "Line &2:", &TKelSkillItem::UsingMessage2)
        .Bytes(TKelSkillItem::kUsingMessage2MaxBytes)
        .Key("message2");
    form.Resource("ButtonChant", "[* C&hant]", nullptr,
                  [](TSkillPageModel& m) { return m.UseStandardMessage(TKelSkillItem::usChant); });
    form.Resource("ButtonCast", "[* Ca&st]", nullptr,
                  [](TSkillPageModel& m) { return m.UseStandardMessage(TKelSkillItem::usCast); });
    form.Resource("ButtonUse", "[* &Use]", nullptr,
                  [](TSkillPageModel& m) { return m.UseStandardMessage(TKelSkillItem::usUse); });

    CheckField(form, "CheckField", "&Field", &TKelSkillItem::UsableInField, "field");
    CheckField(form, "CheckBattle", "&Battle", &TKelSkillItem::UsableInBattle, "battle");
    form.Resource("DashSwitch", "&ON Switch:", &TSkillPageModel::SwitchText, &TSkillPageModel::ChooseSwitch);
    return form.Build();
}

}  // namespace

const TFieldForm& SkillPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
