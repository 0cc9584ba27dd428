#include "database/ED_Status.h"

#include "data/LD_DataBase.h"

namespace quillon {

namespace {

bool SetFixedMessage(TStatusPageModel& m, std::string TKelStatusItem::*member, const std::string& text) {
    if (!m.FixedMessagesEditable())
        return false;
    if (m.Item().*member != text) {
        m.Item().*member = text;
        m.Modify();
    }
    return true;
}

using TForm = TFieldFormBuilder<TStatusPageModel>;

void Number(TForm& form, const char* widget, const char* label, std::int32_t TKelStatusItem::*member,
            std::int32_t max, const char* key) {
    ItemField(form, TFieldKind::Number, widget, label, member).Range(0, max).Key(key);
}

void Message(TForm& form, const char* widget, const char* label, std::string TKelStatusItem::*member,
             const char* key) {
    ItemField(form, TFieldKind::Text, widget, label, member).Bytes(TKelStatusItem::kMessageMaxBytes).Key(key);
}

TFieldForm BuildForm() {
    TForm form;
    form.Field(TFieldKind::Text, "EditName", "&Name:", &TStatusPageModel::Name, &TStatusPageModel::SetName)
        .Bytes(TKelStatusItem::kNameMaxBytes)
        .Key("name");
    ItemField(form, TFieldKind::RadioGroup, "RadioKind", "Classification", &TKelStatusItem::Kind)
        .Choices({"Combat Effect", "Movement Effect"})
        .Key("kind");
    Number(form, "EditColor", "Co&lor:", &TKelStatusItem::Color, kStatusColorMax, "color");
    Number(form, "EditPriority", "&Priority:", &TKelStatusItem::Priority, kStatusPriorityMax, "priority");
    ItemField(form, TFieldKind::RadioGroup, "RadioRestriction", "Action Limitation", &TKelStatusItem::Restriction)
        .Choices({"Restriction", "Inside Battle", "Common Enemy Attack", "Common Ally Attack"})
        .Key("restriction");

    form.Group("GroupChance", "Effect Chance");
    static const char* const kRanks[] = {"A", "B", "C", "D", "E"};
    for (std::size_t i = 0; i < 5; ++i)
        ItemArrayField(form, std::string("EditChance") + kRanks[i], std::string(kRanks[i]) + ":",
                       &TKelStatusItem::EffectChance, i)
            .Range(0, kStatusPercentMax)
            .Key(std::string("chance-") + static_cast<char>('a' + i));

    form.Group("GroupHealing", "Natural healing");
    Number(form, "EditHealTurns", "After turns:", &TKelStatusItem::HealTurns, kStatusTurnsMax, "heal-turns");
    Number(form, "EditHealRate", "Chance per turn (%):", &TKelStatusItem::HealRate, kStatusPercentMax, "heal-rate");
    Number(form, "EditShockHeal", "Healing by the shock (%):", &TKelStatusItem::ShockHealRate, kStatusPercentMax,
           "shock-heal");

    form.Group("GroupHalve", "Abilitys Half Cost");
    ItemField(form, TFieldKind::Check, "CheckHalveAttack", "Attack", &TKelStatusItem::HalveAttack).Key("halve-attack");
    ItemField(form, TFieldKind::Check, "CheckHalveDefense", "Defense", &TKelStatusItem::HalveDefense)
        .Key("halve-defense");
    ItemField(form, TFieldKind::Check, "CheckHalveMind", "Mind", &TKelStatusItem::HalveMind).Key("halve-mind");
    ItemField(form, TFieldKind::Check, "CheckHalveAgility", "Agility", &TKelStatusItem::HalveAgility)
        .Key("halve-agility");

    form.Group("GroupSeal", "Skills sealed");
    Number(form, "EditHitRate", "Hit rate change (%):", &TKelStatusItem::HitRate, kStatusPercentMax, "hit-rate");
    ItemField(form, TFieldKind::Check, "CheckSealHit", "Hit Chance", &TKelStatusItem::SealByHit).Key("seal-hit");
    ItemField(form, TFieldKind::Number, "EditSealHit", "Above Special Skill:", &TKelStatusItem::SealHitLevel)
        .Range(0, kStatusPercentMax)
        .EnabledWhen([](const TStatusPageModel& m) { return m.Item().SealByHit != 0; })
        .Key("seal-hit-level");
    ItemField(form, TFieldKind::Check, "CheckSealMind", "Mind Chance", &TKelStatusItem::SealByMind).Key("seal-mind");
    ItemField(form, TFieldKind::Number, "EditSealMind", "Above:", &TKelStatusItem::SealMindLevel)
        .Range(0, kStatusPercentMax)
        .EnabledWhen([](const TStatusPageModel& m) { return m.Item().SealByMind != 0; })
        .Key("seal-mind-level");

    form.Group("GroupMessages", "Messages");
    Message(form, "EditAllyMessage", "Ally State Message:", &TKelStatusItem::AllyMessage, "ally-message");
    Message(form, "EditEnemyMessage", "Enemy State Message:", &TKelStatusItem::EnemyMessage, "enemy-message");
    form.Field(TFieldKind::Text, "EditAlreadyMessage", "Already in This State msg. (Blank for Miss):",
               &TStatusPageModel::AlreadyMessage, &TStatusPageModel::SetAlreadyMessage)
        .Bytes(TKelStatusItem::kMessageMaxBytes)
        .EnabledWhen([](const TStatusPageModel& m) { return m.FixedMessagesEditable(); })
        .Key("already-message", "the incapacitation condition keeps no such message");
    form.Field(TFieldKind::Text, "EditAffectedMessage", "State is Regular for One (Blank for Miss):",
               &TStatusPageModel::AffectedMessage, &TStatusPageModel::SetAffectedMessage)
        .Bytes(TKelStatusItem::kMessageMaxBytes)
        .EnabledWhen([](const TStatusPageModel& m) { return m.FixedMessagesEditable(); })
        .Key("affected-message", "the incapacitation condition keeps no such message");
    Message(form, "EditRecoveryMessage", "Recovery State Message:", &TKelStatusItem::RecoveryMessage,
            "recovery-message");

    form.Group("GroupHp", "HP loss");
    Number(form, "EditHpTurnRate", "Per turn (% of max.):", &TKelStatusItem::HpTurnRate, kStatusPercentMax,
           "hp-turn-rate");
    Number(form, "EditHpTurnPoints", "Plus points:", &TKelStatusItem::HpTurnPoints, kStatusPointsMax,
           "hp-turn-points");
    Number(form, "EditHpMapSteps", "On the map every steps:", &TKelStatusItem::HpMapSteps, kStatusTurnsMax,
           "hp-map-steps");
    Number(form, "EditHpMapPoints", "Points:", &TKelStatusItem::HpMapPoints, kStatusPointsMax, "hp-map-points");
    form.Group("GroupMp", "MP loss");
    Number(form, "EditMpTurnRate", "Per turn (% of max.):", &TKelStatusItem::MpTurnRate, kStatusPercentMax,
           "mp-turn-rate");
    Number(form, "EditMpTurnPoints", "Plus points:", &TKelStatusItem::MpTurnPoints, kStatusPointsMax,
           "mp-turn-points");
    Number(form, "EditMpMapSteps", "On the map every steps:", &TKelStatusItem::MpMapSteps, kStatusTurnsMax,
           "mp-map-steps");
    Number(form, "EditMpMapPoints", "Points:", &TKelStatusItem::MpMapPoints, kStatusPointsMax, "mp-map-points");
    form.Group("GroupEnd");
    return form.Build();
}

}  // namespace

TStatusPageModel::TStatusPageModel(const TDataBaseContext& context)
    : TEntryPageModel(context, dtConditions, context.DataBase->Status) {}

bool TStatusPageModel::SetAlreadyMessage(const std::string& text) {
    return SetFixedMessage(*this, &TKelStatusItem::AlreadyMessage, text);
}

bool TStatusPageModel::SetAffectedMessage(const std::string& text) {
    return SetFixedMessage(*this, &TKelStatusItem::AffectedMessage, text);
}

const TFieldForm& StatusPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
