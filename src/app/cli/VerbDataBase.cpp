// quillon-cli db: the database editor's list operations on one section of a database file,
// through the same page model as the editor's pages. The operations share one clipboard for the
// run; the file is saved once at the end when any of them changed it.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"
#include "app/cli/PageVerb.h"

#include "controls/DataMaxChange.h"
#include "data/Catalog.h"
#include "data/LD_DataBase.h"
#include "database/DataBasePage.h"
#include "platform/Clipboard.h"
#include "platform/TextCodec.h"
#include "project/ProjectLock.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kDbUsage =
    "usage: quillon-cli db FILE SECTION OP... with OP: list | resize N | copy ID [N] | paste ID | clear ID | "
    "name ID TEXT";

// An entry's ID as rows show it, without the name.
std::string IdText(std::int32_t id) {
    const std::string row = DataBaseRowText(id, "");
    return row.substr(0, row.size() - 1);
}

void PrintRow(const TDataBasePage& page, int row) {
    std::printf("%s\n", Cp932ToUtf8(page.RowText(row)).c_str());
}

// Runs the operations from args[2] on; answers the exit status. `changed` tells whether the
// database changed.
int RunOperations(const TArgs& args, TDataBasePage& page, const std::string& section, bool& changed) {
    const std::string& file = args[0];
    const auto refuse = [&](const std::string& why) {
        std::printf("refused: %s\n", why.c_str());
        return 1;
    };
    const auto entry = [&](const std::string& text, std::int32_t& id) {
        const std::optional<std::int32_t> parsed = ReadNumber32(text, 1, kMaxDataCount);
        if (!parsed)
            return false;
        id = *parsed;
        return true;
    };
    std::size_t at = 2;
    const auto next = [&]() -> std::optional<std::string> {
        if (at >= args.size())
            return std::nullopt;
        return args[at++];
    };
    while (at < args.size()) {
        const std::string op = args[at++];
        if (op == "list") {
            for (int row = 0; row < page.RowCount(); ++row)
                PrintRow(page, row);
            continue;
        }
        if (op == "resize") {
            const std::optional<std::string> text = next();
            const std::optional<std::int32_t> count =
                text ? ReadNumber32(*text, kMinDataCount, kMaxDataCount) : std::nullopt;
            if (!count)
                return Fail(file, std::string("resize takes a count from 1 to 30000; ") + kDbUsage);
            if (page.ChangeCount(*count))
                changed = true;
            std::printf("%s: %d entries\n", section.c_str(), page.RowCount());
            continue;
        }
        if (op != "copy" && op != "paste" && op != "clear" && op != "name")
            return Fail(file, "unknown operation '" + op + "'; " + kDbUsage);
        const std::optional<std::string> idText = next();
        std::int32_t id = 0;
        if (!idText || !entry(*idText, id))
            return Fail(file, op + " takes an entry ID; " + kDbUsage);
        if (!page.SelectId(id))
            return refuse(section + " has no entry " + *idText);
        if (op == "copy") {
            std::int32_t count = 1;
            if (at < args.size()) {
                if (const std::optional<std::int32_t> n = ReadNumber32(args[at], 1, kMaxDataCount)) {
                    count = *n;
                    ++at;
                }
            }
            if (count > page.MultiCopyMax())
                return refuse("only " + std::to_string(page.MultiCopyMax()) + " entries from " +
                              IdText(id) + " to the end of the list");
            if (!(count == 1 ? page.Copy() : page.MultiCopy(count)))
                return refuse("nothing to copy");
            std::printf("copied %d from %s\n", count, IdText(id).c_str());
        } else if (op == "paste") {
            if (id > TCatalog::kMaxPasteId)
                return refuse("entries above 5000 take no paste");
            if (!page.CanPaste())
                return refuse("the clipboard holds no " + section);
            const int pasted = page.Paste();
            if (pasted > 0)
                changed = true;
            std::printf("pasted %d at %s\n", pasted, IdText(id).c_str());
        } else if (op == "clear") {
            if (page.Clear())
                changed = true;
            PrintRow(page, page.CurrentRow());
        } else {
            const std::optional<std::string> text = next();
            if (!text)
                return Fail(file, std::string("name takes an ID and a text; ") + kDbUsage);
            const std::string bytes = Utf8ToCp932(*text);
            if (Cp932ToUtf8(bytes) != *text)
                return refuse("'" + *text + "' holds characters the editor cannot store");
            if (static_cast<int>(bytes.size()) > page.NameMaxBytes())
                return refuse("the name is longer than " + std::to_string(page.NameMaxBytes()) + " bytes");
            if (page.SetCurrentName(bytes))
                changed = true;
            PrintRow(page, page.CurrentRow());
        }
    }
    return 0;
}

}  // namespace

int VerbDataBase(const TArgs& args) {
    if (args.size() < 3)
        return Fail("db", kDbUsage);
    const std::string& file = args[0];
    const std::string& section = args[1];
    const int tab = DataBaseTabByKey(section);
    if (tab < 0 || !DataBaseTabInfo(tab).ClipboardFormat)
        return Fail(file, "no list section '" + section +
                              "' (heroes skills items monsters troops attributes conditions animations "
                              "terrains chipsets commonevents); " + kDbUsage);
    // Only operations that may write take the writers' lock: a listing runs beside the editor.
    std::optional<TProjectLock> lock;
    for (std::size_t i = 2; i < args.size() && !lock; ++i)
        if (args[i] == "resize" || args[i] == "paste" || args[i] == "clear" || args[i] == "name")
            lock.emplace(LockForWriting(file));
    auto database = std::make_unique<TKelDataBase>();
    LoadDataBaseToWrite(*database, file);  // a damaged file is never written without leave

    TMemoryClipboard clipboard;
    IClipboard* previous = SetClipboard(&clipboard);
    int status = 0;
    bool changed = false;
    try {
        TDataBaseContext context;
        context.DataBase = database.get();
        TDataBaseListPage page(context, tab);
        page.Fill();
        status = RunOperations(args, page, section, changed);
    } catch (...) {
        SetClipboard(previous);
        throw;
    }
    SetClipboard(previous);
    if (changed && status == 0)
        database->SaveToFile(file);
    return status;
}

}  // namespace quillon::cli
