// The command verb: the event command dialogs without a window. Describes a command's fields,
// builds a new command from key=value settings, or edits a command of a map event page as its
// dialog's OK would (keeping the bodies of a block command) and saves the map.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/KelDump.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "events/CommandForm.h"
#include "events/EventCommands.h"
#include "events/EventScript.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "project/ProjectLock.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kUsage =
    "usage: quillon-cli command describe CODE\n"
    "       quillon-cli command new CODE [KEY=VALUE...] [--project FOLDER [--map MAPID]]\n"
    "       quillon-cli command edit FOLDER MAPID EVENTID PAGE LINE [KEY=VALUE...]\n"
    "  describe: the dialog's fields (key, widget, label, kind, range or choices) and the\n"
    "  parameters it writes. new and edit print the command's lines as a JSON array of\n"
    "  {\"Code\", \"Indent\", \"Text\", \"Params\", \"Render\"}; edit replaces the command on line LINE\n"
    "  (0-based, with its bodies and companion lines) and saves the map. Values are UTF-8; a\n"
    "  place is MAP,X,Y; shop goods are item IDs separated by commas. The commands made through a\n"
    "  selector take its values: file, wallpaper, font (10680); map, x, y (10810); target,\n"
    "  frequency, repeat, skippable (11330); file, fade, volume, tempo, balance (11510); file,\n"
    "  volume, tempo, balance (11550); file (13210).";

int Usage() {
    std::fprintf(stderr, "%s\n", kUsage);
    return 2;
}

std::string Json(const std::string& utf8) { return JsonQuoted(utf8); }

// A caption without its Alt letter marks ("&Ok" -> "Ok", "&&" -> "&").
std::string Plain(const std::string& caption) {
    std::string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

bool WriteOut(const std::string& out) {
    return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() && std::fflush(stdout) == 0;
}

// The lines as JSON, each rendered as the command list shows it (`base` levels deeper).
std::string LinesJson(const TKelEventScriptList& lines, const TEventScriptConverter& converter, std::int32_t base) {
    std::string out = "[";
    for (int i = 0; i < lines.Count(); ++i) {
        TKelEventScriptLine line = *lines.Lines(i);
        line.Indent += base;
        out += i > 0 ? ",\n " : "\n ";
        out += "{\"Code\": " + std::to_string(line.Code) + ", \"Indent\": " + std::to_string(line.Indent) +
               ", \"Text\": " + Json(Cp932ToUtf8(line.Text)) + ", \"Params\": [";
        for (int p = 0; p < line.ParamCount(); ++p)
            out += (p > 0 ? ", " : "") + std::to_string(line.Param(p));
        out += "], \"Render\": " + Json(Cp932ToUtf8(converter.RenderSafely(line))) + "}";
    }
    return out + (lines.Count() > 0 ? "\n]\n" : "]\n");
}

// KEY=VALUE arguments, the values turned into the stored code page.
bool ParseValues(const TArgs& args, std::size_t from, std::vector<std::pair<std::string, std::string>>& values,
                 std::size_t& end) {
    end = from;
    for (; end < args.size() && args[end].rfind("--", 0) != 0; ++end) {
        const auto setting = KeyValue(args[end]);
        if (!setting)
            return false;
        values.emplace_back(setting->first, Utf8ToCp932(setting->second));
    }
    return true;
}

// The project's database, map tree and (when asked) one map; false after reporting a failure.
struct TProject {
    std::string Folder;
    std::unique_ptr<TKelDataBase> DataBase = std::make_unique<TKelDataBase>();
    std::unique_ptr<TKelMapTree> MapTree;
    std::unique_ptr<TKelMap> Map;
};

bool LoadProject(const std::string& folderArg, std::optional<std::int32_t> mapId, TProject& project) {
    project.Folder = IncludeTrailingDelimiter(std::filesystem::absolute(folderArg).lexically_normal().string());
    if (!std::filesystem::is_directory(project.Folder)) {
        Fail(folderArg, "not a folder");
        return false;
    }
    const std::string databaseFile = project.Folder + TKelDataBase::kFileName;
    const std::string treeFile = project.Folder + TKelMapTree::kFileName;
    std::string reading = databaseFile;
    try {
        if (FileExists(databaseFile))
            project.DataBase->LoadFromFile(databaseFile);
        reading = treeFile;
        if (FileExists(treeFile)) {
            const std::string bytes = ReadWholeFile(treeFile);
            TByteViewStream stream(bytes);
            auto tree = std::make_unique<TKelMapTree>();
            tree->LoadTreeFromStream(stream);
            project.MapTree = std::move(tree);
        }
        if (mapId) {
            reading = project.Folder + MapFileName(*mapId);
            if (*mapId < 1 || !FileExists(reading)) {
                Fail(reading, "map " + std::to_string(*mapId) + " does not exist");
                return false;
            }
            auto map = std::make_unique<TKelMap>();
            map->LoadFromProject(project.Folder, *mapId);
            project.Map = std::move(map);
        }
    } catch (const std::exception& e) {
        Fail(reading, e.what());
        return false;
    }
    return true;
}

std::string KindText(const TFieldSpec& field) {
    const auto range = [&field] { return std::to_string(field.Min) + ".." + std::to_string(field.Max); };
    const auto choices = [&field] {
        std::string text;
        for (std::size_t c = 0; c < field.Choices.size(); ++c)
            text += (c > 0 ? ", " : " ") + std::to_string(c) + " " + Plain(field.Choices[c]);
        return text;
    };
    const std::string bytes = field.MaxBytes > 0 ? ", at most " + std::to_string(field.MaxBytes) + " bytes" : "";
    switch (field.Kind) {
    case TFieldKind::Text: return "text" + bytes;
    case TFieldKind::MultiLineText: return "lines" + bytes;
    case TFieldKind::Number: return "number " + range();
    case TFieldKind::Check: return "check 0|1";
    case TFieldKind::RadioGroup: return "radio" + choices();
    case TFieldKind::DropDown: return "list" + choices();
    case TFieldKind::IdList: return "id " + range();
    case TFieldKind::Resource: return "resource name";
    case TFieldKind::Switch: return "switch " + range();
    case TFieldKind::Variable: return "variable " + range();
    case TFieldKind::MapPlace: return "place MAP,X,Y";
    case TFieldKind::Colour: return "colour";
    case TFieldKind::Group: return "group";
    }
    return "";
}

int Describe(const TArgs& args) {
    if (args.size() != 2)
        return Usage();
    const auto code = ReadNumber32(args[1]);
    if (!code)
        return Fail(args[1], "not a command code");
    const TCommandForm* form = FindCommandForm(*code);
    if (form == nullptr)
        return Fail(args[1], "command " + args[1] + " has no dialog description");
    const TEventCommandInfo* info = FindEventCommand(*code);
    std::string out = std::to_string(*code) + " \"" + (info != nullptr ? info->Caption : "") + "\": " +
                      std::to_string(form->ParamCount) + (form->ParamCount == 1 ? " parameter" : " parameters");
    if (form->WrittenParams)
        out += " and more after them";
    if (form->TextLineCode != 0)
        out += ", up to " + std::to_string(form->MaxTextLines) + " text lines";
    if (form->Block)
        out += ", a block with bodies";
    out += "\n";
    for (const TFieldSpec& field : form->Fields.Fields) {
        char row[512];
        std::snprintf(row, sizeof row, "  %-18s %-22s %-26s %s\n", field.Key.empty() ? "-" : field.Key.c_str(),
                      field.Widget.c_str(), ("\"" + Plain(field.Label) + "\"").c_str(), KindText(field).c_str());
        out += row;
    }
    return WriteOut(out) ? 0 : Fail("stdout", "cannot be written");
}

int New(const TArgs& args) {
    if (args.size() < 2)
        return Usage();
    const auto code = ReadNumber32(args[1]);
    if (!code)
        return Fail(args[1], "not a command code");
    std::vector<std::pair<std::string, std::string>> values;
    std::size_t at = 2;
    if (!ParseValues(args, 2, values, at))
        return Usage();
    std::optional<std::string> folder;
    std::optional<std::int32_t> mapId;
    for (; at < args.size(); ++at) {
        if (args[at] == "--project" && at + 1 < args.size()) {
            folder = args[++at];
        } else if (args[at] == "--map" && at + 1 < args.size()) {
            mapId = ReadNumber32(args[++at]);
            if (!mapId)
                return Fail(args[at], "not a map ID");
        } else {
            return Usage();
        }
    }
    if (mapId && !folder)
        return Usage();
    TProject project;
    if (folder && !LoadProject(*folder, mapId, project))
        return 1;
    TEventCommandContext context;
    TEventScriptConverter converter;
    if (folder) {
        context.DataBase = converter.DataBase = project.DataBase.get();
        context.MapTree = converter.MapTree = project.MapTree.get();
        context.Map = converter.Map = project.Map.get();
    }
    TKelEventScriptList lines;
    std::string error;
    if (!BuildCommandLines(*code, values, context, lines, error))
        return Fail(args[1], error);
    return WriteOut(LinesJson(lines, converter, 0)) ? 0 : Fail("stdout", "cannot be written");
}

int Edit(const TArgs& args) {
    if (args.size() < 6)
        return Usage();
    const auto mapId = ReadNumber32(args[2]), eventId = ReadNumber32(args[3]), pageId = ReadNumber32(args[4]),
               lineNumber = ReadNumber32(args[5]);
    if (!mapId || !eventId || !pageId || !lineNumber)
        return Usage();
    std::vector<std::pair<std::string, std::string>> values;
    std::size_t at = 6;
    if (!ParseValues(args, 6, values, at) || at != args.size())
        return Usage();
    // The map is saved: no other writer between the load and the save.
    const TProjectLock lock = LockForWriting(
        IncludeTrailingDelimiter(std::filesystem::absolute(args[1]).lexically_normal().string()));
    TProject project;
    if (!LoadProject(args[1], mapId, project))
        return 1;
    const std::string mapFile = project.Folder + MapFileName(*mapId);
    TKelEventItem* event = project.Map->Events.FindByID(*eventId);
    if (event == nullptr)
        return Fail(mapFile, "event " + args[3] + " does not exist");
    TKelEventPageItem* page = event->Pages.FindByID(*pageId);
    if (page == nullptr)
        return Fail(mapFile, "event " + args[3] + " has no page " + args[4]);
    if (page->ScriptDamaged())
        return Fail(mapFile, "the script buffer cannot be parsed");
    TKelEventScriptList& script = page->Script;
    const int first = *lineNumber;
    if (first < 0 || first >= script.Count())
        return Fail(mapFile, "page " + args[4] + " has no line " + args[5]);
    const TKelEventScriptLine& head = *script.Lines(first);
    if (head.Code == TCommandCode::End || head.Code == TCommandCode::Empty || IsCompanionCode(head.Code))
        return Fail(mapFile, "line " + args[5] + " is not a command");

    // The command with what belongs to it: deeper lines and companion lines at its depth.
    const std::int32_t base = head.Indent;
    int last = first;
    while (last + 1 < script.Count()) {
        const TKelEventScriptLine& next = *script.Lines(last + 1);
        if (next.Indent > base || (next.Indent == base && IsCompanionCode(next.Code)))
            ++last;
        else
            break;
    }
    TKelEventScriptList lines;
    for (int i = first; i <= last; ++i)
        lines.Add(std::make_unique<TKelEventScriptLine>(*script.Lines(i)));

    TEventCommandContext context;
    context.DataBase = project.DataBase.get();
    context.MapTree = project.MapTree.get();
    context.Map = project.Map.get();
    context.EventId = *eventId;
    context.EventItem = event;
    std::string error;
    if (!BuildCommandLines(head.Code, values, context, lines, error))
        return Fail(mapFile, error);

    for (int i = last; i >= first; --i)
        script.Delete(i);
    for (int i = 0; i < lines.Count(); ++i) {
        auto line = std::make_unique<TKelEventScriptLine>(*lines.Lines(i));
        line->Indent += base;
        script.Insert(first + i, std::move(line));
    }
    try {
        project.Map->SaveToProject(project.Folder, *mapId);
    } catch (const std::exception& e) {
        return Fail(mapFile, e.what());
    }
    TEventScriptConverter converter;
    converter.DataBase = context.DataBase;
    converter.MapTree = context.MapTree;
    converter.Map = context.Map;
    converter.EventId = *eventId;
    converter.EventItem = event;
    return WriteOut(LinesJson(lines, converter, base)) ? 0 : Fail("stdout", "cannot be written");
}

}  // namespace

int VerbCommand(const TArgs& args) {
    if (args.empty())
        return Usage();
    if (args[0] == "describe")
        return Describe(args);
    if (args[0] == "new")
        return New(args);
    if (args[0] == "edit")
        return Edit(args);
    return Usage();
}

}  // namespace quillon::cli
