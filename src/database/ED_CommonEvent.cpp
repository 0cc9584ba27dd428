#include "database/ED_CommonEvent.h"

#include "data/LD_DataBase.h"
#include "events/EventChoosers.h"
#include "events/ScriptList.h"

#include <iterator>

namespace quillon {

TCommonEventPageModel::TCommonEventPageModel(const TDataBaseContext& context, IEventChoosers* choosers)
    : TEntryPageModel(context, dtCommonEvents, context.DataBase->CommonEvent), mDb(context.DataBase), mChoosers(choosers) {
    // Another entry, or this one pasted over or cleared: the command list shows its script.
    mCurrentChanged = CurrentChanged.Connect([this] {
        if (mScriptList)
            mScriptList->SetScript(&Item().Script);
    });
}

TCommonEventPageModel::~TCommonEventPageModel() { AttachScriptList(nullptr); }

std::int32_t TCommonEventPageModel::TriggerRow() const {
    for (std::size_t row = 0; row < std::size(kCommonEventTriggers); ++row)
        if (kCommonEventTriggers[row] == Item().Trigger)
            return static_cast<std::int32_t>(row);
    return 0;
}

void TCommonEventPageModel::SetTriggerRow(std::int32_t row) {
    if (row < 0 || row >= static_cast<std::int32_t>(std::size(kCommonEventTriggers)))
        return;
    const std::uint8_t trigger = kCommonEventTriggers[row];
    if (trigger == Item().Trigger)
        return;
    Item().Trigger = trigger;
    Modify();
}

void TCommonEventPageModel::SetSwitchCondition(bool on) {
    if (SwitchCondition() == on)
        return;
    Item().SwitchCondition = on ? 1 : 0;
    Modify();
}

std::string TCommonEventPageModel::SwitchText() const {
    if (!SwitchBoxEnabled() || !mDb)
        return {};
    const TCatalogItem* item = mDb->Switch.FindByID(Item().SwitchId);
    return item ? DataBaseRowText(item->ID, item->Name) : std::string{};
}

bool TCommonEventPageModel::ChooseSwitch() {
    if (!mChoosers || !SwitchBoxEnabled())
        return false;
    NoteAppliedNames();  // what came before is not this picker's
    std::int32_t id = Item().SwitchId;
    const bool chosen = mChoosers->ChooseSwitch(id) && id != Item().SwitchId;
    if (chosen) {
        Item().SwitchId = id;
        Modify();
    }
    const bool names = NoteAppliedNames();
    if (chosen || names)
        CurrentChanged.Emit();  // the switch's name may have changed with it
    return chosen || names;
}

bool TCommonEventPageModel::NoteAppliedNames() {
    if (mNamesNoted || !mChoosers || !mChoosers->DataBaseChanged())
        return false;
    mNamesNoted = true;
    Modify();
    return true;
}

void TCommonEventPageModel::AttachScriptList(TScriptListModel* list) {
    if (mScriptList)
        mScriptList->SetScript(nullptr);
    mScriptModified = {};
    mScriptChanged = {};
    mScriptList = list;
    if (!list)
        return;
    list->SetKind(TScriptEditorKind::CommonEvent);
    TEventCommandContext context;
    context.DataBase = mDb;
    context.MapTree = Context().MapTree;
    context.Map = Context().Map;
    context.Choosers = mChoosers;
    list->SetContext(context);
    mScriptModified = list->OnModified.Connect([this] { Modify(); });
    // A command dialog's picker may have applied names even when the dialog was cancelled.
    mScriptChanged = list->OnChanged.Connect([this] { NoteAppliedNames(); });
    list->SetScript(&Item().Script);
}

namespace {

TFieldForm BuildForm() {
    TFieldFormBuilder<TCommonEventPageModel> form;
    form.Field(TFieldKind::Text, "OverEdit1", "&Name:", &TCommonEventPageModel::Name, &TCommonEventPageModel::SetName)
        .Bytes(kCommonEventNameMaxBytes)
        .Key("name");
    form.Field(TFieldKind::DropDown, "ComboBox1", "Event &Start Condition:", &TCommonEventPageModel::TriggerRow,
               &TCommonEventPageModel::SetTriggerRow)
        .Choices({"Call", "Auto Start", "Parallel Process"})
        .Key("trigger");
    form.Group("GroupBox1", "Appearance Conditions Switch")
        .EnabledWhen([](const TCommonEventPageModel& m) { return m.SwitchGroupEnabled(); });
    form.Field(TFieldKind::Check, "CheckBox1", "S&witch", &TCommonEventPageModel::SwitchCondition,
               [](TCommonEventPageModel& m, std::int32_t on) { m.SetSwitchCondition(on != 0); })
        .EnabledWhen([](const TCommonEventPageModel& m) { return m.SwitchGroupEnabled(); })
        .Key("switch-condition");
    form.Resource("DashBox1", "", &TCommonEventPageModel::SwitchText, &TCommonEventPageModel::ChooseSwitch)
        .EnabledWhen([](const TCommonEventPageModel& m) { return m.SwitchBoxEnabled(); })
        .Writes([](TCommonEventPageModel& m, const TFieldValue& v) {
            const auto* text = std::get_if<std::string>(&v);
            if (!text)
                return;
            try {
                const int id = std::stoi(*text);
                if (id >= 1 && id != m.Item().SwitchId) {
                    m.Item().SwitchId = id;
                    m.Modify();
                }
            } catch (const std::exception&) {
                // Not a number: nothing is stored.
            }
        })
        .Key("switch");
    return form.Build();
}

}  // namespace

const TFieldForm& CommonEventPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
