// The script-list verb: runs the command list's selection and editing operations on a map event
// page and prints the list as it then stands (selection, cursor, menu states).
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "events/EvCmdList.h"
#include "events/EventScript.h"
#include "events/ScriptList.h"
#include "platform/Clipboard.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "project/ProjectLock.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kUsage =
    "usage: quillon-cli script-list FOLDER MAPID EVENTID PAGE [OP...] [--save]\n"
    "  OP: click=ROW shift=ROW right=ROW key=up|down|left|right|home|end|pageup|pagedown\n"
    "      shift-key=KEY insert=CODE copy cut paste delete select-all visible=LINES\n"
    "  (insert makes the commands that take no settings, such as 12210 or 12220)\n"
    "  prints one row per script line: '*' selected, '>' the cursor, then the text; then the\n"
    "  enabled menu items. --save writes the page back into the map file.";

// The palette of the command line: the command named by the operation, made without a form.
class TCliDialogs final : public IEventCommandDialogs {
public:
    std::int32_t Code = 0;
    bool ChooseCommand(TScriptEditorKind, TKelEventScriptList& result, const TEventCommandContext&) override {
        return BuildCommandWithoutForm(Code, result);
    }
    bool RunDialog(std::int32_t code, TKelEventScriptList& result, const TEventCommandContext&) override {
        return BuildCommandWithoutForm(code, result);
    }
};

const std::pair<const char*, TScriptListKey> kKeys[] = {
    {"up", TScriptListKey::Up},       {"down", TScriptListKey::Down},     {"left", TScriptListKey::Left},
    {"right", TScriptListKey::Right}, {"home", TScriptListKey::Home},     {"end", TScriptListKey::End},
    {"pageup", TScriptListKey::PageUp}, {"pagedown", TScriptListKey::PageDown}};

// Runs one operation; false when it is not understood.
bool RunOperation(const std::string& op, TScriptListModel& model, TCliDialogs& dialogs) {
    const std::size_t eq = op.find('=');
    const std::string name = op.substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : op.substr(eq + 1);
    if (eq == std::string::npos) {
        if (name == "copy")
            model.Copy();
        else if (name == "cut")
            model.Cut();
        else if (name == "paste")
            model.Paste();
        else if (name == "delete")
            model.Delete();
        else if (name == "select-all")
            model.SelectAll();
        else
            return false;
        return true;
    }
    if (name == "key" || name == "shift-key") {
        for (const auto& [key, code] : kKeys)
            if (value == key)
                return model.KeyDown(code, name == "shift-key");
        return false;
    }
    const auto number = ReadNumber32(value);
    if (!number)
        return false;
    if (name == "click" || name == "shift" || name == "right")
        model.MouseDown(*number, name == "right", name == "shift");
    else if (name == "visible")
        model.SetVisibleLines(*number);
    else if (name == "insert") {
        dialogs.Code = *number;
        model.Insert();
    } else
        return false;
    return true;
}

}  // namespace

int VerbScriptList(const TArgs& args) {
    if (args.size() < 4) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 1;
    }
    const auto mapId = ReadNumber32(args[1]), eventId = ReadNumber32(args[2]), pageId = ReadNumber32(args[3]);
    if (!mapId || !eventId || !pageId) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 1;
    }
    const std::string folder =
        IncludeTrailingDelimiter(std::filesystem::absolute(args[0]).lexically_normal().string());
    const std::string mapFile = folder + MapFileName(*mapId);
    if (*mapId < 1 || !FileExists(mapFile))
        return Fail(mapFile, "map " + args[1] + " does not exist");

    // A run that may save holds the writers' lock from before the load; a look runs beside the editor.
    std::optional<TProjectLock> lock;
    if (std::find(args.begin() + 4, args.end(), "--save") != args.end())
        lock.emplace(LockForWriting(folder));

    // Names come from the database and the tree when the project has them.
    TKelDataBase database;
    if (FileExists(folder + TKelDataBase::kFileName))
        database.LoadFromFile(folder + TKelDataBase::kFileName);
    std::unique_ptr<TKelMapTree> tree;
    if (FileExists(folder + TKelMapTree::kFileName)) {
        const std::string bytes = ReadWholeFile(folder + TKelMapTree::kFileName);
        TByteViewStream stream(bytes);
        tree = std::make_unique<TKelMapTree>();
        tree->LoadTreeFromStream(stream);
    }
    TKelMap map;
    map.LoadFromProject(folder, *mapId);
    TKelEventItem* event = map.Events.FindByID(*eventId);
    if (event == nullptr)
        return Fail(mapFile, "event " + args[2] + " does not exist");
    TKelEventPageItem* page = event->Pages.FindByID(*pageId);
    if (page == nullptr)
        return Fail(mapFile, "event " + args[2] + " has no page " + args[3]);
    if (page->ScriptDamaged())
        return Fail(mapFile, "the script buffer cannot be parsed");

    TEventScriptConverter converter;
    converter.DataBase = &database;
    converter.MapTree = tree.get();
    converter.Map = &map;
    converter.EventId = *eventId;
    converter.EventItem = event;
    TMemoryClipboard clipboard;
    TCliDialogs dialogs;
    TScriptListModel model([&converter](const TKelEventScriptLine& line) { return converter.RenderSafely(line); });
    model.SetClipboard(&clipboard);
    model.SetDialogs(&dialogs);
    model.SetVisibleLines(20);
    bool modified = false;
    const TConnection heard = model.OnModified.Connect([&modified] { modified = true; });
    model.SetScript(&page->Script);

    bool save = false;
    for (std::size_t i = 4; i < args.size(); ++i) {
        if (args[i] == "--save") {
            save = true;
        } else if (!RunOperation(args[i], model, dialogs)) {
            std::fprintf(stderr, "quillon-cli: unknown operation \"%s\"\n%s\n", args[i].c_str(), kUsage);
            return 1;
        }
    }

    std::string out;
    for (int row = 0; row < model.Count(); ++row) {
        out += model.IsSelected(row) ? '*' : ' ';
        out += row == model.ItemIndex() ? '>' : ' ';
        out += Cp932ToUtf8(model.Items()[static_cast<std::size_t>(row)]);
        out += '\n';
    }
    const TScriptMenuState menu = model.MenuState();
    out += "menu:";
    const std::pair<bool, const char*> items[] = {{menu.Insert, " Insert"}, {menu.Edit, " Edit"},
                                                  {menu.Cut, " Cut"},       {menu.Copy, " Copy"},
                                                  {menu.Paste, " Paste"},   {menu.Delete, " Delete"},
                                                  {menu.SelectAll, " SelectAll"}};
    for (const auto& [enabled, caption] : items)
        if (enabled)
            out += caption;
    out += '\n';
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        return Fail("stdout", "cannot be written");
    if (save && modified)
        map.SaveToProject(folder, *mapId);
    return 0;
}

}  // namespace quillon::cli
