#include "database/ED_MonsterAct.h"

#include "data/LD_DataBase.h"
#include "database/DataBasePage.h"
#include "database/PageLists.h"
#include "events/EventChoosers.h"
#include "platform/Clipboard.h"

#include <algorithm>

namespace quillon {

namespace {

// Value ranges, labels and the B default of the condition types (index = type).
struct TConditionRule {
    std::int32_t Min, Max;
    const char* LabelA;
    const char* LabelB;
    bool BDefaultsToMin;
};
const TConditionRule kConditionRules[] = {
    {0, 0, "", "", true},                                                   // Usually
    {0, 0, "", "- ON", true},                                               // Switch
    {0, 100, "×  +", "Turn", true},                                         // Turn Number
    {1, 10, "More", "Less", false},                                         // Monsters Quantity
    {0, 100, "% Above", "% Below", false},                                  // Oneself HP
    {0, 100, "% More", "% Less", false},                                    // Oneself MP
    {1, 50, "More than or Equal to", "Less than or Equal to", false},       // Hero Average Level
    {0, 100, "% More", "% Less", false},                                    // Hero Exhaustion
};

const TConditionRule* RuleOf(std::uint8_t type) {
    return type < std::size(kConditionRules) ? &kConditionRules[type] : nullptr;
}

std::string NameOrMissing(const TCatalog& list, std::int32_t id) {
    const TCatalogItem* item = list.FindByID(id);
    return item ? item->Name : std::string("?");
}

std::string RangeText(const TKelMonsterActItem& act) {
    if (act.ConditionA == act.ConditionB)
        return std::to_string(act.ConditionA);
    return std::to_string(act.ConditionA) + "-" + std::to_string(act.ConditionB);
}

TKelMonsterActItem& LastConfirmedAct() {
    static TKelMonsterActItem last;
    return last;
}

void CopyAct(const TKelMonsterActItem& from, TKelMonsterActItem& to) {
    const std::int32_t id = to.ID;
    to.Assign(from);
    to.ID = id;
}

}  // namespace

const std::vector<std::string>& MonsterBehaviorNames() {
    static const std::vector<std::string> names = {"Normal Hit", "Critical Hit", "Defense Attribute",
                                                   "Watch State", "Accumulate Power", "Self-Annihilation",
                                                   "Escape", "Nothing"};
    return names;
}

const std::vector<std::string>& MonsterConditionNames() {
    static const std::vector<std::string> names = {"Usually", "Switch", "Turn Number", "Monsters Quantity",
                                                   "Oneself HP", "Oneself MP", "Hero Average Level",
                                                   "Hero Exhaustion"};
    return names;
}

std::string MonsterActSubject(const TKelMonsterActItem& act, const TKelDataBase& db) {
    switch (act.Kind) {
    case TKelMonsterActItem::akBehavior:
        return act.Behavior < MonsterBehaviorNames().size() ? MonsterBehaviorNames()[act.Behavior] : "?";
    case TKelMonsterActItem::akSkill: return NameOrMissing(db.Skill, act.SkillId);
    case TKelMonsterActItem::akTransform: return "Change:" + NameOrMissing(db.Monster, act.TransformId);
    default: return "?";
    }
}

std::string MonsterActCondition(const TKelMonsterActItem& act, const TKelDataBase& db) {
    switch (act.ConditionType) {
    case TKelMonsterActItem::acAlways: return "Usually";
    case TKelMonsterActItem::acSwitch: {
        const TCatalogItem* sw = db.Switch.FindByID(act.ConditionSwitchId);
        return "Switch [" + (sw ? DataBaseRowText(sw->ID, sw->Name) : std::string("?")) + "]-ON";
    }
    case TKelMonsterActItem::acTurn:
        if (act.ConditionA == 0)
            return "Turn Number [" + std::to_string(act.ConditionB) + "]";
        if (act.ConditionB == 0)
            return "Turn Number [" + std::to_string(act.ConditionA) + "x]";
        return "Turn Number [" + std::to_string(act.ConditionA) + "x+" + std::to_string(act.ConditionB) + "]";
    case TKelMonsterActItem::acMonsterCount: return "Monsters Group Quantity [" + RangeText(act) + "]";
    case TKelMonsterActItem::acOwnHp: return "Oneself HP [" + RangeText(act) + "]";
    case TKelMonsterActItem::acOwnMp: return "Oneself MP [" + RangeText(act) + "]";
    case TKelMonsterActItem::acHeroLevel: return "Hero's Party Average Level [" + RangeText(act) + "]";
    case TKelMonsterActItem::acHeroExhaustion: return "Hero's Party Exhaustion [" + RangeText(act) + "]";
    default: return "?";
    }
}

std::string MonsterActPriority(const TKelMonsterActItem& act) { return std::to_string(act.Priority); }

bool ReadMonsterActBlock(const std::string& block, TKelMonsterActItem& act) {
    std::int32_t count = 0;
    std::string payload;
    if (!SplitClipboardBlock(block, count, payload) || count < 1)
        return false;
    TByteViewStream header(block);
    if (ReadInt32LE(header) != static_cast<std::int32_t>(payload.size()))
        return false;  // a cut block
    // The chunks of the first record: every number known, the three always-written fields
    // present with their one byte, and the record's end inside the block.
    try {
        TByteViewStream stream(payload);
        bool kind = false, behavior = false, type = false;
        for (;;) {
            const std::int32_t field = ReadVarInt(stream);
            if (field == 0)
                break;
            const std::int32_t length = ReadVarInt(stream);
            if (field < 1 || field > 13 || length < 0 || length > stream.Size() - stream.Position())
                return false;
            if (field == 1 || field == 2 || field == 5) {
                if (length != 1)
                    return false;
                (field == 1 ? kind : field == 2 ? behavior : type) = true;
            }
            stream.SetPosition(stream.Position() + length);
        }
        if (!kind || !behavior || !type)
            return false;
        if (count == 1 && stream.Position() != stream.Size())
            return false;  // a single record that does not end where the block ends
        TKelMonsterActItem read;
        TByteViewStream again(payload);
        read.LoadFromStream(again);
        CopyAct(read, act);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

// --- the list ---

void TMonsterActListModel::SetList(TKelMonsterAct& list) {
    mList = &list;
    mSelected = 0;
}

std::string TMonsterActListModel::Cell(int row, int column) const {
    const TKelMonsterActItem* act = row >= 0 && row < mList->Count() ? mList->Items(row) : nullptr;
    if (!act)
        return {};
    switch (column) {
    case 0: return MonsterActSubject(*act, *mDb);
    case 1: return MonsterActCondition(*act, *mDb);
    case 2: return MonsterActPriority(*act);
    default: return {};
    }
}

void TMonsterActListModel::Select(int row) { mSelected = row >= 0 && row < RowCount() ? row : -1; }

TKelMonsterActItem* TMonsterActListModel::SelectedAct() const {
    return mSelected >= 0 && mSelected < mList->Count() ? mList->Items(mSelected) : nullptr;
}

bool TMonsterActListModel::IsEnabled(TMonsterActCommand command) const {
    if (mSelected < 0 || mSelected >= RowCount())
        return false;
    switch (command) {
    case TMonsterActCommand::Edit: return SelectedAct() || mList->Count() < kMonsterActMax;
    case TMonsterActCommand::Cut:
    case TMonsterActCommand::Copy:
    case TMonsterActCommand::Delete: return SelectedAct() != nullptr;
    case TMonsterActCommand::Paste:
        return mList->Count() < kMonsterActMax && Clipboard().HasFormat(kMonsterActClipboardFormat);
    }
    return false;
}

bool TMonsterActListModel::StartEdit(TKelMonsterActItem& edited) const {
    if (!IsEnabled(TMonsterActCommand::Edit))
        return false;
    CopyAct(SelectedAct() ? *SelectedAct() : LastConfirmed(), edited);
    return true;
}

bool TMonsterActListModel::FinishEdit(const TKelMonsterActItem& edited) {
    if (!IsEnabled(TMonsterActCommand::Edit))
        return false;
    if (TKelMonsterActItem* act = SelectedAct()) {
        CopyAct(edited, *act);
        return true;
    }
    MakeRoomAbove(*mList, kMonsterActMax);
    CopyAct(edited, mList->Append());
    mSelected = mList->Count() - 1;
    return true;
}

bool TMonsterActListModel::Delete() {
    TKelMonsterActItem* act = SelectedAct();
    if (!act)
        return false;
    mList->DeleteAndRenumber(act->ID);
    mSelected = std::min(mSelected, RowCount() - 1);
    return true;
}

bool TMonsterActListModel::Copy() {
    TKelMonsterActItem* act = SelectedAct();
    if (!act)
        return false;
    act->CopyToClipboard(kMonsterActClipboardFormat);
    return true;
}

bool TMonsterActListModel::Cut() { return Copy() && Delete(); }

bool TMonsterActListModel::Paste() {
    if (!IsEnabled(TMonsterActCommand::Paste))
        return false;
    const auto block = Clipboard().GetData(kMonsterActClipboardFormat);
    TKelMonsterActItem pasted;
    if (!block || !ReadMonsterActBlock(*block, pasted))
        return false;
    TKelMonsterActItem* target = nullptr;
    MakeRoomAbove(*mList, kMonsterActMax);
    if (TKelMonsterActItem* act = SelectedAct()) {
        target = &mList->InsertAndRenumber(act->ID);
    } else {
        target = &mList->Append();
        mSelected = mList->Count() - 1;
    }
    CopyAct(pasted, *target);
    return true;
}

const TKelMonsterActItem& TMonsterActListModel::LastConfirmed() { return LastConfirmedAct(); }

void TMonsterActListModel::SetLastConfirmed(const TKelMonsterActItem& act) { CopyAct(act, LastConfirmedAct()); }

// --- the dialog ---

TMonsterActDialogModel::TMonsterActDialogModel(const TKelDataBase& db, const TKelMonsterActItem& act,
                                               IEventChoosers* choosers)
    : mDb(&db), mChoosers(choosers) {
    CopyAct(act, mAct);
    mAct.ID = act.ID;
    KeepListValue();
}

void TMonsterActDialogModel::KeepListValue() {
    switch (mAct.Kind) {
    case TKelMonsterActItem::akBehavior:
        if (mAct.Behavior >= MonsterBehaviorNames().size())
            mAct.Behavior = TKelMonsterActItem::abNormalHit;
        break;
    case TKelMonsterActItem::akSkill:
        if (mAct.SkillId < 1 || mAct.SkillId > mDb->Skill.Count())
            mAct.SkillId = 1;
        break;
    case TKelMonsterActItem::akTransform:
        if (mAct.TransformId < 1 || mAct.TransformId > mDb->Monster.Count())
            mAct.TransformId = 1;
        break;
    default: break;
    }
}

void TMonsterActDialogModel::SetKind(std::int32_t kind) {
    if (kind < TKelMonsterActItem::akBehavior || kind > TKelMonsterActItem::akTransform || kind == mAct.Kind)
        return;
    mAct.Kind = static_cast<std::uint8_t>(kind);
    KeepListValue();
}

void TMonsterActDialogModel::SetConditionType(std::int32_t type) {
    const TConditionRule* rule = type >= 0 ? RuleOf(static_cast<std::uint8_t>(type)) : nullptr;
    if (!rule || type == mAct.ConditionType)
        return;
    mAct.ConditionType = static_cast<std::uint8_t>(type);
    if (HasValues()) {
        mAct.ConditionA = rule->Min;
        mAct.ConditionB = rule->BDefaultsToMin ? rule->Min : rule->Max;
    }
}

std::int32_t TMonsterActDialogModel::ValueMin() const {
    const TConditionRule* rule = RuleOf(mAct.ConditionType);
    return rule ? rule->Min : 0;
}

std::int32_t TMonsterActDialogModel::ValueMax() const {
    const TConditionRule* rule = RuleOf(mAct.ConditionType);
    return rule ? rule->Max : 0;
}

void TMonsterActDialogModel::SetValueA(std::int32_t value) {
    if (HasValues())
        mAct.ConditionA = std::clamp(value, ValueMin(), ValueMax());
}

void TMonsterActDialogModel::SetValueB(std::int32_t value) {
    if (HasValues())
        mAct.ConditionB = std::clamp(value, ValueMin(), ValueMax());
}

std::string TMonsterActDialogModel::LabelA() const {
    const TConditionRule* rule = RuleOf(mAct.ConditionType);
    return rule ? rule->LabelA : "";
}

std::string TMonsterActDialogModel::LabelB() const {
    const TConditionRule* rule = RuleOf(mAct.ConditionType);
    return rule ? rule->LabelB : "";
}

std::string TMonsterActDialogModel::ConditionCaption() const {
    if (mAct.ConditionType == TKelMonsterActItem::acAlways || mAct.ConditionType >= MonsterConditionNames().size())
        return {};
    return MonsterConditionNames()[mAct.ConditionType];
}

std::vector<TFieldChoice> TMonsterActDialogModel::SkillChoices() const { return PositionChoices(&mDb->Skill); }
std::vector<TFieldChoice> TMonsterActDialogModel::MonsterChoices() const { return PositionChoices(&mDb->Monster); }

std::string TMonsterActDialogModel::SwitchText(int box) const {
    const std::int32_t id = box == 0 ? mAct.SwitchOnId : box == 1 ? mAct.SwitchOffId : mAct.ConditionSwitchId;
    const TCatalogItem* sw = mDb->Switch.FindByID(id);
    return sw ? DataBaseRowText(sw->ID, sw->Name) : std::string{};
}

bool TMonsterActDialogModel::ChooseSwitch(int box) {
    std::int32_t* target = box == 0 ? &mAct.SwitchOnId : box == 1 ? &mAct.SwitchOffId : &mAct.ConditionSwitchId;
    if (!mChoosers)
        return false;
    std::int32_t id = *target;
    if (!mChoosers->ChooseSwitch(id) || id == *target)
        return false;
    *target = id;
    return true;
}

bool TMonsterActDialogModel::NamesApplied() const { return mChoosers && mChoosers->DataBaseChanged(); }

bool TMonsterActDialogModel::Confirm(std::string& error) {
    if (mAct.ConditionType >= TKelMonsterActItem::acMonsterCount &&
        mAct.ConditionType <= TKelMonsterActItem::acHeroExhaustion && mAct.ConditionB < mAct.ConditionA) {
        error = kMonsterActRangeRefusal;
        return false;
    }
    TMonsterActListModel::SetLastConfirmed(mAct);
    return true;
}

namespace {

using TForm = TFieldFormBuilder<TMonsterActDialogModel>;

TFieldForm BuildForm() {
    TForm form;
    form.Field(TFieldKind::RadioGroup, "RadioKind", "Action", &TMonsterActDialogModel::Kind,
               &TMonsterActDialogModel::SetKind)
        .Choices({"RadioButton1", "RadioButton2", "RadioButton3"});
    form.Field(
            TFieldKind::DropDown, "ComboBox1", "",
            [](const TMonsterActDialogModel& m) { return static_cast<std::int32_t>(m.Act().Behavior); },
            [](TMonsterActDialogModel& m, std::int32_t v) { m.Act().Behavior = static_cast<std::uint8_t>(v); })
        .Choices(MonsterBehaviorNames())
        .EnabledWhen([](const TMonsterActDialogModel& m) { return m.Kind() == TKelMonsterActItem::akBehavior; });
    form.Field(
            TFieldKind::IdList, "ComboBox2", "",
            [](const TMonsterActDialogModel& m) { return m.Act().SkillId; },
            [](TMonsterActDialogModel& m, std::int32_t v) { m.Act().SkillId = v; })
        .ItemsFrom([](const TMonsterActDialogModel& m) { return m.SkillChoices(); })
        .EnabledWhen([](const TMonsterActDialogModel& m) { return m.Kind() == TKelMonsterActItem::akSkill; });
    form.Field(
            TFieldKind::IdList, "ComboBox3", "",
            [](const TMonsterActDialogModel& m) { return m.Act().TransformId; },
            [](TMonsterActDialogModel& m, std::int32_t v) { m.Act().TransformId = v; })
        .ItemsFrom([](const TMonsterActDialogModel& m) { return m.MonsterChoices(); })
        .EnabledWhen([](const TMonsterActDialogModel& m) { return m.Kind() == TKelMonsterActItem::akTransform; });
    form.Field(TFieldKind::DropDown, "ComboBox4", "", &TMonsterActDialogModel::ConditionType,
               &TMonsterActDialogModel::SetConditionType)
        .Choices(MonsterConditionNames());
    form.Field(TFieldKind::Number, "DialEdit1", "", &TMonsterActDialogModel::ValueA, &TMonsterActDialogModel::SetValueA)
        .Range(0, 100)
        .EnabledWhen([](const TMonsterActDialogModel& m) { return m.HasValues(); });
    form.Field(TFieldKind::Number, "DialEdit2", "", &TMonsterActDialogModel::ValueB, &TMonsterActDialogModel::SetValueB)
        .Range(0, 100)
        .EnabledWhen([](const TMonsterActDialogModel& m) { return m.HasValues(); });
    form.Resource(
            "DashBox3", "", [](const TMonsterActDialogModel& m) { return m.SwitchText(2); },
            [](TMonsterActDialogModel& m) { return m.ChooseSwitch(2); })
        .EnabledWhen([](const TMonsterActDialogModel& m) { return m.ConditionType() == TKelMonsterActItem::acSwitch; });
    form.Field(
            TFieldKind::Check, "CheckBox1", "",
            [](const TMonsterActDialogModel& m) { return static_cast<std::int32_t>(m.Act().SwitchOn); },
            [](TMonsterActDialogModel& m, std::int32_t v) { m.Act().SwitchOn = v != 0; });
    form.Resource(
            "DashBox1", "", [](const TMonsterActDialogModel& m) { return m.SwitchText(0); },
            [](TMonsterActDialogModel& m) { return m.ChooseSwitch(0); })
        .EnabledWhen([](const TMonsterActDialogModel& m) { return m.Act().SwitchOn != 0; });
    form.Field(
            TFieldKind::Check, "CheckBox2", "",
            [](const TMonsterActDialogModel& m) { return static_cast<std::int32_t>(m.Act().SwitchOff); },
            [](TMonsterActDialogModel& m, std::int32_t v) { m.Act().SwitchOff = v != 0; });
    form.Resource(
            "DashBox2", "", [](const TMonsterActDialogModel& m) { return m.SwitchText(1); },
            [](TMonsterActDialogModel& m) { return m.ChooseSwitch(1); })
        .EnabledWhen([](const TMonsterActDialogModel& m) { return m.Act().SwitchOff != 0; });
    form.Field(
            TFieldKind::Number, "DialEdit3", "",
            [](const TMonsterActDialogModel& m) { return m.Act().Priority; },
            [](TMonsterActDialogModel& m, std::int32_t v) { m.Act().Priority = v; })
        .Range(1, 100);
    return form.Build();
}

}  // namespace

const TFieldForm& MonsterActDialogForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
