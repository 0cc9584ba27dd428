#include "events/ED_Event.h"

#include "data/LD_DataBase.h"
#include "data/StreamUtils.h"
#include "events/EventChoosers.h"
#include "events/PageClipboard.h"
#include "events/ScriptList.h"
#include "platform/Clipboard.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quillon {

// --- preview ---

TPreviewCell PreviewCell(int pattern, int direction, int animationType, int counter) {
    static constexpr int kStepColumns[4] = {1, 0, 1, 2};
    const int phase = ((counter % 4) + 4) % 4;
    TPreviewCell cell;
    cell.Column = std::clamp(pattern, 0, 2);
    cell.Row = std::clamp(direction, 0, 3);
    if (animationType == kAnimWithStepping || animationType == kAnimFixedDirection)
        cell.Column = kStepColumns[phase];
    else if (animationType == kAnimSpin)
        cell.Row = phase;
    return cell;
}

int PreviewInterval(int speed, bool spin) {
    static constexpr int kPlain[6] = {266, 200, 166, 133, 116, 100};
    static constexpr int kSpin[6] = {400, 266, 200, 133, 100, 66};
    const int index = std::clamp(speed, 1, 6) - 1;
    return spin ? kSpin[index] : kPlain[index];
}

// --- clipboard block ---

std::string EncodePageClipboard(TKelEventPageItem& page) { return EncodeSinglePageBlock(page); }

bool DecodePageClipboard(const std::string& block, TKelEventPageItem& page) {
    return DecodeSinglePageBlock(block, page, [](TKelEventPageItem& read) {
        return read.ScriptDamaged() || read.MoveRoute.RouteDamaged();
    });
}

// --- the model ---

TEventEditorModel::TEventEditorModel(TKelEventItem& event, std::int32_t eventId, bool applyEnabled,
                                     TEventEditorHooks hooks)
    : mEvent(event), mEventId(eventId), mHooks(std::move(hooks)), mApplyEnabled(applyEnabled) {
    NormalizePages();
    // "Paste Page" follows the clipboard, whoever fills it.
    TSignal<>& clipboardChanged = mHooks.Clipboard ? mHooks.Clipboard->Changed : ClipboardChanged();
    mClipboardWatch = clipboardChanged.Connect([this] { Changed(); });
}

void TEventEditorModel::NormalizePages() {
    TKelEventPage& pages = mEvent.Pages;
    if (pages.Count() == 0) {
        pages.Obtain(1);
        return;
    }
    bool numbered = true;
    for (int i = 0; i < pages.Count() && numbered; ++i)
        numbered = pages.Items(i)->ID == i + 1;
    if (!numbered)
        pages.SortAndRenumber([](const TCatalogItem& a, const TCatalogItem& b) { return a.ID < b.ID; });
}

std::string TEventEditorModel::Caption() const {
    char text[32];
    std::snprintf(text, sizeof text, " - ID:%.4d", static_cast<int>(mEventId));
    return text;
}

int TEventEditorModel::PageCount() const { return std::min(mEvent.Pages.Count(), kMaxEventPages); }

TKelEventPageItem& TEventEditorModel::CurrentPage() { return *mEvent.Pages.Items(mCurrent); }
const TKelEventPageItem& TEventEditorModel::CurrentPage() const { return *mEvent.Pages.Items(mCurrent); }

void TEventEditorModel::Changed() const { OnChanged(); }

void TEventEditorModel::Edited() {
    mApplyEnabled = true;
    Changed();
}

void TEventEditorModel::SelectPage(int index) {
    if (index < 0 || index >= PageCount() || index == mCurrent)
        return;
    mCurrent = index;
    mPreviewCounter = 0;
    OnPagesChanged();
    OnGraphicChanged();
    Changed();
}

IClipboard& TEventEditorModel::ClipboardInUse() const { return mHooks.Clipboard ? *mHooks.Clipboard : Clipboard(); }

TPageButtons TEventEditorModel::PageButtons() const {
    const int count = mEvent.Pages.Count();
    TPageButtons buttons;
    buttons.NewPage = count < kMaxEventPages;
    buttons.CopyPage = true;
    buttons.PastePage = count < kMaxEventPages && ClipboardInUse().HasFormat(TKelEventPageItem::kClipboardFormat);
    buttons.DeletePage = count >= 2;
    return buttons;
}

TKelEventPageItem& TEventEditorModel::InsertPageAfterCurrent() {
    TKelEventPageItem& page = mEvent.Pages.InsertAndRenumber(CurrentPage().ID + 1);
    mCurrent += 1;
    mPreviewCounter = 0;
    return page;
}

bool TEventEditorModel::NewPage() {
    if (!PageButtons().NewPage)
        return false;
    // The pages are owned one by one: the current page stays where it is while the list grows.
    const TKelEventPageItem& from = CurrentPage();
    TKelEventPageItem& page = InsertPageAfterCurrent();
    page.GraphicName = from.GraphicName;
    page.GraphicIndex = from.GraphicIndex;
    page.GraphicDirection = from.GraphicDirection;
    page.GraphicPattern = from.GraphicPattern;
    page.Transparent = from.Transparent;
    page.MoveType = from.MoveType;
    page.MoveFrequency = from.MoveFrequency;
    page.Trigger = from.Trigger;
    page.Priority = from.Priority;
    page.NoOverlap = from.NoOverlap;
    page.AnimationType = from.AnimationType;
    page.MoveSpeed = from.MoveSpeed;
    page.MoveRoute.Assign(from.MoveRoute);
    mApplyEnabled = true;
    OnPagesChanged();
    OnGraphicChanged();
    Changed();
    return true;
}

bool TEventEditorModel::CopyPage() {
    ClipboardInUse().SetData(TKelEventPageItem::kClipboardFormat, EncodePageClipboard(CurrentPage()));
    return true;
}

bool TEventEditorModel::PastePage() {
    if (!PageButtons().PastePage)
        return false;
    const auto block = ClipboardInUse().GetData(TKelEventPageItem::kClipboardFormat);
    TKelEventPageItem pasted;
    if (!block || !DecodePageClipboard(*block, pasted))
        return false;
    TKelEventPageItem& page = InsertPageAfterCurrent();
    const std::int32_t id = page.ID;
    page.Assign(pasted);
    page.SetID(id);
    mApplyEnabled = true;
    OnPagesChanged();
    OnGraphicChanged();
    Changed();
    return true;
}

bool TEventEditorModel::DeletePage() {
    if (!PageButtons().DeletePage)
        return false;
    mEvent.Pages.DeleteAndRenumber(CurrentPage().ID);
    mCurrent = std::min(mCurrent, PageCount() - 1);
    mPreviewCounter = 0;
    mApplyEnabled = true;
    OnPagesChanged();
    OnGraphicChanged();
    Changed();
    return true;
}

bool TEventEditorModel::NextPage() {
    if (PageCount() < 2)
        return false;
    SelectPage((mCurrent + 1) % PageCount());
    return true;
}

bool TEventEditorModel::PreviousPage() {
    if (PageCount() < 2)
        return false;
    SelectPage((mCurrent + PageCount() - 1) % PageCount());
    return true;
}

// --- conditions ---

bool TEventEditorModel::ConditionOn(TEventCondition condition) const {
    return (CurrentPage().Condition.Flags >> static_cast<int>(condition)) & 1;
}

void TEventEditorModel::SetConditionOn(TEventCondition condition, bool on) {
    std::uint8_t& flags = CurrentPage().Condition.Flags;
    const auto bit = static_cast<std::uint8_t>(1u << static_cast<int>(condition));
    const auto next = static_cast<std::uint8_t>(on ? (flags | bit) : (flags & ~bit));
    if (next == flags)
        return;
    flags = next;
    Edited();
}

std::string TEventEditorModel::SwitchText(std::int32_t id) const {
    if (mHooks.DataBase)
        if (const TKelSwitchItem* item = mHooks.DataBase->Switch.FindByID(id))
            return item->DisplayText();
    return FormatIdName(id, {});
}

std::string TEventEditorModel::SwitchAText() const { return SwitchText(CurrentPage().Condition.SwitchAId); }
std::string TEventEditorModel::SwitchBText() const { return SwitchText(CurrentPage().Condition.SwitchBId); }

std::string TEventEditorModel::VariableText() const {
    const std::int32_t id = CurrentPage().Condition.VariableId;
    if (mHooks.DataBase)
        if (const TKelVariableItem* item = mHooks.DataBase->Variable.FindByID(id))
            return item->DisplayText();
    return FormatIdName(id, {});
}

void TEventEditorModel::NoteDataBaseChange() {
    if (mHooks.Choosers && mHooks.Choosers->DataBaseChanged())
        mDataBaseChanged = true;
}

bool TEventEditorModel::PickConditionId(TEventCondition condition, std::int32_t& field, bool variable) {
    if (!mHooks.Choosers || !ConditionOn(condition))
        return false;
    std::int32_t id = field;
    const bool chosen = variable ? mHooks.Choosers->ChooseVariable(id) : mHooks.Choosers->ChooseSwitch(id);
    const bool changed = chosen && id != field;
    if (changed)
        field = id;
    NoteDataBaseChange();
    // Names may have changed even when the ID did not: the boxes and the command list show
    // them again.
    if (mHooks.Choosers->DataBaseChanged())
        OnRenderScript();
    if (changed)
        Edited();
    else
        Changed();
    return changed || mDataBaseChanged;
}

bool TEventEditorModel::ChooseSwitchA() {
    return PickConditionId(TEventCondition::SwitchA, CurrentPage().Condition.SwitchAId, false);
}

bool TEventEditorModel::ChooseSwitchB() {
    return PickConditionId(TEventCondition::SwitchB, CurrentPage().Condition.SwitchBId, false);
}

bool TEventEditorModel::ChooseVariable() {
    return PickConditionId(TEventCondition::Variable, CurrentPage().Condition.VariableId, true);
}

std::int32_t TEventEditorModel::VariableValue() const { return CurrentPage().Condition.VariableValue; }

void TEventEditorModel::SetVariableValue(std::int32_t value) {
    value = std::clamp(value, kConditionValueMin, kConditionValueMax);
    if (value == CurrentPage().Condition.VariableValue)
        return;
    CurrentPage().Condition.VariableValue = value;
    Edited();
}

namespace {

template <class TList>
std::vector<TFieldChoice> ChoicesOf(const TList& list) {
    std::vector<TFieldChoice> choices;
    choices.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        choices.push_back({list.Items(i)->ID, list.Items(i)->Name});
    return choices;
}

// The ID the list shows: the stored one when the list holds it, else the first entry's.
template <class TList>
std::int32_t ShownId(const TList* list, std::int32_t stored) {
    if (!list || list->Count() == 0)
        return stored;
    if (list->FindByID(stored))
        return stored;
    return list->Items(0)->ID;
}

}  // namespace

std::vector<TFieldChoice> TEventEditorModel::ItemChoices() const {
    return mHooks.DataBase ? ChoicesOf(mHooks.DataBase->Item) : std::vector<TFieldChoice>{};
}

std::vector<TFieldChoice> TEventEditorModel::HeroChoices() const {
    return mHooks.DataBase ? ChoicesOf(mHooks.DataBase->Player) : std::vector<TFieldChoice>{};
}

std::int32_t TEventEditorModel::ShownItemId() const {
    return ShownId(mHooks.DataBase ? &mHooks.DataBase->Item : nullptr, CurrentPage().Condition.ItemId);
}

std::int32_t TEventEditorModel::ShownHeroId() const {
    return ShownId(mHooks.DataBase ? &mHooks.DataBase->Player : nullptr, CurrentPage().Condition.HeroId);
}

void TEventEditorModel::SetItemId(std::int32_t id) {
    if (id == CurrentPage().Condition.ItemId)
        return;
    CurrentPage().Condition.ItemId = id;
    Edited();
}

void TEventEditorModel::SetHeroId(std::int32_t id) {
    if (id == CurrentPage().Condition.HeroId)
        return;
    CurrentPage().Condition.HeroId = id;
    Edited();
}

std::int32_t TEventEditorModel::TimerMinutes() const {
    return std::clamp(CurrentPage().Condition.TimerSeconds / 60, 0, kTimerMaxMinutes);
}

std::int32_t TEventEditorModel::TimerSeconds() const {
    return std::clamp(CurrentPage().Condition.TimerSeconds % 60, 0, kTimerMaxSeconds);
}

void TEventEditorModel::SetTimerMinutes(std::int32_t minutes) {
    const std::int32_t total = std::clamp(minutes, 0, kTimerMaxMinutes) * 60 + TimerSeconds();
    if (total == CurrentPage().Condition.TimerSeconds)
        return;
    CurrentPage().Condition.TimerSeconds = total;
    Edited();
}

void TEventEditorModel::SetTimerSeconds(std::int32_t seconds) {
    const std::int32_t total = TimerMinutes() * 60 + std::clamp(seconds, 0, kTimerMaxSeconds);
    if (total == CurrentPage().Condition.TimerSeconds)
        return;
    CurrentPage().Condition.TimerSeconds = total;
    Edited();
}

// --- graphic and movement ---

bool TEventEditorModel::ChooseGraphic() {
    if (!mHooks.Choosers)
        return false;
    TKelEventPageItem& page = CurrentPage();
    std::string name = page.GraphicName;
    std::int32_t index = page.GraphicIndex;
    std::int32_t direction = page.GraphicDirection;
    std::int32_t pattern = page.GraphicPattern;
    const bool chosen = mHooks.Choosers->ChooseEventGraphic(name, index, direction, pattern);
    NoteDataBaseChange();
    if (!chosen)
        return false;
    const bool wasCharacter = !page.GraphicName.empty();
    page.GraphicName = name;
    page.GraphicIndex = index;
    page.GraphicDirection = static_cast<std::uint8_t>(std::clamp(direction, 0, 3));
    page.GraphicPattern = std::clamp(pattern, 0, 2);
    const bool isCharacter = !page.GraphicName.empty();
    if (!wasCharacter && isCharacter) {
        if (page.Priority == kPriorityBelowHero)
            page.Priority = kPrioritySameLevel;
        page.AnimationType = 0;
    } else if (wasCharacter && !isCharacter) {
        if (page.Priority == kPrioritySameLevel)
            page.Priority = kPriorityBelowHero;
        page.AnimationType = 0;
    }
    mPreviewCounter = 0;
    OnGraphicChanged();
    Edited();
    return true;
}

void TEventEditorModel::SetFlag(std::uint8_t& field, bool on) {
    const std::uint8_t value = on ? 1 : 0;
    if (field == value)
        return;
    field = value;
    Edited();
}

void TEventEditorModel::SetTransparent(bool on) {
    const bool before = Transparent();
    SetFlag(CurrentPage().Transparent, on);
    if (before != Transparent())
        OnGraphicChanged();
}

void TEventEditorModel::SetNoOverlap(bool on) { SetFlag(CurrentPage().NoOverlap, on); }

namespace {

bool SetByte(std::uint8_t& field, std::int32_t value, std::int32_t max) {
    const auto next = static_cast<std::uint8_t>(std::clamp(value, 0, max));
    if (next == field)
        return false;
    field = next;
    return true;
}

}  // namespace

void TEventEditorModel::SetMoveType(std::int32_t type) {
    if (SetByte(CurrentPage().MoveType, type, kMoveByRoute))
        Edited();
}

std::int32_t TEventEditorModel::FrequencyIndex() const { return std::clamp(CurrentPage().MoveFrequency, 1, 8) - 1; }

void TEventEditorModel::SetFrequencyIndex(std::int32_t index) {
    const std::int32_t frequency = std::clamp(index, 0, 7) + 1;
    if (frequency == CurrentPage().MoveFrequency)
        return;
    CurrentPage().MoveFrequency = frequency;
    Edited();
}

bool TEventEditorModel::EditRoute() {
    if (!mHooks.Choosers || MoveType() != kMoveByRoute)
        return false;
    TKelEventPageItem& page = CurrentPage();
    TMoveRouteRequest request;
    request.CommandMode = false;
    request.Frequency = std::clamp(page.MoveFrequency, 1, 8);
    request.Route.Assign(page.MoveRoute);
    request.GraphicName = page.GraphicName;
    request.GraphicIndex = page.GraphicIndex;
    TEventCommandContext context;
    context.EventId = mEventId;
    context.EventItem = &mEvent;
    context.DataBase = mHooks.DataBase;
    context.Choosers = mHooks.Choosers;
    const bool edited = mHooks.Choosers->EditMoveRoute(request, context);
    NoteDataBaseChange();
    if (!edited)
        return false;
    page.MoveFrequency = std::clamp(request.Frequency, 1, 8);
    page.MoveRoute.Assign(request.Route);
    Edited();
    return true;
}

void TEventEditorModel::SetTrigger(std::int32_t trigger) {
    if (SetByte(CurrentPage().Trigger, trigger, 4))
        Edited();
}

void TEventEditorModel::SetPriority(std::int32_t priority) {
    if (SetByte(CurrentPage().Priority, priority, kPriorityOverHero))
        Edited();
}

void TEventEditorModel::SetAnimationType(std::int32_t type) {
    const std::uint8_t before = CurrentPage().AnimationType;
    if (!SetByte(CurrentPage().AnimationType, type, kAnimSpin))
        return;
    // The spin starts turning from where the character faces.
    if (CurrentPage().AnimationType == kAnimSpin && before != kAnimSpin)
        mPreviewCounter = std::clamp<int>(CurrentPage().GraphicDirection, 0, 3);
    Edited();
}

std::int32_t TEventEditorModel::SpeedIndex() const { return std::clamp(CurrentPage().MoveSpeed, 1, 6) - 1; }

void TEventEditorModel::SetSpeedIndex(std::int32_t index) {
    const std::int32_t speed = std::clamp(index, 0, 5) + 1;
    if (speed == CurrentPage().MoveSpeed)
        return;
    CurrentPage().MoveSpeed = speed;
    Edited();
}

// --- name ---

void TEventEditorModel::SetName(const std::string& name) {
    if (name == mEvent.Name)
        return;
    mEvent.Name = name;
    mNameEdited = true;
    Edited();
}

void TEventEditorModel::NameEditingFinished() {
    if (!mNameEdited)
        return;
    mNameEdited = false;
    OnRenderScript();
}

// --- preview ---

TPreviewCell TEventEditorModel::CurrentPreviewCell() const {
    const TKelEventPageItem& page = CurrentPage();
    return PreviewCell(page.GraphicPattern, page.GraphicDirection, page.AnimationType, mPreviewCounter);
}

int TEventEditorModel::CurrentPreviewInterval() const {
    return PreviewInterval(CurrentPage().MoveSpeed, CurrentPage().AnimationType == kAnimSpin);
}

// --- committing ---

bool TEventEditorModel::Commit(std::string& error) {
    error.clear();
    if (mHooks.Commit && !mHooks.Commit(mEvent))
        return false;
    NoteDataBaseChange();
    if (mDataBaseChanged && mHooks.SaveDataBase) {
        if (!mHooks.SaveDataBase(error))
            return false;  // the flag stays: closing reads the file again
    }
    if (mDataBaseChanged && mHooks.Choosers)
        mHooks.Choosers->DataBaseSaved();
    mDataBaseChanged = false;
    return true;
}

bool TEventEditorModel::Ok(std::string& error) { return Commit(error); }

bool TEventEditorModel::Apply(std::string& error) {
    if (!Commit(error))
        return false;
    mApplyEnabled = false;
    Changed();
    return true;
}

void TEventEditorModel::Close() {
    NoteDataBaseChange();
    if (mDataBaseChanged && mHooks.ReloadDataBase)
        mHooks.ReloadDataBase();
    if (mDataBaseChanged && mHooks.Choosers)
        mHooks.Choosers->DataBaseSaved();
    mDataBaseChanged = false;
}

// --- the form ---

namespace {

using TForm = TFieldFormBuilder<TEventEditorModel>;

bool On(const TEventEditorModel& m, TEventCondition c) { return m.ConditionOn(c); }

void AddCondition(TForm& form, TEventCondition condition, const char* widget, const char* label) {
    form.Field(
        TFieldKind::Check, widget, label, [condition](const TEventEditorModel& m) { return m.ConditionOn(condition) ? 1 : 0; },
        [condition](TEventEditorModel& m, std::int32_t on) { m.SetConditionOn(condition, on != 0); });
}

TFieldForm BuildForm() {
    TForm form;
    form.Field(TFieldKind::Text, "EditName", "&Name:", &TEventEditorModel::Name,
               [](TEventEditorModel& m, const std::string& name) { m.SetName(name); })
        .Bytes(kEventNameMaxBytes);

    AddCondition(form, TEventCondition::SwitchA, "CheckSwitchA", "&Switch");
    AddCondition(form, TEventCondition::SwitchB, "CheckSwitchB", "Sw&itch");
    AddCondition(form, TEventCondition::Variable, "CheckVariable", "&Variable");
    AddCondition(form, TEventCondition::Item, "CheckItem", "It&em");
    AddCondition(form, TEventCondition::Hero, "CheckHero", "He&ro");
    AddCondition(form, TEventCondition::Timer, "CheckTimer", "&Timer");

    form.Resource("ButtonSwitchA", "Switch A", &TEventEditorModel::SwitchAText, &TEventEditorModel::ChooseSwitchA)
        .EnabledWhen([](const TEventEditorModel& m) { return On(m, TEventCondition::SwitchA); })
        .With({"LabelSwitchAOn"});
    form.Resource("ButtonSwitchB", "Switch B", &TEventEditorModel::SwitchBText, &TEventEditorModel::ChooseSwitchB)
        .EnabledWhen([](const TEventEditorModel& m) { return On(m, TEventCondition::SwitchB); })
        .With({"LabelSwitchBOn"});
    form.Resource("ButtonVariable", "Variable", &TEventEditorModel::VariableText, &TEventEditorModel::ChooseVariable)
        .EnabledWhen([](const TEventEditorModel& m) { return On(m, TEventCondition::Variable); })
        .With({"LabelVariableAtLeast"});
    form.Field(TFieldKind::Number, "SpinVariableValue", "", &TEventEditorModel::VariableValue,
               &TEventEditorModel::SetVariableValue)
        .Range(kConditionValueMin, kConditionValueMax)
        .EnabledWhen([](const TEventEditorModel& m) { return On(m, TEventCondition::Variable); })
        .With({"LabelVariableValue"});
    form.Field(TFieldKind::IdList, "ComboItem", "", &TEventEditorModel::ShownItemId, &TEventEditorModel::SetItemId)
        .ItemsFrom([](const TEventEditorModel& m) { return m.ItemChoices(); })
        .EnabledWhen([](const TEventEditorModel& m) { return On(m, TEventCondition::Item); })
        .With({"LabelItem"});
    form.Field(TFieldKind::IdList, "ComboHero", "", &TEventEditorModel::ShownHeroId, &TEventEditorModel::SetHeroId)
        .ItemsFrom([](const TEventEditorModel& m) { return m.HeroChoices(); })
        .EnabledWhen([](const TEventEditorModel& m) { return On(m, TEventCondition::Hero); })
        .With({"LabelHero"});
    form.Field(TFieldKind::Number, "SpinTimerMinutes", "", &TEventEditorModel::TimerMinutes,
               &TEventEditorModel::SetTimerMinutes)
        .Range(0, kTimerMaxMinutes)
        .EnabledWhen([](const TEventEditorModel& m) { return On(m, TEventCondition::Timer); })
        .With({"LabelTimerMinutes"});
    form.Field(TFieldKind::Number, "SpinTimerSeconds", "", &TEventEditorModel::TimerSeconds,
               &TEventEditorModel::SetTimerSeconds)
        .Range(0, kTimerMaxSeconds)
        .EnabledWhen([](const TEventEditorModel& m) { return On(m, TEventCondition::Timer); })
        .With({"LabelTimerSeconds"});

    form.Resource("ButtonGraphicSet", "", nullptr, &TEventEditorModel::ChooseGraphic);
    form.Field(TFieldKind::Check, "CheckTransparent", "", &TEventEditorModel::Transparent,
               [](TEventEditorModel& m, std::int32_t on) { m.SetTransparent(on != 0); });

    form.Field(TFieldKind::DropDown, "ComboMoveType", "", &TEventEditorModel::MoveType, &TEventEditorModel::SetMoveType)
        .Choices({"Stay Still", "Random Movement", "Cycle Up-Down", "Cycle Left-Right", "Step Toward Hero",
                  "Step Away from Hero", "By Its Route"});
    form.Field(TFieldKind::DropDown, "ComboFrequency", "", &TEventEditorModel::FrequencyIndex,
               &TEventEditorModel::SetFrequencyIndex)
        .Choices({"1", "2", "3", "4", "5", "6", "7", "8"})
        .EnabledWhen([](const TEventEditorModel& m) { return m.MoveType() != kMoveStayStill; })
        .With({"LabelFrequency"});
    form.Resource("ButtonEditRoute", "", nullptr, &TEventEditorModel::EditRoute)
        .EnabledWhen([](const TEventEditorModel& m) { return m.MoveType() == kMoveByRoute; });

    form.Field(TFieldKind::DropDown, "ComboTrigger", "", &TEventEditorModel::Trigger, &TEventEditorModel::SetTrigger)
        .Choices({"Push Key", "On Hero Touch", "On Touch (Event,Hero)", "Auto Start", "Parallel Process"});
    form.Field(TFieldKind::DropDown, "ComboPriority", "", &TEventEditorModel::Priority, &TEventEditorModel::SetPriority)
        .Choices({"Below Hero", "Same Level as Hero", "Over Hero"});
    form.Field(TFieldKind::Check, "CheckNoOverlap", "", &TEventEditorModel::NoOverlap,
               [](TEventEditorModel& m, std::int32_t on) { m.SetNoOverlap(on != 0); });
    form.Field(TFieldKind::DropDown, "ComboAnimationType", "", &TEventEditorModel::AnimationType,
               &TEventEditorModel::SetAnimationType)
        .Choices({"Common/Without Stepping", "Common/With Stepping", "Without Stepping", "Fixed Direction",
                  "Fixed Graphic", "Spin (Turn Right)"})
        .EnabledWhen([](const TEventEditorModel& m) { return m.ShowsCharacter(); })
        .With({"LabelAnimationType"});
    form.Field(TFieldKind::DropDown, "ComboSpeed", "", &TEventEditorModel::SpeedIndex, &TEventEditorModel::SetSpeedIndex)
        .Choices({"1: x8 Slower", "2: x4 Slower", "3: x2 Slower", "4: Normal", "5: x2 Faster", "6: x4 Faster"});
    return form.Build();
}

}  // namespace

const TFieldForm& EventPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
