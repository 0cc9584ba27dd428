#include "database/ED_Player.h"

#include "data/LD_DataBase.h"
#include "events/EventChoosers.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

namespace {

constexpr std::int32_t kLevelMax = TKelPlayerItem::kMaxLevel;

std::int32_t LevelShown(std::int32_t level) { return std::clamp<std::int32_t>(level, 1, kLevelMax); }

void SortLearning(TKelPlayerItem& hero) {
    hero.Learning.SortAndRenumber([](const TCatalogItem& a, const TCatalogItem& b) {
        const auto& x = static_cast<const TKelPlayerLearningItem&>(a);
        const auto& y = static_cast<const TKelPlayerLearningItem&>(b);
        return x.Level != y.Level ? x.Level < y.Level : x.SkillId < y.SkillId;
    });
}

std::vector<TRankListModel::TRow> RankRows(const TCatalog& list, const std::function<int(std::int32_t)>& rank) {
    std::vector<TRankListModel::TRow> rows;
    rows.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        const TCatalogItem* item = list.Items(i);
        rows.push_back({item->Name, rank(item->ID)});
    }
    return rows;
}

}  // namespace

TPlayerPageModel::TPlayerPageModel(const TDataBaseContext& context, IEventChoosers* choosers)
    : TEntryPageModel(context, dtHero, context.DataBase->Player), mChoosers(choosers) {}

TPlayerPageModel::~TPlayerPageModel() = default;

void TPlayerPageModel::SetDegree(const std::string& text) {
    if (Item().Degree == text)
        return;
    Item().Degree = text;
    Modify();
}

std::string TPlayerPageModel::ExpSummary() const {
    char text[96];
    std::snprintf(text, sizeof text, "Standard=%d; Additional=%d; Corrected=%d", static_cast<int>(Item().ExpStandard),
                  static_cast<int>(Item().ExpAdditional), static_cast<int>(Item().ExpCorrection));
    return text;
}

std::int32_t TPlayerPageModel::InitialLevel() const { return LevelShown(Item().InitialLevel); }
std::int32_t TPlayerPageModel::MaxLevel() const { return LevelShown(Item().MaxLevel); }

bool TPlayerPageModel::SetInitialLevel(std::int32_t level) {
    level = std::clamp<std::int32_t>(level, 1, InitialLevelMax());
    if (level == Item().InitialLevel)
        return false;
    Item().InitialLevel = level;
    Modify();
    return true;
}

bool TPlayerPageModel::SetMaxLevel(std::int32_t level) {
    level = std::clamp<std::int32_t>(level, MaxLevelMin(), kLevelMax);
    if (level == Item().MaxLevel)
        return false;
    Item().MaxLevel = level;
    Modify();
    return true;
}

void TPlayerPageModel::SetCriticalEnabled(bool on) {
    if (CriticalEnabled() == on)
        return;
    Item().CriticalEnabled = on ? 1 : 0;
    Modify();
}

std::int32_t TPlayerPageModel::CriticalChance() const {
    return std::clamp<std::int32_t>(Item().CriticalChance, 1, kHeroCriticalMax);
}

void TPlayerPageModel::SetCriticalChance(std::int32_t chance) {
    chance = std::clamp<std::int32_t>(chance, 1, kHeroCriticalMax);
    if (chance == Item().CriticalChance)
        return;
    Item().CriticalChance = chance;
    Modify();
}

bool TPlayerPageModel::ChooseWalkGraphic() {
    if (!mChoosers)
        return false;
    std::string name = Item().CharSetName;
    std::int32_t index = std::clamp<std::int32_t>(Item().CharSetIndex, 0, 7);
    if (!mChoosers->ChooseResource(TSelKind::Char, name, &index, "Select Walk Graphic"))
        return false;
    if (name == Item().CharSetName && index == Item().CharSetIndex)
        return false;
    Item().CharSetName = name;
    Item().CharSetIndex = index;
    Modify();
    return true;
}

bool TPlayerPageModel::ChooseFaceGraphic() {
    if (!mChoosers)
        return false;
    std::string name = Item().FaceName;
    std::int32_t index = std::clamp<std::int32_t>(Item().FaceIndex, 0, 15);
    if (!mChoosers->ChooseResource(TSelKind::Face, name, &index, "Select Face Graphic"))
        return false;
    if (name == Item().FaceName && index == Item().FaceIndex)
        return false;
    Item().FaceName = name;
    Item().FaceIndex = index;
    Modify();
    return true;
}

void TPlayerPageModel::SetTransparent(bool on) {
    if ((Item().CharSetTransparent != 0) == on)
        return;
    Item().CharSetTransparent = on ? 1 : 0;
    Modify();
}

std::int32_t TPlayerPageModel::ShownMax(int parameter) const {
    std::int32_t value = Item().Parameter(parameter, InitialLevel());
    for (int slot = 0; slot < TKelPlayerItem::kEquipmentSlots; ++slot)
        if (const std::int32_t id = Item().Equipment(slot))
            if (const TKelItemItem* item = Db().Item.FindByID(id))
                value += EquipmentBonus(*item, parameter);
    return value;
}

bool TPlayerPageModel::SetCurves(const TParameterCurves& curves) {
    if (HeroCurves(Item()) == curves)
        return false;
    StoreHeroCurves(Item(), curves);
    Modify();
    return true;
}

TExpCurve TPlayerPageModel::ExpCurve() const {
    return TExpCurve{Item().ExpStandard, Item().ExpAdditional, Item().ExpCorrection};
}

bool TPlayerPageModel::SetExpCurve(const TExpCurve& curve) {
    if (ExpCurve() == curve)
        return false;
    Item().ExpStandard = curve.Basic;
    Item().ExpAdditional = curve.Increase;
    Item().ExpCorrection = curve.Correction;
    Modify();
    return true;
}

bool TPlayerPageModel::Fits(int slot, std::int32_t itemId) const {
    if (slot < 0 || slot >= TKelPlayerItem::kEquipmentSlots)
        return false;
    if (itemId == 0)
        return true;
    const TKelItemItem* item = Db().Item.FindByID(itemId);
    return item && ItemFitsSlot(*item, Item(), slot);
}

std::vector<TFieldChoice> TPlayerPageModel::SlotChoices(int slot) const {
    std::vector<TFieldChoice> choices{{0, "(None)"}};
    for (int i = 0; i < Db().Item.Count(); ++i) {
        const TKelItemItem* item = Db().Item.Items(i);
        if (item->ID != 0 && Fits(slot, item->ID))
            choices.push_back({item->ID, item->Name});
    }
    return choices;
}

std::int32_t TPlayerPageModel::SlotItem(int slot) const {
    const std::int32_t id = Item().Equipment(slot);
    return Fits(slot, id) ? id : 0;
}

bool TPlayerPageModel::IsTwoHanded(std::int32_t itemId) const {
    const TKelItemItem* item = itemId ? Db().Item.FindByID(itemId) : nullptr;
    return item && IsTwoHandedWeapon(*item);
}

void TPlayerPageModel::ApplyTwoHandedRule(int changedSlot) {
    TKelPlayerItem& hero = Item();
    const bool both = IsTwoHanded(hero.Equipment(hsWeapon)) || IsTwoHanded(hero.Equipment(hsShield));
    if (!both)
        return;
    if (changedSlot == hsWeapon)
        hero.SetEquipment(hsShield, 0);
    else if (changedSlot == hsShield && hero.Equipment(hsShield) != 0)
        hero.SetEquipment(hsWeapon, 0);
}

bool TPlayerPageModel::SetSlotItem(int slot, std::int32_t itemId) {
    if (!Fits(slot, itemId) || Item().Equipment(slot) == itemId)
        return false;
    Item().SetEquipment(slot, itemId);
    ApplyTwoHandedRule(slot);
    Modify();
    return true;
}

void TPlayerPageModel::SetTwoSwords(bool on) {
    if (TwoSwords() == on)
        return;
    Item().TwoSwords = on ? 1 : 0;
    if (!Fits(hsShield, Item().Equipment(hsShield)))
        Item().SetEquipment(hsShield, 0);
    Modify();
}

std::vector<TFieldChoice> TPlayerPageModel::AnimationChoices() const {
    std::vector<TFieldChoice> choices;
    for (int i = 0; i < Db().Animation.Count(); ++i)
        choices.push_back({Db().Animation.Items(i)->ID, Db().Animation.Items(i)->Name});
    return choices;
}

std::int32_t TPlayerPageModel::UnarmedAnimation() const {
    const std::int32_t id = Item().UnarmedAnimationId;
    if (Db().Animation.FindByID(id))
        return id;
    return Db().Animation.Count() > 0 ? Db().Animation.Items(0)->ID : 1;
}

bool TPlayerPageModel::SetUnarmedAnimation(std::int32_t id) {
    if (!Db().Animation.FindByID(id) || id == Item().UnarmedAnimationId)
        return false;
    Item().UnarmedAnimationId = id;
    Modify();
    return true;
}

void TPlayerPageModel::SetCustomSkillName(bool on) {
    if (CustomSkillName() == on)
        return;
    Item().CustomSkillName = on ? 1 : 0;
    Modify();
}

void TPlayerPageModel::SetSkillCommandName(const std::string& text) {
    if (Item().SkillCommandName == text)
        return;
    Item().SkillCommandName = text;
    Modify();
}

std::string TPlayerPageModel::LearningLevelText(int row) const {
    const TKelPlayerLearningItem* entry = row >= 0 ? Item().Learning.Items(row) : nullptr;
    if (!entry)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "L-%2d", static_cast<int>(entry->Level));
    return text;
}

std::string TPlayerPageModel::LearningSkillText(int row) const {
    const TKelPlayerLearningItem* entry = row >= 0 ? Item().Learning.Items(row) : nullptr;
    if (!entry)
        return {};
    const TKelSkillItem* skill = Db().Skill.FindByID(entry->SkillId);
    return skill ? skill->Name : "?";
}

bool TPlayerPageModel::CanEditLearning(int row) const {
    const int count = Item().Learning.Count();
    return (row >= 0 && row < count) || (row == count && count < kHeroLearningMax);
}

int TPlayerPageModel::StoreLearning(int row, std::int32_t level, std::int32_t skillId) {
    if (!CanEditLearning(row))
        return -1;
    TKelPlayerItem& hero = Item();
    TKelPlayerLearningItem* entry =
        row < hero.Learning.Count() ? hero.Learning.Items(row) : &hero.Learning.Append();
    entry->Level = std::clamp<std::int32_t>(level, 1, kLevelMax);
    entry->SkillId = skillId;
    SortLearning(hero);
    Modify();
    for (int i = 0; i < hero.Learning.Count(); ++i)
        if (hero.Learning.Items(i) == entry)
            return i;
    return -1;
}

bool TPlayerPageModel::DeleteLearning(int row) {
    if (!CanDeleteLearning(row))
        return false;
    Item().Learning.DeleteAndRenumber(Item().Learning.Items(row)->ID);
    Modify();
    return true;
}

std::vector<TRankListModel::TRow> TPlayerPageModel::ConditionRows() const {
    return RankRows(Db().Status, [this](std::int32_t id) { return Item().ConditionRank(id); });
}

std::vector<TRankListModel::TRow> TPlayerPageModel::AttributeRows() const {
    return RankRows(Db().Attrib, [this](std::int32_t id) { return Item().AttributeRank(id); });
}

bool TPlayerPageModel::SetConditionRank(int row, int rank) {
    if (row < 0 || row >= Db().Status.Count() || rank < 0 || rank >= kRankCount)
        return false;
    const std::int32_t id = Db().Status.Items(row)->ID;
    if (Item().ConditionRankCount < Db().Status.Count())
        Item().SetConditionRankCount(Db().Status.Count());
    Item().SetConditionRank(id, static_cast<std::uint8_t>(rank));
    Modify();
    return true;
}

bool TPlayerPageModel::SetAttributeRank(int row, int rank) {
    if (row < 0 || row >= Db().Attrib.Count() || rank < 0 || rank >= kRankCount)
        return false;
    const std::int32_t id = Db().Attrib.Items(row)->ID;
    if (Item().AttributeRankCount < Db().Attrib.Count())
        Item().SetAttributeRankCount(Db().Attrib.Count());
    Item().SetAttributeRank(id, static_cast<std::uint8_t>(rank));
    Modify();
    return true;
}

namespace {

using TForm = TFieldFormBuilder<TPlayerPageModel>;

void Slot(TForm& form, const char* widget, const char* label, int slot, const char* key) {
    form.Field(
            TFieldKind::IdList, widget, label, [slot](const TPlayerPageModel& m) { return m.SlotItem(slot); },
            [slot](TPlayerPageModel& m, std::int32_t id) { return m.SetSlotItem(slot, id); })
        .ItemsFrom([slot](const TPlayerPageModel& m) { return m.SlotChoices(slot); })
        .Key(key, "the hero cannot equip that item there");
}

void Check(TForm& form, const char* widget, const char* label, std::uint8_t TKelPlayerItem::*member, const char* key) {
    ItemField(form, TFieldKind::Check, widget, label, member).Key(key);
}

TFieldForm BuildForm() {
    TForm form;
    form.Field(TFieldKind::Text, "EditDegree", "&Degree:", &TPlayerPageModel::Degree, &TPlayerPageModel::SetDegree)
        .Bytes(TKelPlayerItem::kDegreeMaxBytes)
        .Key("degree");
    form.Field(TFieldKind::Number, "EditInitialLevel", "&Initial Level:", &TPlayerPageModel::InitialLevel,
               &TPlayerPageModel::SetInitialLevel)
        .Range(1, kLevelMax)
        .Key("initial-level");
    form.Field(TFieldKind::Number, "EditMaxLevel", "Max &Level:", &TPlayerPageModel::MaxLevel,
               &TPlayerPageModel::SetMaxLevel)
        .Range(1, kLevelMax)
        .Key("max-level");
    form.Field(TFieldKind::Check, "CheckCritical", "Critical &Hits", &TPlayerPageModel::CriticalEnabled,
               [](TPlayerPageModel& m, std::int32_t on) { m.SetCriticalEnabled(on != 0); })
        .Key("critical");
    form.Field(TFieldKind::Number, "EditCritical", "", &TPlayerPageModel::CriticalChance,
               &TPlayerPageModel::SetCriticalChance)
        .Range(1, kHeroCriticalMax)
        .EnabledWhen([](const TPlayerPageModel& m) { return m.CriticalEnabled(); })
        .With({"LabelCritical", "LabelCriticalAfter"})
        .Key("critical-chance");
    form.Field(TFieldKind::Check, "CheckTwoSwords", "&2 Sword Style", &TPlayerPageModel::TwoSwords,
               [](TPlayerPageModel& m, std::int32_t on) { m.SetTwoSwords(on != 0); })
        .Key("two-swords");
    Check(form, "CheckEquipFix", "E&quipment Fix", &TKelPlayerItem::EquipmentFixed, "equipment-fix");
    Check(form, "CheckAi", "Control by &AI", &TKelPlayerItem::AiControl, "ai");
    Check(form, "CheckStrongDefense", "Stron&g Defense", &TKelPlayerItem::StrongDefense, "strong-defense");
    form.Field(
            TFieldKind::Check, "CheckTransparent", "T&ransp.",
            [](const TPlayerPageModel& m) { return m.Item().CharSetTransparent != 0; },
            [](TPlayerPageModel& m, std::int32_t on) { m.SetTransparent(on != 0); })
        .Key("transparent");
    form.Resource(
        "DashWalk", "", [](const TPlayerPageModel& m) { return m.Item().CharSetName; },
        &TPlayerPageModel::ChooseWalkGraphic);
    form.Resource(
        "DashFace", "", [](const TPlayerPageModel& m) { return m.Item().FaceName; },
        &TPlayerPageModel::ChooseFaceGraphic);
    Slot(form, "ComboWeapon", "&Weapon:", hsWeapon, "weapon");
    Slot(form, "ComboShield", "", hsShield, "shield");
    Slot(form, "ComboArmor", "Ar&mor:", hsArmor, "armor");
    Slot(form, "ComboHelmet", "Helme&t:", hsHelmet, "helmet");
    Slot(form, "ComboAccessory", "A&ccessory:", hsAccessory, "accessory");
    form.Field(TFieldKind::IdList, "ComboUnarmed", "&Unarmed Battle Animation:", &TPlayerPageModel::UnarmedAnimation,
               &TPlayerPageModel::SetUnarmedAnimation)
        .ItemsFrom([](const TPlayerPageModel& m) { return m.AnimationChoices(); })
        .Key("unarmed-animation", "no such animation");
    form.Field(TFieldKind::Check, "CheckSkillName", "TechSkill Sl&ot Name:", &TPlayerPageModel::CustomSkillName,
               [](TPlayerPageModel& m, std::int32_t on) { m.SetCustomSkillName(on != 0); })
        .Key("custom-skill-name");
    form.Field(TFieldKind::Text, "EditSkillName", "", &TPlayerPageModel::SkillCommandName,
               &TPlayerPageModel::SetSkillCommandName)
        .Bytes(TKelPlayerItem::kSkillCommandNameMaxBytes)
        .EnabledWhen([](const TPlayerPageModel& m) { return m.CustomSkillName(); })
        .Key("skill-name");
    return form.Build();
}

}  // namespace

const TFieldForm& PlayerPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

// --- the learning dialog ---

std::int32_t& TPlayerLearningModel::LastLevel() {
    static std::int32_t level = 1;
    return level;
}

std::int32_t& TPlayerLearningModel::LastSkill() {
    static std::int32_t skill = 1;
    return skill;
}

TPlayerLearningModel::TPlayerLearningModel(const TKelDataBase& db, const TKelPlayerItem& hero, int row) {
    const TKelPlayerLearningItem* edited = row >= 0 ? hero.Learning.Items(row) : nullptr;
    std::vector<std::int32_t> taught;
    for (int i = 0; i < hero.Learning.Count(); ++i)
        if (hero.Learning.Items(i) != edited)
            taught.push_back(hero.Learning.Items(i)->SkillId);
    std::sort(taught.begin(), taught.end());  // a hero may teach any number of skills
    for (int i = 0; i < db.Skill.Count(); ++i) {
        const TKelSkillItem* skill = db.Skill.Items(i);
        if (!std::binary_search(taught.begin(), taught.end(), skill->ID))
            mSkills.push_back({skill->ID, skill->Name});
    }
    mLevel = std::clamp<std::int32_t>(edited ? edited->Level : LastLevel(), 1, kLevelMax);
    const std::int32_t startSkill = edited ? edited->SkillId : LastSkill();
    if (!mSkills.empty()) {
        mSkillRow = 0;
        for (std::size_t i = 0; i < mSkills.size(); ++i)
            if (mSkills[i].Id >= startSkill) {
                mSkillRow = static_cast<int>(i);
                break;
            }
    }
}

void TPlayerLearningModel::SetLevel(std::int32_t level) { mLevel = std::clamp<std::int32_t>(level, 1, kLevelMax); }

void TPlayerLearningModel::SetSkillRow(int row) {
    if (row >= 0 && row < static_cast<int>(mSkills.size()))
        mSkillRow = row;
}

std::int32_t TPlayerLearningModel::SkillId() const {
    return mSkillRow >= 0 ? mSkills[static_cast<std::size_t>(mSkillRow)].Id : 0;
}

void TPlayerLearningModel::Confirmed() const {
    LastLevel() = mLevel;
    if (mSkillRow >= 0)
        LastSkill() = SkillId();
}

}  // namespace quillon
