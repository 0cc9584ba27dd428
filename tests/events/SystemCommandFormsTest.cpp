// The dialogs of music, movies, the map's settings, teleport and escape places, labels, calling
// events and the battle commands: what a choice leaves unused, and how the written lines read.
#include "events/CommandForm.h"
#include "events/EventScriptTestFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quillon::test {
namespace {

class SystemCommandForms : public EventScriptWorld {
protected:
    SystemCommandForms() {
        TCommandDialogModel::ForgetRemembered();
        context.DataBase = &db;
        context.MapTree = &tree;
        context.Map = &map;
        context.EventId = 2;
        context.EventItem = &edited;
        context.MonsterGroup = &troop;
    }
    ~SystemCommandForms() override { TCommandDialogModel::ForgetRemembered(); }

    // The command's line as OK writes it after the keyed settings.
    TKelEventScriptLine Built(std::int32_t code, const std::vector<std::pair<std::string, std::string>>& values) {
        TKelEventScriptList lines;
        std::string error;
        EXPECT_TRUE(BuildCommandLines(code, values, context, lines, error)) << code << ": " << error;
        return lines.Count() > 0 ? *lines.Lines(0) : TKelEventScriptLine();
    }
    // The same through the dialog's own fields: a new command, then the choices the user makes in turn.
    TKelEventScriptLine Chosen(std::int32_t code, const std::string& key, std::vector<std::int32_t> values) {
        TCommandDialogModel::ForgetRemembered();
        TCommandDialogModel model(*FindCommandForm(code), context);
        model.Load({});
        const TCommandForm& form = model.Form();
        for (const std::int32_t value : values)
            for (std::size_t i = 0; i < form.Fields.Fields.size(); ++i)
                if (form.Fields.Fields[i].Key == key)
                    EXPECT_TRUE(model.Binding().SetValue(i, value)) << code << " " << key << "=" << value;
        TKelEventScriptList lines;
        model.Write(lines);
        return *lines.Lines(0);
    }

    TEventCommandContext context;
};

TEST_F(SystemCommandForms, WrittenLinesReadAsTheListShowsThem) {
    const struct {
        std::int32_t Code;
        std::vector<std::pair<std::string, std::string>> Values;
        std::string Text;
    } cases[] = {
        {11520, {{"seconds", "4"}}, "<>Fade-Out BGM: 4sec"},
        {11710, {{"chipset", "1"}}, "<>Change ChipSet: World"},
        {11740, {{"steps", "30"}}, "<>Encounter Rate: 30Steps"},
        {11750, {{"layer", "1"}, {"from", "4"}, {"to", "9"}}, "<>Change Chip: Upper Chip 005 to 010"},
        {11820, {{"enable", "1"}}, "<>Teleporting: Enable"},
        {12120, {{"label", "7"}}, "<>Goto Label 7#"},
        {12330, {{"kind", "0"}, {"common-event", "1"}}, "<>Call Event: Shop"},
        {13110, {{"enemy", "-1"}, {"operation", "1"}}, "<>Change Enemy's HP:   Whole Group 's HP 0 (Remove)"},
        {13150, {{"enemy", "1"}}, "<>Enemy Appears:  2:?"},
        {13260, {{"animation", "1"}, {"target", "0"}, {"wait", "1"}}, "<>Show Battle Animation:Slash 1:Slime (Wait)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        EXPECT_EQ(conv.RenderLine(Built(c.Code, c.Values)), c.Text);
    }
}

TEST_F(SystemCommandForms, AChoiceClearsTheSettingsItLeavesUnused) {
    // Removing a teleport place names only the map: cell and switch become 0.
    const TKelEventScriptLine removed = Chosen(11810, "action", {1});
    EXPECT_EQ(removed.Params(), (std::vector<std::int32_t>{1, removed.Param(1), 0, 0, 0, 0}));
    // Back on a common event, the call has no page; a map event's call starts on this event's page 1.
    EXPECT_EQ(Chosen(12330, "kind", {2, 0}).Params(), (std::vector<std::int32_t>{0, 1, 0}));
    EXPECT_EQ(Chosen(12330, "kind", {2, 1}).Params(), (std::vector<std::int32_t>{1, kCharacterThisEvent, 1}));
    EXPECT_EQ(conv.RenderLine(Chosen(12330, "kind", {2, 1})), "<>Call Event: This Event Pg [1]");
}

}  // namespace
}  // namespace quillon::test
