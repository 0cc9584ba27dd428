#include "tools/lib/HugeDataBase.h"

#include "data/LD_DataBase.h"

#include <string>

namespace quillon {

namespace {

void Grow(TCatalog& list, std::int32_t entries, const char* prefix) {
    for (std::int32_t id = list.Count() + 1; id <= entries; ++id)
        list.Obtain(id).Name = prefix + std::to_string(id);
}

// count lines of a plain script, ended by the closing line.
void FillScript(TKelEventScriptList& script, std::int32_t count) {
    script.Clear();
    for (std::int32_t i = 0; i + 1 < count; ++i) {
        TKelEventScriptLine& line = script.Add();
        line.Code = 10110;  // a message line
        line.Text = "Line " + std::to_string(i + 1);
    }
    script.Add();
}

template <class T>
T& First(TCatalogOf<T>& list, const char* name) {
    T& item = list.Obtain(1);
    item.Name = name;
    return item;
}

}  // namespace

void MakeHugeDataBase(TKelDataBase& db, const THugeCounts& counts) {
    if (counts.Entries > 0) {
        Grow(db.Player, counts.Entries, "Hero ");
        Grow(db.Skill, counts.Entries, "Skill ");
        Grow(db.Item, counts.Entries, "Item ");
        Grow(db.Monster, counts.Entries, "Monster ");
        Grow(db.MonGroup, counts.Entries, "Troop ");
        Grow(db.Attrib, counts.Entries, "Attribute ");
        Grow(db.Status, counts.Entries, "Condition ");
        Grow(db.Animation, counts.Entries, "Animation ");
        Grow(db.Ground, counts.Entries, "Terrain ");
        Grow(db.ChipSet, counts.Entries, "ChipSet ");
        Grow(db.CommonEvent, counts.Entries, "Common ");
        Grow(db.Switch, counts.Entries, "Switch ");
        Grow(db.Variable, counts.Entries, "Variable ");
    }

    TKelAnimationItem& animation = First(db.Animation, "Huge");
    animation.Frames.Clear();
    for (std::int32_t f = 1; f <= counts.Frames; ++f) {
        TKelAnimationPatternItem& frame = animation.Frames.Obtain(f);
        if (f % 7 == 1) {
            TKelAnimationCellItem& cell = frame.Cells.Append();
            cell.Pattern = f % 25;
            cell.X = f % 641 - 320;
        }
    }
    animation.Timing.Clear();
    for (std::int32_t t = 1; t <= counts.Timings; ++t) {
        TKelAnimationTimingItem& timing = animation.Timing.Obtain(t);
        timing.Frame = t;
        timing.FlashRange = static_cast<std::uint8_t>(t % 3);
    }
    animation.Dirty = true;

    TKelPlayerItem& hero = First(db.Player, "Huge");
    hero.Learning.Clear();
    for (std::int32_t i = 1; i <= counts.Learnings; ++i) {
        TKelPlayerLearningItem& learning = hero.Learning.Obtain(i);
        learning.Level = 1 + (i - 1) * 50 / counts.Learnings;
        learning.SkillId = i;
    }

    TKelMonsterItem& monster = First(db.Monster, "Huge");
    monster.Actions.Clear();
    for (std::int32_t i = 1; i <= counts.Actions; ++i)
        monster.Actions.Obtain(i).Priority = 1 + i % 100;

    TKelMonGroupItem& troop = First(db.MonGroup, "Huge");
    troop.Members.Clear();
    for (std::int32_t i = 1; i <= counts.Members; ++i) {
        TKelMonGroupMonsterItem& member = troop.Members.Obtain(i);
        member.X = i % 320;
        member.Y = i % 160;
    }
    troop.Pages.Clear();
    for (std::int32_t i = 1; i <= counts.TroopPages; ++i)
        troop.Pages.Obtain(i);
    if (counts.TroopPages > 0)
        FillScript(troop.Pages.Items(0)->Script, counts.ScriptLines);

    FillScript(First(db.CommonEvent, "Huge").Script, counts.ScriptLines);

    db.System.PartySize = counts.PartySize;
    db.System.Party.assign(2 * static_cast<std::size_t>(counts.PartySize), 0);
    for (std::int32_t i = 0; i < counts.PartySize; ++i)
        db.System.Party[2 * static_cast<std::size_t>(i)] = 1;
    db.System.TestPlayer.Clear();
    for (std::int32_t i = 1; i <= counts.PartySize; ++i)
        db.System.TestPlayer.Obtain(i).Level = 1 + i % 50;
}

}  // namespace quillon
