// The event verb: the map canvas's event commands on one cell of a map, run through the event
// manager, then the map (and, when a start position moved, the map tree) saved back into the
// project folder. The clipboard block can live in a file between runs.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "events/ED_Event.h"
#include "events/EventManager.h"
#include "events/ScriptList.h"
#include "platform/Clipboard.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "project/ProjectLock.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quillon::cli {

namespace {

constexpr const char* kEventUsage =
    "usage: quillon-cli event FOLDER MAPID new|copy|cut|paste|delete|name X Y | party X Y |\n"
    "       vehicle boat|ship|airship X Y | teleport X Y MAP TX TY |\n"
    "       page-new|page-delete EVENT PAGE | route EVENT PAGE add CODE[:ARG]...  [--clipboard FILE]";

// A clipboard block file is never larger than this.
constexpr std::int64_t kClipboardFileLimit = std::int64_t{64} << 20;

std::string Id4(std::int32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "%.4d", static_cast<int>(id));
    return text;
}

std::string Cell(std::int32_t x, std::int32_t y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

int Refused(const std::string& why) {
    std::printf("refused: %s\n", why.c_str());
    return 1;
}

// The event block in a file: the raw bytes the editor's clipboard would hold.
class TFileClipboard final : public IClipboard {
public:
    explicit TFileClipboard(std::string path) : mPath(std::move(path)) {}
    bool HasFormat(int format) const override { return format == kEventClipboardFormat && FileExists(mPath); }
    std::optional<std::string> GetData(int format) const override {
        if (!HasFormat(format))
            return std::nullopt;
        return ReadWholeFile(mPath, kClipboardFileLimit);
    }
    void SetData(int format, const std::string& bytes) override {
        if (format == kEventClipboardFormat)
            WriteFileAtomic(mPath, bytes);
    }

private:
    std::string mPath;
};

// The windows of the manager, answered by the command line.
class TCliEventDialogs final : public IEventManagerDialogs {
public:
    // Changes the editor's copy before its Ok; false cancels the editor.
    std::function<bool(TKelEventItem&)> EditCopy;
    int Vehicle = -1;
    std::int32_t TeleportMap = 0, TeleportX = 0, TeleportY = 0;

    void EditEvent(TKelEventItem& copy, std::int32_t, bool,
                   const std::function<bool(const TKelEventItem&)>& commit) override {
        if (!EditCopy || EditCopy(copy))
            commit(copy);
    }
    int ChooseVehicle() override { return Vehicle; }
    bool RunTeleportDialog(TKelEventScriptList& result, const TEventCommandContext&) override {
        TKelEventScriptLine& line = result.Add();
        line.Code = ToInt(TCommandCode::Teleport);
        line.SetParamCount(3);
        line.SetParam(0, TeleportMap);
        line.SetParam(1, TeleportX);
        line.SetParam(2, TeleportY);
        return true;
    }
    // The command line's dialogs change no names.
    bool SaveDataBase(std::string&) override { return true; }
};

// What a cell holds, for the messages: "0003:Door", "Hero", or "nothing".
std::string Describe(const TKelMapTree* tree, const TKelMap& map, std::int32_t x, std::int32_t y) {
    const std::int32_t code = EventCodeAt(tree, map, x, y);
    if (code < 0)
        return "a cell outside the map";
    if (code >= kFirstStartMarkTag)
        return std::string(TKelMapStartPosition::PositionName(code - kFirstStartMarkTag)) + " start";
    if (code == 0)
        return "nothing";
    const TKelEventItem* event = map.Events.FindByID(code);
    return Cp932ToUtf8(FormatIdName(code, event ? event->Name : std::string()));
}

// "CODE" or "CODE:ARG" as a move command; nothing when it does not read as one.
std::optional<TKelMoveRouteItem> ParseMoveCommand(const std::string& text) {
    const std::size_t colon = text.find(':');
    const auto code = ReadNumber32(text.substr(0, colon), 0, mcLastCode);
    if (!code)
        return std::nullopt;
    TKelMoveRouteItem item;
    item.Code = *code;
    const bool hasArg = colon != std::string::npos;
    const std::string arg = hasArg ? text.substr(colon + 1) : std::string();
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = arg.find(',', start);
        parts.push_back(arg.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    const auto text932 = [](const std::string& utf8, std::string& bytes) {
        bytes = Utf8ToCp932(utf8);
        return Cp932ToUtf8(bytes) == utf8;
    };
    switch (*code) {
    case mcSwitchOn:
    case mcSwitchOff: {
        const auto id = hasArg ? ReadNumber32(arg, 1, 5000) : std::nullopt;
        if (!id)
            return std::nullopt;
        item.SwitchId = *id;
        return item;
    }
    case mcChangeGraphic: {
        if (!hasArg || parts.size() != 2 || !text932(parts[0], item.GraphicName))
            return std::nullopt;
        const auto index = ReadNumber32(parts[1], 0, 7);
        if (!index)
            return std::nullopt;
        item.GraphicIndex = *index;
        return item;
    }
    case mcPlaySound: {
        if (!hasArg || parts.size() != 4 || !text932(parts[0], item.SoundName))
            return std::nullopt;
        const auto volume = ReadNumber32(parts[1], 0, 100), tempo = ReadNumber32(parts[2], 50, 150),
                   balance = ReadNumber32(parts[3], 0, 100);
        if (!volume || !tempo || !balance)
            return std::nullopt;
        item.SoundVolume = *volume;
        item.SoundTempo = *tempo;
        item.SoundBalance = *balance;
        return item;
    }
    default:
        return hasArg ? std::nullopt : std::optional<TKelMoveRouteItem>(item);
    }
}

std::string RouteText(const TKelMoveRoute& route) {
    std::string text;
    for (const TKelMoveRouteItem& item : route.ItemList()) {
        if (!text.empty())
            text += "| ";
        text += MoveCommandName(item.Code);
        if (item.Code == mcSwitchOn || item.Code == mcSwitchOff)
            text += Id4(item.SwitchId) + " ";
        else if (item.Code == mcChangeGraphic)
            text += Cp932ToUtf8(item.GraphicName) + "," + std::to_string(item.GraphicIndex) + " ";
        else if (item.Code == mcPlaySound)
            text += Cp932ToUtf8(item.SoundName) + " ";
    }
    return text;
}

std::string StartBytes(TKelMapTree& tree) {
    TMemoryStream stream;
    tree.StartPosition.SaveToStream(stream);
    return stream.Bytes();
}

std::string EventBytes(TKelMap& map) {
    TMemoryStream stream;
    map.Events.SaveToStream(stream);
    return stream.Bytes();
}

}  // namespace

int VerbEvent(const TArgs& allArgs) {
    // --clipboard FILE may stand anywhere.
    TArgs args;
    std::string clipboardFile;
    for (std::size_t i = 0; i < allArgs.size(); ++i) {
        if (allArgs[i] == "--clipboard") {
            if (i + 1 >= allArgs.size())
                return Fail("event", kEventUsage);
            clipboardFile = allArgs[++i];
        } else {
            args.push_back(allArgs[i]);
        }
    }
    if (args.size() < 3)
        return Fail("event", kEventUsage);
    const std::string folder =
        IncludeTrailingDelimiter(std::filesystem::absolute(args[0]).lexically_normal().string());
    const auto mapId = ReadNumber32(args[1], 1, 9999);
    if (!mapId)
        return Fail(args[1], "not a map ID (1..9999)");
    const std::string& op = args[2];
    const std::string mapFile = folder + MapFileName(*mapId);
    if (!FileExists(mapFile))
        return Fail(mapFile, "map " + args[1] + " does not exist");

    const auto coordinate = [&args](std::size_t index) { return ReadNumber32(args[index], -1, 9999); };
    // Operand counts by operation.
    std::size_t operands = 0;
    if (op == "new" || op == "copy" || op == "cut" || op == "paste" || op == "delete" || op == "name" ||
        op == "party")
        operands = 2;
    else if (op == "vehicle")
        operands = 3;
    else if (op == "teleport")
        operands = 5;
    else if (op == "page-new" || op == "page-delete")
        operands = 2;
    else if (op == "route")
        operands = 4;  // at least
    else
        return Fail(op, std::string("not an event command\n") + kEventUsage);
    if (op == "route" ? args.size() < 3 + operands : args.size() != 3 + operands)
        return Fail("event", kEventUsage);

    // Every command but a look or a copy writes the map or the tree: no other writer meanwhile.
    std::optional<TProjectLock> lock;
    if (op != "name" && op != "copy")
        lock.emplace(LockForWriting(folder));

    std::unique_ptr<TKelMapTree> tree;
    if (FileExists(folder + TKelMapTree::kFileName)) {
        const std::string bytes = ReadWholeFile(folder + TKelMapTree::kFileName);
        TByteViewStream stream(bytes);
        tree = std::make_unique<TKelMapTree>();
        tree->LoadTreeFromStream(stream);
    }
    TKelMap map;
    map.LoadFromProject(folder, *mapId);

    TMemoryClipboard memory;
    TFileClipboard file(clipboardFile);
    TCliEventDialogs dialogs;
    TKelEventManager manager(dialogs, clipboardFile.empty() ? static_cast<IClipboard*>(&memory) : &file);
    manager.SetMap(tree.get(), &map);
    const std::string eventsBefore = EventBytes(map);
    const std::string startBefore = tree ? StartBytes(*tree) : std::string();

    std::string done;
    std::string refusal;
    const bool pageOp = op == "route" || op == "page-new" || op == "page-delete";
    if (pageOp) {
        // Operations on one page of an event, made on the event editor's copy and committed as
        // its Ok would.
        const auto eventId = ReadNumber32(args[3], 1, 60000);
        const auto pageId = ReadNumber32(args[4], 1, TKelEventManager::kMaxPages);
        if (!eventId || !pageId || (op == "route" && args[5] != "add"))
            return Fail("event", kEventUsage);
        std::vector<TKelMoveRouteItem> items;
        for (std::size_t i = op == "route" ? 6 : args.size(); i < args.size(); ++i) {
            const auto item = ParseMoveCommand(args[i]);
            if (!item)
                return Fail(args[i], "not a move command (CODE 0..41; 32:SWITCH, 33:SWITCH, 34:NAME,INDEX, "
                                     "35:NAME,VOLUME,TEMPO,BALANCE)");
            items.push_back(*item);
        }
        const TKelEventItem* event = map.Events.FindByID(*eventId);
        if (event == nullptr)
            return Refused("there is no event " + Id4(*eventId) + " on map " + Id4(*mapId));
        const std::int32_t x = event->X, y = event->Y;
        if (EventCodeAt(tree.get(), map, x, y) != *eventId)
            return Refused("event " + Id4(*eventId) + " is hidden under " + Describe(tree.get(), map, x, y) + " at " +
                           Cell(x, y));
        if (event->Pages.FindByID(*pageId) == nullptr)
            return Refused("event " + Id4(*eventId) + " has no page " + std::to_string(*pageId));
        std::string route;
        int pages = 0;
        bool pageRefused = false;
        dialogs.EditCopy = [&](TKelEventItem& copy) {
            if (op != "route") {
                TEventEditorModel editor(copy, *eventId, false);
                editor.SelectPage(*pageId - 1);
                pageRefused = editor.CurrentIndex() != *pageId - 1 ||
                              !(op == "page-new" ? editor.NewPage() : editor.DeletePage());
                pages = editor.PageCount();
                return !pageRefused;
            }
            TKelEventPageItem* page = copy.Pages.FindByID(*pageId);
            if (page == nullptr)
                return false;
            for (const TKelMoveRouteItem& item : items)
                page->MoveRoute.Add(item);
            route = RouteText(page->MoveRoute);
            return true;
        };
        const std::string page = "page " + std::to_string(*pageId);
        if (!manager.Edit(x, y, 0) || pageRefused)
            refusal = pageRefused ? (op == "page-new" ? "event " + Id4(*eventId) + " already has 100 pages"
                                                      : "the only page of an event cannot be deleted")
                                  : "the event could not be edited";
        else if (op == "route")
            done = "route of " + Id4(*eventId) + " " + page + ": " + route;
        else
            done = (op == "page-new" ? "new page " + std::to_string(*pageId + 1) + " after " + page
                                     : "deleted " + page) +
                   " of " + Id4(*eventId) + ": " + std::to_string(pages) + (pages == 1 ? " page" : " pages");
    } else {
        const std::size_t at = op == "vehicle" ? 4 : 3;
        const auto x = coordinate(at), y = coordinate(at + 1);
        if (!x || !y)
            return Fail(args[!x ? at : at + 1], "not a cell coordinate");
        const std::string before = Describe(tree.get(), map, *x, *y);
        bool ok = false;
        if (op == "new") {
            ok = manager.Edit(*x, *y, 0);
        } else if (op == "copy") {
            ok = manager.Copy(*x, *y);
        } else if (op == "cut") {
            ok = manager.Cut(*x, *y);
        } else if (op == "paste") {
            ok = manager.Paste(*x, *y);
        } else if (op == "delete") {
            ok = manager.Delete(*x, *y);
        } else if (op == "name") {
            const std::string name = Cp932ToUtf8(manager.NameAt(*x, *y));
            std::printf("%s\n", name.c_str());
            return 0;
        } else if (op == "party") {
            if (!tree)
                return Refused("the project has no map tree for the start positions");
            ok = manager.SetPartyStart(*x, *y);
        } else if (op == "vehicle") {
            const std::string& kind = args[3];
            dialogs.Vehicle = kind == "boat" ? 0 : kind == "ship" ? 1 : kind == "airship" ? 2 : -1;
            if (dialogs.Vehicle < 0)
                return Fail(kind, "not a vehicle (boat, ship, airship)");
            if (!tree)
                return Refused("the project has no map tree for the start positions");
            ok = manager.SetVehicleStart(*x, *y);
        } else if (op == "teleport") {
            const auto target = ReadNumber32(args[5], 1, 9999);
            const auto tx = ReadNumber32(args[6], 0, 9999), ty = ReadNumber32(args[7], 0, 9999);
            if (!target || !tx || !ty)
                return Fail("event", kEventUsage);
            dialogs.TeleportMap = *target;
            dialogs.TeleportX = *tx;
            dialogs.TeleportY = *ty;
            ok = manager.CreateTeleportEvent(*x, *y);
        }
        const std::string now = Describe(tree.get(), map, *x, *y);
        if (!ok) {
            refusal = op + " changed nothing: " + Cell(*x, *y) + " holds " + before;
            if ((op == "new" || op == "paste" || op == "teleport") && before == "nothing" && manager.FreeEventId() == 0)
                refusal = "every event ID from 1 to 5000 is in use";
            else if (op == "paste" && before == "nothing")
                refusal = "the clipboard holds no event block that can be pasted";
        } else if (op == "copy") {
            done = "copied " + before;
        } else if (op == "cut" || op == "delete") {
            done = (op == "cut" ? "cut " : "deleted ") + before + " at " + Cell(*x, *y);
        } else if (op == "teleport") {
            done = "teleport event " + now + " at " + Cell(*x, *y) + " to map " + Id4(dialogs.TeleportMap) + " " +
                   Cell(dialogs.TeleportX, dialogs.TeleportY);
        } else if (op == "new") {
            done = "new event " + now + " at " + Cell(*x, *y);
        } else if (op == "paste") {
            done = "pasted " + now + " at " + Cell(*x, *y);
        } else {
            done = now + " at map " + Id4(*mapId) + " " + Cell(*x, *y);
        }
    }
    if (!refusal.empty())
        return Refused(refusal);

    // What changed goes back into the project folder, both files together.
    TFileTransaction transaction;
    if (EventBytes(map) != eventsBefore)
        transaction.Stage(mapFile, map.FileImage());
    if (tree && StartBytes(*tree) != startBefore) {
        TMemoryStream stream;
        tree->SaveTreeToStream(stream);
        transaction.Stage(folder + TKelMapTree::kFileName, stream.Bytes());
    }
    transaction.Commit();
    std::printf("%s\n", done.c_str());
    return 0;
}

}  // namespace quillon::cli
