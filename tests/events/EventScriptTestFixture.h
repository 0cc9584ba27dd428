// A small world for rendering event command lines: a database with a few named records, a map
// tree, a map with events, the event being edited and a troop.
#pragma once

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "events/EventScript.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>

namespace quillon {
// Lines in failure messages: code, indent, parameters and text.
inline void PrintTo(const TKelEventScriptLine& line, std::ostream* out) {
    *out << "{" << line.Code << " @" << line.Indent << " [";
    for (std::size_t i = 0; i < line.Params().size(); ++i)
        *out << (i > 0 ? "," : "") << line.Params()[i];
    *out << "] \"" << line.Text << "\"}";
}
}  // namespace quillon

namespace quillon::test {

inline TKelEventScriptLine MakeLine(std::int32_t code, std::initializer_list<std::int32_t> params = {},
                                    std::string text = {}, std::int32_t indent = 0) {
    TKelEventScriptLine line;
    line.Code = code;
    line.Indent = indent;
    line.Text = std::move(text);
    line.SetParamCount(static_cast<int>(params.size()));
    int i = 0;
    for (std::int32_t value : params)
        line.SetParam(i++, value);
    return line;
}

class EventScriptWorld : public ::testing::Test {
protected:
    EventScriptWorld() {
        db.Switch.Obtain(1).Name = "Door";
        db.Switch.Obtain(2).Name = "";
        db.Variable.Obtain(1).Name = "Gold";
        db.Variable.Obtain(2).Name = "";
        db.Player.Obtain(1).Name = "Alex";
        db.Player.Obtain(2).Name = "Brian";
        db.Player.Obtain(3).Name = "";
        db.Skill.Obtain(1).Name = "Heal";
        db.Item.Obtain(1).Name = "Potion";
        db.Item.Obtain(2).Name = "Ether";
        db.MonGroup.Obtain(1).Name = "Slimes";
        db.Status.Obtain(1).Name = "Poison";
        db.Animation.Obtain(1).Name = "Slash";
        db.ChipSet.Obtain(1).Name = "World";
        db.CommonEvent.Obtain(1).Name = "Shop";
        db.Monster.Obtain(1).Name = "Slime";

        tree.AddItem(0, 0).Name = "Game";
        TKelMapTreeItem& town = tree.AddItem(0, 1);
        town.Name = "Town";
        town.Kind = TKelMapTreeItem::mkMap;
        TKelMapTreeItem& unnamed = tree.AddItem(0, 2);
        unnamed.Name = "";
        unnamed.Kind = TKelMapTreeItem::mkMap;
        TKelMapTreeItem& forest = tree.AddItem(1, 3);
        forest.Name = "Forest";
        forest.Kind = TKelMapTreeItem::mkArea;

        map.Events.Obtain(1).Name = "Door";
        map.Events.Obtain(2).Name = "Guard";
        edited.SetID(2);
        edited.Name = "Guard (edited)";

        troop.Members.Obtain(1).MonsterId = 1;   // member 0: Slime
        troop.Members.Obtain(2).MonsterId = 99;  // member 1: no such monster

        conv.DataBase = &db;
        conv.MapTree = &tree;
        conv.Map = &map;
        conv.EventId = 2;
        conv.EventItem = &edited;
        conv.MonsterGroup = &troop;
    }

    // The rendered text; a render error fails the test.
    std::string R(std::int32_t code, std::initializer_list<std::int32_t> params = {}, std::string text = {},
                  std::int32_t indent = 0) const {
        const TKelEventScriptLine line = MakeLine(code, params, std::move(text), indent);
        std::string rendered;
        EXPECT_NO_THROW(rendered = conv.RenderLine(line)) << "code " << code;
        EXPECT_EQ(conv.RenderSafely(line), rendered) << "code " << code;
        return rendered;
    }

    TEditorModeScope editorModeOff{false};
    TKelDataBase db;
    TKelMapTree tree;
    TKelMap map;
    TKelEventItem edited;
    TKelMonGroupItem troop;
    TEventScriptConverter conv;
};

inline const std::string kCorrupt = kCorruptScriptLineText;

}  // namespace quillon::test
