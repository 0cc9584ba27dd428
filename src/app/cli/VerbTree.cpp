// quillon-cli tree: the map tree window's commands run through its model, with the map
// property, area and shift dialogs answered from the command line.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "mapedit/MapArea.h"
#include "mapedit/MapProperties.h"
#include "mapedit/MapTreeView.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "project/PathUtils.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kTreeUsage =
    "usage: quillon-cli tree FOLDER new-map PARENT [KEY=VALUE...] | new-area MAP L T R B | delete ID | "
    "move ID TARGET | shift MAP DX DY | props MAP KEY=VALUE...";

// Text from the command line as the editor stores it; characters code page 932 cannot hold are
// refused, as the edits refuse them.
bool ToCp932(const std::string& utf8, std::string& bytes) {
    bytes = Utf8ToCp932(utf8);
    return Cp932ToUtf8(bytes) == utf8;
}

// The dialogs, answered by the command line's values.
class TCliTreeDialogs final : public IMapTreeDialogs {
public:
    std::vector<std::string> Settings;  // KEY=VALUE for the map dialog
    TKelAreaRect Rect;
    std::int32_t Dx = 0, Dy = 0;
    const TCatalog* ChipSets = nullptr;
    std::string Refusal;  // why a dialog was not confirmed
    std::string Done;     // what the confirmed dialog set

    bool Available() const override { return true; }

    bool EditMap(bool newMode, bool parentIsRoot, TKelMapTreeItem& item, TKelMap& settings) override {
        TMapPropertiesModel model;
        model.Open(newMode, parentIsRoot, item, settings, ChipSets);
        for (const std::string& setting : Settings) {
            const auto keyValue = KeyValue(setting);
            if (!keyValue) {
                Refusal = "'" + setting + "' is not KEY=VALUE";
                return false;
            }
            const std::string key = keyValue->first;
            std::string value = keyValue->second;
            if (key == "name" || key == "panorama-name" || key == "music" || key == "backdrop") {
                std::string bytes;
                if (!ToCp932(value, bytes)) {
                    Refusal = key + ": '" + value + "' holds characters the editor cannot store";
                    return false;
                }
                value = bytes;
            }
            std::string error;
            if (!model.SetByKey(key, value, error)) {
                Refusal = key + ": " + error;
                return false;
            }
        }
        if (ChipSets != nullptr && ChipSets->FindByID(model.ChipSetId) == nullptr) {
            Refusal = "chipset: the database has no chipset " + std::to_string(model.ChipSetId);
            return false;
        }
        model.Apply(item, settings);
        char size[64];
        std::snprintf(size, sizeof size, " %dx%d chipset %d", static_cast<int>(model.Width),
                      static_cast<int>(model.Height), static_cast<int>(model.ChipSetId));
        Done = Cp932ToUtf8(model.Name) + size;
        return true;
    }

    bool EditArea(bool, const TKelMapTree&, const TKelMap& map, TKelMapTreeItem& item) override {
        if (IsEmptyArea(Rect) || Rect.Left < 0 || Rect.Top < 0 || Rect.Right > map.Width() || Rect.Bottom > map.Height()) {
            Refusal = "the rectangle is empty or leaves the " + std::to_string(map.Width()) + "x" +
                      std::to_string(map.Height()) + " map";
            return false;
        }
        item.AreaRect = Rect;
        Done = Cp932ToUtf8(item.Name) + " " + AreaRectText(Rect);
        return true;
    }

    bool ShiftMap(std::int32_t width, std::int32_t height, std::int32_t& dx, std::int32_t& dy) override {
        if ((Dx == 0 && Dy == 0) || Dx < -width || Dx > width || Dy < -height || Dy > height) {
            Refusal = "a shift moves by 1 up to the map's size (" + std::to_string(width) + "x" +
                      std::to_string(height) + ")";
            return false;
        }
        dx = Dx;
        dy = Dy;
        return true;
    }
};

std::string Id4(std::int32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "%.4d", static_cast<int>(id));
    return text;
}

int Refused(const std::string& why) {
    std::printf("refused: %s\n", why.c_str());
    return 1;
}

// A scratch folder for the maps' working copies, so that a running editor's are never touched.
class TScratchTemp {
public:
    TScratchTemp() {
        std::string pattern = GetTempFolder() + "quillon-cli-tree-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) {
            mFolder = pattern;
            const char* old = std::getenv("TMPDIR");
            mHadOld = old != nullptr;
            if (mHadOld)
                mOld = old;
            ::setenv("TMPDIR", mFolder.c_str(), 1);
        }
    }
    ~TScratchTemp() {
        if (mFolder.empty())
            return;
        if (mHadOld)
            ::setenv("TMPDIR", mOld.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ignored;
        std::filesystem::remove_all(mFolder, ignored);
    }
    bool Ok() const { return !mFolder.empty(); }

private:
    std::string mFolder, mOld;
    bool mHadOld = false;
};

}  // namespace

int VerbTree(const TArgs& args) {
    if (args.size() < 3)
        return Fail("tree", kTreeUsage);
    const std::string folder = IncludeTrailingDelimiter(std::filesystem::absolute(args[0]).lexically_normal().string());
    const std::string& command = args[1];
    const auto id = ReadNumber32(args[2], 0, kMaxMapId);
    if (!id)
        return Fail(args[2], "not an ID (0..9999)");
    if (!FileExists(folder + TKelMapTree::kFileName))
        return Fail(folder + TKelMapTree::kFileName, "no map tree here");
    // Every tree command writes (a deleted map's file goes at once): no other writer meanwhile.
    const TProjectLock lock = LockForWriting(folder);

    TScratchTemp scratch;
    if (!scratch.Ok())
        return Fail(GetTempFolder(), "cannot make a scratch folder");
    const TEditorModeScope editor(true);
    SetProjectPath(folder);
    TKelDataBase database;
    const bool haveDatabase = FileExists(folder + TKelDataBase::kFileName);
    if (haveDatabase)
        database.Load(folder);
    TKelMapTree tree;
    TKelMap map;
    if (haveDatabase)
        map.SetChipSetList(&database.ChipSet);
    TMapTreeModel model(tree, map);
    TCliTreeDialogs dialogs;
    dialogs.ChipSets = haveDatabase ? &database.ChipSet : nullptr;
    model.Dialogs = &dialogs;
    model.LoadTree();

    const TKelMapTreeItem* item = tree.FindByID(*id);
    if (item == nullptr)
        return Refused("there is no node " + Id4(*id));
    model.SelectNode(*id);
    if (model.Selected() != *id)
        return Refused("node " + Id4(*id) + " cannot be selected");

    std::string done;
    auto run = [&](TMapTreeCommand cmd, const char* what) {
        if (!model.IsEnabled(cmd)) {
            dialogs.Refusal = std::string(what) + " is not a command of node " + Id4(*id);
            return false;
        }
        return model.Execute(cmd);
    };
    bool ok = false;
    if (command == "new-map") {
        dialogs.Settings.assign(args.begin() + 3, args.end());
        if (model.FreeId() == 0)
            return Refused("every map ID from 1 to 9999 is in use");
        ok = run(TMapTreeCommand::NewMap, "new-map");
        if (ok)
            done = "new map " + Id4(tree.CurrentMapId) + " under " + Id4(*id) + ": " + dialogs.Done;
    } else if (command == "new-area") {
        if (args.size() != 7)
            return Fail("tree", kTreeUsage);
        std::int32_t v[4];
        for (int i = 0; i < 4; ++i) {
            const auto n = ReadNumber32(args[3 + static_cast<std::size_t>(i)], 0, kMapMaxWidth);
            if (!n)
                return Fail(args[3 + static_cast<std::size_t>(i)], "not a grid coordinate (0..999)");
            v[i] = *n;
        }
        dialogs.Rect = {v[0], v[1], v[2], v[3]};
        if (model.FreeId() == 0)
            return Refused("every ID from 1 to 9999 is in use");
        ok = run(TMapTreeCommand::NewArea, "new-area");
        if (ok)
            done = "new area " + Id4(tree.CurrentMapId) + " in " + Id4(*id) + ": " + dialogs.Done;
    } else if (command == "delete") {
        if (args.size() != 3)
            return Fail("tree", kTreeUsage);
        ok = run(TMapTreeCommand::Delete, "delete");
        if (ok)
            done = "deleted " + Id4(*id) + " and everything under it";
    } else if (command == "move") {
        if (args.size() != 4)
            return Fail("tree", kTreeUsage);
        const auto target = ReadNumber32(args[3], 0, kMaxMapId);
        if (!target)
            return Fail(args[3], "not an ID (0..9999)");
        ok = model.Drop(*id, *target);
        if (!ok)
            dialogs.Refusal = Id4(*id) + " cannot move under " + Id4(*target);
        else
            done = "moved " + Id4(*id) + " under " + Id4(*target);
    } else if (command == "shift") {
        if (args.size() != 5)
            return Fail("tree", kTreeUsage);
        const auto dx = ReadNumber32(args[3], -kMapMaxWidth, kMapMaxWidth);
        const auto dy = ReadNumber32(args[4], -kMapMaxHeight, kMapMaxHeight);
        if (!dx || !dy)
            return Fail(!dx ? args[3] : args[4], "not a shift in cells (-999..999)");
        dialogs.Dx = *dx;
        dialogs.Dy = *dy;
        ok = run(TMapTreeCommand::ShiftMap, "shift");
        if (ok)
            done = "shifted " + Id4(*id) + " by (" + std::to_string(*dx) + "," + std::to_string(*dy) + ")";
    } else if (command == "props") {
        if (args.size() < 4)
            return Fail("tree", kTreeUsage);
        dialogs.Settings.assign(args.begin() + 3, args.end());
        ok = run(TMapTreeCommand::MapProperties, "props");
        if (ok)
            done = "properties of " + Id4(*id) + ": " + dialogs.Done;
    } else {
        return Fail(command, "not a tree command");
    }
    if (!ok)
        return Refused(dialogs.Refusal.empty() ? command + " changed nothing" : dialogs.Refusal);
    model.SaveTree();
    std::printf("%s\n", done.c_str());
    return 0;
}

}  // namespace quillon::cli
