// The database list of skills.
#pragma once

#include "data/Catalog.h"
#include "data/LD_Status.h"
#include "data/LD_System.h"

#include <cstdint>
#include <string>

namespace quillon {

class TKelSkillItem : public TKelMarkedItem {
public:
    static constexpr int kClipboardFormat = 575;
    // Longest texts the skill page accepts, in bytes (the record stores any length).
    static constexpr int kNameMaxBytes = 20;
    static constexpr int kDescriptionMaxBytes = 50;
    static constexpr int kUsingMessage1MaxBytes = 30;
    static constexpr int kUsingMessage2MaxBytes = 50;

    enum : std::uint8_t { skNormal = 0, skTeleport = 1, skEscape = 2, skSwitch = 3 };
    enum : std::uint8_t { srSingleEnemy = 0, srAllEnemies = 1, srUser = 2, srSingleAlly = 3, srWholeParty = 4 };
    // The standard using messages that the skill page fills in.
    enum TUsingStyle { usChant = 0, usCast = 1, usUse = 2 };

    std::string Description;
    std::string UsingMessage1, UsingMessage2;
    std::int32_t FailureMessage = 0;  // 0..3: one of four vocabulary messages
    std::uint8_t Kind = skNormal;
    std::int32_t MpCost = 0;
    std::uint8_t EffectRange = srSingleEnemy;
    std::int32_t SwitchId = 1;     // turned on by switch skills
    std::int32_t AnimationId = 1;  // battle animation
    TKelSound Sound;
    std::uint8_t UsableInField = 1;
    std::uint8_t UsableInBattle = 0;
    std::int32_t HitInfluence = 0;   // slider positions
    std::int32_t MindInfluence = 3;
    std::int32_t Variance = 4;
    std::int32_t BaseEffect = 0;
    std::int32_t SuccessRate = 100;  // percent
    std::uint8_t AffectsHp = 0, AffectsMp = 0, AffectsAttack = 0, AffectsDefense = 0;
    std::uint8_t AffectsMind = 0, AffectsAgility = 0;
    std::uint8_t Absorption = 0;
    std::uint8_t IgnoreDefense = 0;
    std::uint8_t DefenseFalling = 0;

    TKelSkillItem() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    int LastFieldNumber() const override { return 45; }
    void Reset() override;

    // Fills the first using message line with the standard text of a style (the name and a
    // suffix that fits the name's length) and clears the second line.
    void SetStandardUsingMessage(TUsingStyle style);
};

class TKelSkill : public TKelTrimmedList<TKelSkillItem> {
public:
    TKelSkill() : TKelTrimmedList("Invalid Tech Skill") {}
};

}  // namespace quillon
