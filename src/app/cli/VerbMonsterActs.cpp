// quillon-cli monster-acts: a monster's action patterns as the monster page lists them.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/LD_DataBase.h"
#include "database/ED_MonsterAct.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <memory>

namespace quillon::cli {

namespace {
constexpr const char* kUsage = "usage: quillon-cli monster-acts FILE ID";
}

int VerbMonsterActs(const TArgs& args) {
    if (args.size() != 2)
        return Fail("monster-acts", kUsage);
    const std::optional<std::int32_t> read = ReadNumber32(args[1]);
    if (!read)
        return Fail("monster-acts", "not an ID: " + args[1] + "\n" + kUsage);
    const std::int32_t id = *read;
    auto db = std::make_unique<TKelDataBase>();
    try {
        db->LoadFromFile(args[0]);
    } catch (const std::exception& e) {
        return Fail(args[0], e.what());
    }
    TKelMonsterItem* monster = db->Monster.FindByID(id);
    if (!monster)
        return Fail(args[0], "no monster " + std::to_string(id));
    // One line per pattern: subject, conditions and priority, TAB-separated, in UTF-8.
    const TMonsterActListModel list(monster->Actions, *db);
    for (int row = 0; row + 1 < list.RowCount(); ++row)
        std::printf("%s\t%s\t%s\n", Cp932ToUtf8(list.Cell(row, 0)).c_str(), Cp932ToUtf8(list.Cell(row, 1)).c_str(),
                    Cp932ToUtf8(list.Cell(row, 2)).c_str());
    return 0;
}

}  // namespace quillon::cli
