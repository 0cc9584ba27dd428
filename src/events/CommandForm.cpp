#include "events/CommandForm.h"

#include "controls/LastUsed.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/LD_MonGroup.h"
#include "events/CommandFormBatches.h"
#include "events/EvCmdList.h"
#include "events/EvCmdSelector.h"
#include "events/EventCommands.h"
#include "events/EventScript.h"

#include <algorithm>
#include <stdexcept>
#include <charconv>
#include <cstdio>
#include <set>

namespace quillon {

namespace {

using TRecord = TCommandRecord;

// The largest ID a database list, a switch or a variable can have.
constexpr std::int32_t kMaxEntryId = TCatalog::kMaxPasteId;
// The last member a troop can have (0-based).
constexpr std::int32_t kMaxEnemyIndex = 7;

IEventChoosers* ChoosersOf(const TRecord& r) { return r.Context != nullptr ? r.Context->Choosers : nullptr; }

const TCatalog* ListOf(TEntryList list, const TKelDataBase& db) {
    switch (list) {
    case TEntryList::Hero: return &db.Player;
    case TEntryList::Skill: return &db.Skill;
    case TEntryList::Item: return &db.Item;
    case TEntryList::Troop: return &db.MonGroup;
    case TEntryList::Condition: return &db.Status;
    case TEntryList::Animation: return &db.Animation;
    case TEntryList::ChipSet: return &db.ChipSet;
    case TEntryList::CommonEvent: return &db.CommonEvent;
    case TEntryList::Terrain: return &db.Ground;
    case TEntryList::Switch: return &db.Switch;
    case TEntryList::Variable: return &db.Variable;
    }
    return nullptr;
}

TEventScriptConverter ConverterOf(const TEventCommandContext* context) {
    TEventScriptConverter converter;
    if (context != nullptr) {
        converter.EventId = context->EventId;
        converter.EventItem = context->EventItem;
        converter.MapTree = context->MapTree;
        converter.Map = context->Map;
        converter.MonsterGroup = context->MonsterGroup;
        converter.DataBase = context->DataBase;
    }
    return converter;
}

// "%.4d:%s (%.3d,%.3d)" with the map's name.
std::string PlaceText(const TRecord& r, std::size_t mapParam, std::size_t xParam, std::size_t yParam) {
    const std::int32_t map = r.Param(mapParam);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%.4d:", map);
    std::string text = numbers;
    text += ConverterOf(r.Context).MapName(map);
    std::snprintf(numbers, sizeof numbers, " (%.3d,%.3d)", r.Param(xParam), r.Param(yParam));
    return text + numbers;
}

// "map,x,y" as the command-line tool gives a place.
bool ParsePlace(const std::string& text, std::int32_t (&values)[3]) {
    const char* at = text.data();
    const char* end = at + text.size();
    for (int i = 0; i < 3; ++i) {
        const auto [next, ec] = std::from_chars(at, end, values[i]);
        if (ec != std::errc() || next == at)
            return false;
        at = next;
        if (i < 2) {
            if (at == end || *at != ',')
                return false;
            ++at;
        }
    }
    return at == end;
}

// The remembered settings, one record per command code, for the run.
std::map<std::int32_t, TCommandRecord>& Remembered() {
    return TLastUsed::Value<std::map<std::int32_t, TCommandRecord>>("CommandForm.Remembered");
}

// Whether a kept body holds anything besides its closing empty line.
bool HoldsCommands(const std::vector<TKelEventScriptLine>& body) {
    return std::any_of(body.begin(), body.end(),
                       [](const TKelEventScriptLine& line) { return line.Code != TCommandCode::Empty || line.Indent != 0; });
}

std::int32_t ClampedIndent(std::int64_t indent) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(indent, 0, INT32_MAX));
}

}  // namespace

// --- lists ---

std::vector<TFieldChoice> EntryChoices(TEntryList list, const TEventCommandContext* context) {
    std::vector<TFieldChoice> choices;
    if (context == nullptr || context->DataBase == nullptr)
        return choices;
    const TCatalog* catalog = ListOf(list, *context->DataBase);
    if (catalog == nullptr)
        return choices;
    choices.reserve(static_cast<std::size_t>(catalog->Count()));
    for (int i = 0; i < catalog->Count(); ++i)
        if (const TCatalogItem* item = catalog->Items(i))
            choices.push_back({item->ID, item->Name});
    return choices;
}

std::vector<TFieldChoice> CharacterChoices(const TEventCommandContext* context, bool thisEvent, std::int32_t wanted) {
    std::vector<TFieldChoice> choices = {
        {kCharacterHero, "Hero"}, {kCharacterBoat, "Boat"}, {kCharacterShip, "Ship"}, {kCharacterAirship, "Airship"}};
    if (thisEvent)
        choices.push_back({kCharacterThisEvent, "this Event"});
    const std::size_t fixed = choices.size();
    const TKelEventItem* edited = context != nullptr ? context->EventItem : nullptr;
    const std::int32_t editedId = context != nullptr ? context->EventId : 0;
    bool editedListed = false;
    if (context != nullptr && context->Map != nullptr) {
        const TKelEvent& events = context->Map->Events;
        for (int i = 0; i < events.Count(); ++i) {
            const TKelEventItem* event = events.Items(i);
            if (event == nullptr)
                continue;
            const bool isEdited = edited != nullptr && event->ID == editedId;
            editedListed = editedListed || isEdited;
            choices.push_back({event->ID, isEdited ? edited->Name : event->Name});
        }
    }
    // A new event is not on the map yet: it still names itself.
    if (edited != nullptr && editedId > 0 && !editedListed) {
        const auto at = std::find_if(choices.begin() + static_cast<std::ptrdiff_t>(fixed), choices.end(),
                                     [editedId](const TFieldChoice& c) { return c.Id > editedId; });
        choices.insert(at, {editedId, edited->Name});
    }
    if (std::none_of(choices.begin(), choices.end(), [wanted](const TFieldChoice& c) { return c.Id == wanted; })) {
        char name[24];
        std::snprintf(name, sizeof name, "%.4d:?", wanted);
        choices.push_back({wanted, name});
    }
    return choices;
}

std::vector<TFieldChoice> EnemyChoices(const TEventCommandContext* context, bool wholeGroup) {
    std::vector<TFieldChoice> choices;
    const TEventScriptConverter converter = ConverterOf(context);
    if (wholeGroup)
        choices.push_back({-1, converter.EnemyName(-1)});
    if (context != nullptr && context->MonsterGroup != nullptr)
        for (int i = 0; i < context->MonsterGroup->Members.Count(); ++i)
            choices.push_back({i, converter.EnemyName(i)});
    return choices;
}

// --- the builder ---

struct TCommandFormBuilder::TRules {
    std::vector<std::function<bool(const TCommandRecord&)>> Enabled;
    std::vector<std::function<bool(const TCommandRecord&, int)>> Choice;
};

TCommandFormBuilder& TCommandFormBuilder::Start() {
    mLastFirst = mAdded.size();
    mLastParams.clear();
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Added(int param, std::string part, bool valueParam) {
    TAdded added;
    added.Index = mFields.Count() - 1;
    added.Param = param;
    added.Part = std::move(part);
    added.Rules = std::make_shared<TRules>();
    const std::shared_ptr<const TRules> rules = added.Rules;
    mFields.EnabledWhen([rules](const TRecord& r) {
        return std::all_of(rules->Enabled.begin(), rules->Enabled.end(), [&r](const auto& rule) { return rule(r); });
    });
    mFields.ChoiceEnabledWhen([rules](const TRecord& r, int choice) {
        return std::all_of(rules->Choice.begin(), rules->Choice.end(),
                           [&r, choice](const auto& rule) { return rule(r, choice); });
    });
    mAdded.push_back(std::move(added));
    if (valueParam && param >= 0)
        mLastParams.push_back(static_cast<std::size_t>(param));
    return *this;
}

std::vector<TCommandFormBuilder::TAdded*> TCommandFormBuilder::LastAdded() {
    std::vector<TAdded*> last;
    // A field added through Fields() since: the options are its own.
    if (mAdded.empty() || mAdded.back().Index + 1 != mFields.Count())
        return last;
    for (std::size_t i = mLastFirst; i < mAdded.size(); ++i)
        last.push_back(&mAdded[i]);
    return last;
}

namespace {

auto ParamGetter(std::size_t param) {
    return [param](const TRecord& r) { return r.Param(param); };
}
auto ParamSetter(std::size_t param) {
    return [param](TRecord& r, std::int32_t value) { r.SetParam(param, value); };
}

}  // namespace

TCommandFormBuilder& TCommandFormBuilder::Radio(std::string widget, std::string label, std::size_t param,
                                                std::vector<std::string> captions) {
    Start();
    mFields.Field(TFieldKind::RadioGroup, std::move(widget), std::move(label), ParamGetter(param), ParamSetter(param))
        .Choices(std::move(captions));
    return Added(static_cast<int>(param));
}

TCommandFormBuilder& TCommandFormBuilder::List(std::string widget, std::string label, std::size_t param,
                                               std::vector<std::string> captions) {
    Start();
    mFields.Field(TFieldKind::DropDown, std::move(widget), std::move(label), ParamGetter(param), ParamSetter(param))
        .Choices(std::move(captions));
    return Added(static_cast<int>(param));
}

TCommandFormBuilder& TCommandFormBuilder::Spin(std::string widget, std::string label, std::size_t param,
                                               std::int32_t min, std::int32_t max) {
    Start();
    mFields.Field(TFieldKind::Number, std::move(widget), std::move(label), ParamGetter(param), ParamSetter(param))
        .Range(min, max);
    return Added(static_cast<int>(param));
}

TCommandFormBuilder& TCommandFormBuilder::Check(std::string widget, std::string label, std::size_t param) {
    Start();
    mFields.Field(TFieldKind::Check, std::move(widget), std::move(label), ParamGetter(param), ParamSetter(param))
        .Range(0, 1);
    return Added(static_cast<int>(param));
}

TCommandFormBuilder& TCommandFormBuilder::Switch(std::string widget, std::string label, std::size_t param) {
    Start();
    mFields.Field(TFieldKind::Switch, std::move(widget), std::move(label), ParamGetter(param), ParamSetter(param))
        .Range(1, kMaxEntryId)
        .ItemsFrom([](const TRecord& r) { return EntryChoices(TEntryList::Switch, r.Context); })
        .Chooses([param](TRecord& r) {
            IEventChoosers* choosers = ChoosersOf(r);
            std::int32_t id = r.Param(param);
            if (choosers == nullptr || !choosers->ChooseSwitch(id) || id == r.Param(param))
                return false;
            r.SetParam(param, id);
            return true;
        });
    return Added(static_cast<int>(param));
}

TCommandFormBuilder& TCommandFormBuilder::Variable(std::string widget, std::string label, std::size_t param) {
    Start();
    mFields.Field(TFieldKind::Variable, std::move(widget), std::move(label), ParamGetter(param), ParamSetter(param))
        .Range(1, kMaxEntryId)
        .ItemsFrom([](const TRecord& r) { return EntryChoices(TEntryList::Variable, r.Context); })
        .Chooses([param](TRecord& r) {
            IEventChoosers* choosers = ChoosersOf(r);
            std::int32_t id = r.Param(param);
            if (choosers == nullptr || !choosers->ChooseVariable(id) || id == r.Param(param))
                return false;
            r.SetParam(param, id);
            return true;
        });
    return Added(static_cast<int>(param));
}

TCommandFormBuilder& TCommandFormBuilder::Entry(TEntryList list, std::string widget, std::string label,
                                                std::size_t param) {
    Start();
    mFields.Field(TFieldKind::IdList, std::move(widget), std::move(label), ParamGetter(param), ParamSetter(param))
        .Range(1, kMaxEntryId)
        .ItemsFrom([list](const TRecord& r) { return EntryChoices(list, r.Context); });
    return Added(static_cast<int>(param));
}

TCommandFormBuilder& TCommandFormBuilder::Character(std::string widget, std::string label, std::size_t param,
                                                    bool thisEvent) {
    Start();
    mFields.Field(TFieldKind::IdList, std::move(widget), std::move(label), ParamGetter(param), ParamSetter(param))
        .Range(1, kCharacterThisEvent)
        .ItemsFrom([param, thisEvent](const TRecord& r) {
            return CharacterChoices(r.Context, thisEvent, r.Param(param));
        });
    return Added(static_cast<int>(param));
}

TCommandFormBuilder& TCommandFormBuilder::Enemy(std::string widget, std::string label, std::size_t param,
                                                bool wholeGroup) {
    Start();
    mFields.Field(TFieldKind::IdList, std::move(widget), std::move(label), ParamGetter(param), ParamSetter(param))
        .Range(wholeGroup ? -1 : 0, kMaxEnemyIndex)
        .ItemsFrom([wholeGroup](const TRecord& r) { return EnemyChoices(r.Context, wholeGroup); });
    return Added(static_cast<int>(param));
}

TCommandFormBuilder& TCommandFormBuilder::Resource(std::string widget, std::string label, TSelKind kind,
                                                   int indexParam) {
    Start();
    const std::string indexWidget = widget + "Index";
    mFields
        .Resource(std::move(widget), std::move(label), &TRecord::Text,
                  [kind, indexParam](TRecord& r) {
                      IEventChoosers* choosers = ChoosersOf(r);
                      if (choosers == nullptr)
                          return false;
                      std::string name = r.Text;
                      std::int32_t index = indexParam >= 0 ? r.Param(static_cast<std::size_t>(indexParam)) : 0;
                      if (!choosers->ChooseResource(kind, name, indexParam >= 0 ? &index : nullptr, {}))
                          return false;
                      bool changed = name != r.Text;
                      r.Text = std::move(name);
                      if (indexParam >= 0) {
                          changed = changed || index != r.Param(static_cast<std::size_t>(indexParam));
                          r.SetParam(static_cast<std::size_t>(indexParam), index);
                      }
                      return changed;
                  })
        .Writes([](TRecord& r, const TFieldValue& value) {
            if (const auto* text = std::get_if<std::string>(&value))
                r.Text = *text;
        });
    Added(-1);
    if (indexParam >= 0) {
        // The cell of the set: faces 4 x 4, walk graphics 4 x 2.
        const std::int32_t last = kind == TSelKind::Face ? 15 : 7;
        const auto param = static_cast<std::size_t>(indexParam);
        mFields.Field(TFieldKind::Number, indexWidget, "Index", ParamGetter(param), ParamSetter(param)).Range(0, last);
        Added(indexParam, "index", false);
    }
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Place(std::string widget, std::string label, std::size_t mapParam,
                                                std::size_t xParam, std::size_t yParam) {
    Start();
    mFields
        .Field(
            TFieldKind::MapPlace, std::move(widget), std::move(label),
            [mapParam, xParam, yParam](const TRecord& r) { return PlaceText(r, mapParam, xParam, yParam); },
            [mapParam, xParam, yParam](TRecord& r, const std::string& text) {
                std::int32_t values[3] = {};
                if (!ParsePlace(text, values) || values[0] < 1 || values[1] < 0 || values[2] < 0)
                    return false;
                r.SetParam(mapParam, values[0]);
                r.SetParam(xParam, values[1]);
                r.SetParam(yParam, values[2]);
                return true;
            })
        .Key({}, "a place is given as MAP,X,Y (map ID from 1, cells from 0)")
        .Chooses([mapParam, xParam, yParam](TRecord& r) {
            IEventChoosers* choosers = ChoosersOf(r);
            TMapPlaceRequest place{r.Param(mapParam), r.Param(xParam), r.Param(yParam)};
            if (choosers == nullptr || !choosers->ChoosePlace(place))
                return false;
            const bool changed =
                place.MapId != r.Param(mapParam) || place.X != r.Param(xParam) || place.Y != r.Param(yParam);
            r.SetParam(mapParam, place.MapId);
            r.SetParam(xParam, place.X);
            r.SetParam(yParam, place.Y);
            return changed;
        });
    Added(static_cast<int>(mapParam));
    mLastParams = {mapParam, xParam, yParam};
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Group(std::string widget, std::string label) {
    Start();
    mFields.Group(std::move(widget), std::move(label));
    return Added(-2);
}

TCommandFormBuilder& TCommandFormBuilder::Who(const std::string& prefix, std::size_t kindParam, std::size_t idParam) {
    Start();
    const auto kind = static_cast<int>(kindParam);
    mFields.Field(TFieldKind::RadioGroup, prefix, "", ParamGetter(kindParam), ParamSetter(kindParam))
        .Choices({"All Party Members", "Hero", "Hero by Variable"});
    Added(kind, {}, false);
    mFields.Field(TFieldKind::IdList, prefix + "Hero", "Hero", ParamGetter(idParam), ParamSetter(idParam))
        .Range(1, kMaxEntryId)
        .ItemsFrom([](const TRecord& r) { return EntryChoices(TEntryList::Hero, r.Context); });
    Added(static_cast<int>(idParam), "hero");
    mAdded.back().Rules->Enabled.push_back([kindParam](const TRecord& r) { return r.Param(kindParam) == 1; });
    const std::size_t first = mLastFirst;
    Variable(prefix + "Variable", "Hero Variable", idParam);
    mLastFirst = first;
    mAdded.back().Part = "variable";
    mAdded.back().Rules->Enabled.push_back([kindParam](const TRecord& r) { return r.Param(kindParam) == 2; });
    mLastParams = {idParam};
    mDefaults.emplace_back(idParam, 1);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Amount(const std::string& prefix, std::size_t kindParam,
                                                 std::size_t valueParam, std::int32_t min, std::int32_t max) {
    Start();
    mFields.Field(TFieldKind::RadioGroup, prefix, "", ParamGetter(kindParam), ParamSetter(kindParam))
        .Choices({"Constant", "Variable"});
    Added(static_cast<int>(kindParam), {}, false);
    mFields.Field(TFieldKind::Number, prefix + "Value", "Value", ParamGetter(valueParam), ParamSetter(valueParam))
        .Range(min, max);
    Added(static_cast<int>(valueParam), "value");
    mAdded.back().Rules->Enabled.push_back([kindParam](const TRecord& r) { return r.Param(kindParam) == 0; });
    const std::size_t first = mLastFirst;
    Variable(prefix + "Variable", "Value Variable", valueParam);
    mLastFirst = first;
    mAdded.back().Part = "variable";
    mAdded.back().Rules->Enabled.push_back([kindParam](const TRecord& r) { return r.Param(kindParam) == 1; });
    mLastParams = {valueParam};
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Position(const std::string& prefix, std::size_t kindParam,
                                                   std::size_t xParam, std::size_t yParam, std::int32_t max) {
    Start();
    mFields.Field(TFieldKind::RadioGroup, prefix, "", ParamGetter(kindParam), ParamSetter(kindParam))
        .Choices({"Direct", "By Variables"});
    Added(static_cast<int>(kindParam), {}, false);
    const auto direct = [kindParam](const TRecord& r) { return r.Param(kindParam) == 0; };
    const auto byVariables = [kindParam](const TRecord& r) { return r.Param(kindParam) == 1; };
    mFields.Field(TFieldKind::Number, prefix + "X", "X", ParamGetter(xParam), ParamSetter(xParam)).Range(0, max);
    Added(static_cast<int>(xParam), "x");
    mAdded.back().Rules->Enabled.push_back(direct);
    mFields.Field(TFieldKind::Number, prefix + "Y", "Y", ParamGetter(yParam), ParamSetter(yParam)).Range(0, max);
    Added(static_cast<int>(yParam), "y");
    mAdded.back().Rules->Enabled.push_back(direct);
    const std::size_t first = mLastFirst;
    Variable(prefix + "XVariable", "X Variable", xParam);
    mAdded.back().Part = "x-variable";
    mAdded.back().Rules->Enabled.push_back(byVariables);
    mLastFirst = first;
    Variable(prefix + "YVariable", "Y Variable", yParam);
    mAdded.back().Part = "y-variable";
    mAdded.back().Rules->Enabled.push_back(byVariables);
    mLastFirst = first;
    mLastParams = {xParam, yParam};
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::TimeWait(const std::string& prefix, std::size_t timeParam,
                                                   std::size_t waitParam, std::int32_t maxTenths) {
    Start();
    mFields
        .Field(TFieldKind::Number, prefix, "Time (0.1 sec)", ParamGetter(timeParam), ParamSetter(timeParam))
        .Range(0, maxTenths);
    Added(static_cast<int>(timeParam));
    mFields.Field(TFieldKind::Check, prefix + "Wait", "Wait Until Done", ParamGetter(waitParam), ParamSetter(waitParam))
        .Range(0, 1);
    Added(static_cast<int>(waitParam), "wait", false);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Colour(const std::string& prefix, std::size_t redParam, int chromaParam,
                                                 std::int32_t max) {
    Start();
    static constexpr const char* kParts[] = {"red", "green", "blue"};
    static constexpr const char* kLabels[] = {"Red", "Green", "Blue"};
    static constexpr const char* kWidgets[] = {"Red", "Green", "Blue"};
    for (std::size_t c = 0; c < 3; ++c) {
        const std::size_t param = redParam + c;
        mFields.Field(TFieldKind::Number, prefix + kWidgets[c], kLabels[c], ParamGetter(param), ParamSetter(param))
            .Range(0, max);
        Added(static_cast<int>(param), kParts[c]);
    }
    if (chromaParam >= 0) {
        const auto param = static_cast<std::size_t>(chromaParam);
        mFields.Field(TFieldKind::Number, prefix + "Chroma", "Chroma", ParamGetter(param), ParamSetter(param))
            .Range(0, max);
        Added(chromaParam, "chroma");
    }
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::EnabledWhen(std::function<bool(const TCommandRecord&)> rule) {
    const std::vector<TAdded*> last = LastAdded();
    if (last.empty()) {
        mFields.EnabledWhen(std::move(rule));
        return *this;
    }
    for (TAdded* added : last)
        added->Rules->Enabled.push_back(rule);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::When(std::size_t param, std::vector<std::int32_t> values) {
    return EnabledWhen([param, values = std::move(values)](const TRecord& r) {
        return std::find(values.begin(), values.end(), r.Param(param)) != values.end();
    });
}

TCommandFormBuilder& TCommandFormBuilder::ChoiceEnabledWhen(std::function<bool(const TCommandRecord&, int)> rule) {
    const std::vector<TAdded*> last = LastAdded();
    if (last.empty()) {
        mFields.ChoiceEnabledWhen(std::move(rule));
        return *this;
    }
    for (TAdded* added : last)
        added->Rules->Choice.push_back(rule);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Key(std::string key) {
    const std::vector<TAdded*> last = LastAdded();
    if (last.empty()) {
        mFields.Key(std::move(key));
        return *this;
    }
    for (TAdded* added : last)
        added->Key = added->Part.empty() ? key : key + "-" + added->Part;
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Follows(void (*follow)(TCommandRecord&, std::int32_t)) {
    const std::vector<TAdded*> last = LastAdded();
    if (last.size() != 1 || last.front()->Param < 0)
        throw std::logic_error("Follows() needs one field of a parameter");
    const auto param = static_cast<std::size_t>(last.front()->Param);
    mFields.Writes([param, follow](TCommandRecord& r, const TFieldValue& value) {
        const auto* choice = std::get_if<std::int32_t>(&value);
        if (!choice || *choice == r.Param(param))
            return;
        r.SetParam(param, *choice);
        follow(r, *choice);
    });
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Default(std::int32_t value) {
    for (const std::size_t param : mLastParams)
        mDefaults.emplace_back(param, value);
    const std::vector<TAdded*> last = LastAdded();
    if (last.size() == 1 && last.front()->Param >= 0)
        mFields.Default(value);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Written(
    std::function<std::vector<std::int32_t>(const TCommandRecord&)> params) {
    mForm.WrittenParams = std::move(params);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Blocks(std::function<std::vector<TBlockPart>(const TCommandRecord&)> block) {
    mForm.Block = std::move(block);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::TextLines(TCommandCode continuationCode, std::size_t maxLines) {
    mForm.TextLineCode = ToInt(continuationCode);
    mForm.MaxTextLines = maxLines;
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Defaults(std::function<void(TCommandRecord&)> defaults) {
    mForm.Defaults = std::move(defaults);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::AfterLoad(
    std::function<void(TCommandRecord&, const TKelEventScriptList&)> load) {
    mForm.AfterLoad = std::move(load);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::BeforeWrite(std::function<void(TCommandRecord&)> prepare) {
    mForm.BeforeWrite = std::move(prepare);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Refusal(std::function<std::string(const TCommandRecord&)> refusal) {
    mForm.Refusal = std::move(refusal);
    return *this;
}

TCommandFormBuilder& TCommandFormBuilder::Help(int context) {
    mForm.HelpContext = context;
    return *this;
}

TCommandForm TCommandFormBuilder::Build() {
    TFieldForm fields = mFields.Build();
    std::vector<const TAdded*> byIndex(fields.Fields.size(), nullptr);
    for (const TAdded& added : mAdded)
        if (added.Index < byIndex.size())
            byIndex[added.Index] = &added;
    // Keys given first, then every field without one named by the rule of the header.
    std::set<std::string> used;
    for (std::size_t i = 0; i < fields.Fields.size(); ++i) {
        TFieldSpec& field = fields.Fields[i];
        if (byIndex[i] != nullptr && !byIndex[i]->Key.empty())
            field.Key = byIndex[i]->Key;
        if (!field.Key.empty())
            used.insert(field.Key);
    }
    for (std::size_t i = 0; i < fields.Fields.size(); ++i) {
        TFieldSpec& field = fields.Fields[i];
        if (!field.Key.empty() || !field.HasValue() || !field.Set)
            continue;
        std::string key = field.Widget;
        if (const TAdded* added = byIndex[i]) {
            if (added->Param >= 0)
                key = "p" + std::to_string(added->Param);
            else if (added->Param == -1)
                key = "text";
        }
        if (used.count(key) != 0)
            key = field.Widget;
        if (used.insert(key).second)
            field.Key = std::move(key);
    }
    mForm.Fields = std::move(fields);
    // The builder's defaults first, then the description's own.
    mForm.Defaults = [defaults = std::move(mDefaults), own = std::move(mForm.Defaults)](TCommandRecord& r) {
        for (const auto& [param, value] : defaults)
            r.SetParam(param, value);
        if (own)
            own(r);
    };
    mAdded.clear();
    return std::move(mForm);
}

// --- the registry ---

std::span<const TCommandForm> CommandForms() {
    static const std::vector<TCommandForm> forms = [] {
        std::vector<TCommandForm> all;
        AddBlockCommandForms(all);
        AddPartyCommandForms(all);
        AddScreenCommandForms(all);
        AddSystemCommandForms(all);
        std::sort(all.begin(), all.end(), [](const TCommandForm& a, const TCommandForm& b) { return a.Code < b.Code; });
        return all;
    }();
    return forms;
}

const TCommandForm* FindCommandForm(std::int32_t code) {
    const std::span<const TCommandForm> forms = CommandForms();
    const auto found = std::lower_bound(forms.begin(), forms.end(), code,
                                        [](const TCommandForm& form, std::int32_t c) { return form.Code < c; });
    return found != forms.end() && found->Code == code ? &*found : nullptr;
}

// --- the dialog model ---

TCommandDialogModel::TCommandDialogModel(const TCommandForm& form, const TEventCommandContext& context)
    : mForm(&form), mContext(context) {
    mRecord = Initial();
    mBinding = std::make_unique<TFieldBinding>(form.Fields, mRecord);
}

TCommandRecord TCommandDialogModel::Initial() const {
    const auto& remembered = Remembered();
    TCommandRecord record;
    if (const auto found = remembered.find(mForm->Code); found != remembered.end()) {
        record = found->second;
    } else {
        record.Code = mForm->Code;
        record.P.assign(static_cast<std::size_t>(std::max(mForm->ParamCount, 0)), 0);
        record.Context = &mContext;
        if (mForm->Defaults)
            mForm->Defaults(record);
    }
    record.Code = mForm->Code;
    record.Context = &mContext;
    return record;
}

void TCommandDialogModel::Load(const TKelEventScriptList& lines) {
    mRecord = Initial();
    mBodies.clear();
    if (lines.Count() > 0) {
        const TKelEventScriptLine& first = *lines.Lines(0);
        const std::vector<std::int32_t>& params = first.Params();
        const auto count = static_cast<std::size_t>(std::max(mForm->ParamCount, 0));
        mRecord.P.assign(count, 0);
        std::copy_n(params.begin(), std::min(count, params.size()), mRecord.P.begin());
        mRecord.Tail.clear();
        if (mForm->WrittenParams && params.size() > count)
            mRecord.Tail.assign(params.begin() + static_cast<std::ptrdiff_t>(count), params.end());
        mRecord.Text = first.Text;
        const std::int64_t base = first.Indent;
        int i = 1;
        if (mForm->TextLineCode != 0) {
            mRecord.Lines = {first.Text};
            for (; i < lines.Count(); ++i) {
                const TKelEventScriptLine& line = *lines.Lines(i);
                if (line.Code != mForm->TextLineCode || line.Indent != first.Indent)
                    break;
                mRecord.Lines.push_back(line.Text);
            }
        }
        // Every deeper line goes into the body that is open: the command's own first, then the
        // one after each companion line at the command's depth.
        TBodyKey open{mForm->Code, 0};
        for (; i < lines.Count(); ++i) {
            const TKelEventScriptLine& line = *lines.Lines(i);
            if (line.Indent > base) {
                TKelEventScriptLine kept = line;
                kept.Indent = ClampedIndent(static_cast<std::int64_t>(line.Indent) - base - 1);
                mBodies[open].push_back(std::move(kept));
            } else if (line.Indent == base && IsCompanionCode(line.Code)) {
                open = {line.Code, line.Code == TCommandCode::ChoiceCase ? line.Param(0) : 0};
            } else {
                break;  // not part of the command
            }
        }
        if (mForm->AfterLoad)
            mForm->AfterLoad(mRecord, lines);
    }
    mBinding->ClearModified();
}

const std::vector<TKelEventScriptLine>* TCommandDialogModel::Body(const TBodyKey& key) const {
    const auto found = mBodies.find(key);
    return found != mBodies.end() ? &found->second : nullptr;
}

std::vector<TBodyKey> TCommandDialogModel::LostBodies() const {
    std::set<TBodyKey> written;
    if (mForm->Block)
        for (const TBlockPart& part : mForm->Block(mRecord))
            if (part.Body)
                written.insert(part.Key);
    std::vector<TBodyKey> lost;
    for (const auto& [key, body] : mBodies)
        if (written.count(key) == 0 && HoldsCommands(body))
            lost.push_back(key);
    return lost;
}

std::string TCommandDialogModel::Refusal() const { return mForm->Refusal ? mForm->Refusal(mRecord) : std::string(); }

void TCommandDialogModel::Write(TKelEventScriptList& result) {
    if (mForm->BeforeWrite)
        mForm->BeforeWrite(mRecord);
    TCommandRecord remembered = mRecord;
    remembered.Context = nullptr;
    // A new message or comment starts empty.
    if (mForm->TextLineCode != 0) {
        remembered.Text.clear();
        remembered.Lines.clear();
    }
    Remembered()[mForm->Code] = std::move(remembered);

    TKelEventScriptList lines;
    TKelEventScriptLine& head = lines.Add();
    head.Code = mForm->Code;
    head.Indent = 0;
    if (mForm->TextLineCode != 0)
        head.Text = mRecord.Lines.empty() ? std::string() : mRecord.Lines.front();
    else
        head.Text = mRecord.Text;
    std::vector<std::int32_t> params;
    if (mForm->WrittenParams) {
        params = mForm->WrittenParams(mRecord);
    } else {
        params = mRecord.P;
        params.resize(static_cast<std::size_t>(std::max(mForm->ParamCount, 0)), 0);
    }
    head.SetParamCount(static_cast<int>(params.size()));
    for (std::size_t p = 0; p < params.size(); ++p)
        head.SetParam(static_cast<int>(p), params[p]);
    if (mForm->TextLineCode != 0)
        for (std::size_t l = 1; l < mRecord.Lines.size(); ++l) {
            TKelEventScriptLine& line = lines.Add();
            line.Code = mForm->TextLineCode;
            line.Text = mRecord.Lines[l];
        }
    if (mForm->Block)
        for (const TBlockPart& part : mForm->Block(mRecord)) {
            if (part.Code != 0) {
                TKelEventScriptLine& line = lines.Add();
                line.Code = part.Code;
                line.Text = part.Text;
                line.SetParamCount(static_cast<int>(part.Params.size()));
                for (std::size_t p = 0; p < part.Params.size(); ++p)
                    line.SetParam(static_cast<int>(p), part.Params[p]);
            }
            if (!part.Body)
                continue;
            const std::vector<TKelEventScriptLine>* body = Body(part.Key);
            if (body != nullptr)
                for (const TKelEventScriptLine& kept : *body) {
                    auto& line = lines.Add(std::make_unique<TKelEventScriptLine>(kept));
                    line.Indent = ClampedIndent(static_cast<std::int64_t>(kept.Indent) + 1);
                }
            // Every body ends with its empty line.
            if (body == nullptr || body->empty() || body->back().Code != TCommandCode::Empty || body->back().Indent != 0) {
                TKelEventScriptLine& empty = lines.Add();
                empty.Code = ToInt(TCommandCode::Empty);
                empty.Indent = 1;
            }
        }
    result.Assign(lines);
}

void TCommandDialogModel::ForgetRemembered() { TLastUsed::Forget("CommandForm."); }

// --- lines without a window ---

bool BuildCommandLines(std::int32_t code, const std::vector<std::pair<std::string, std::string>>& values,
                       const TEventCommandContext& context, TKelEventScriptList& result, std::string& error) {
    const TCommandForm* form = FindCommandForm(code);
    if (form == nullptr && IsSelectorCommand(code))
        return BuildSelectorCommand(code, values, context, result, error);
    if (form == nullptr) {
        TKelEventScriptList lines;
        lines.Assign(result);
        if (!BuildCommandWithoutForm(code, lines)) {
            error = "command " + std::to_string(code) + " has no dialog that builds it";
            return false;
        }
        if (!values.empty()) {
            error = "command " + std::to_string(code) + " takes no settings";
            return false;
        }
        result.Assign(lines);
        return true;
    }
    TCommandDialogModel model(*form, context);
    model.Load(result);
    for (const auto& [key, value] : values)
        if (!model.Binding().SetByKey(key, value, error))
            return false;
    if (std::string refusal = model.Refusal(); !refusal.empty()) {
        error = std::move(refusal);
        return false;
    }
    model.Write(result);
    return true;
}

}  // namespace quillon
