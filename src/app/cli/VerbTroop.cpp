// The troop page without a window: In Row, Auto Name Group and Add on a troop, in the order
// given, with the troop's name and members printed afterwards.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "app/cli/PageVerb.h"
#include "database/ED_MonGroup.h"
#include "platform/TextCodec.h"
#include "project/ProjectManager.h"

#include <cstdio>

namespace quillon::cli {

namespace {

constexpr const char* kTroopUsage = "usage: quillon-cli troop FOLDER ID arrange | autoname | add MONSTER ... [--save]";

}  // namespace

int VerbTroop(const TArgs& args) {
    TPageVerb verb(args);
    const std::vector<std::string>& words = verb.Words;
    if (words.size() < 3)
        return Fail("troop", kTroopUsage);
    const auto id = ReadNumber32(words[1]);
    if (!id)
        return Fail("troop", kTroopUsage);

    verb.Open();
    const TKelDataBase* db = &verb.DataBase();
    // The members' images are looked up in the project (and the run-time package).
    SetProjectPath(verb.Folder);
    TMonGroupPageModel model(verb.Context(), nullptr);
    if (!model.SelectId(*id))
        return Fail("troop", "no troop " + std::to_string(*id));
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string& op = words[i];
        if (op == "arrange") {
            model.Arrange();
        } else if (op == "autoname") {
            model.AutoName();
        } else if (op == "add" && i + 1 < words.size()) {
            const auto monster = ReadNumber32(words[++i]);
            const TCatalogItem* item = monster ? db->Monster.FindByID(*monster) : nullptr;
            if (!item)
                return Fail("troop", "refused: no monster " + words[i]);
            int row = 0;
            while (db->Monster.Items(row) != item)
                ++row;
            if (!model.Add(row))
                return Fail("troop", "refused: a troop has at most ten members");
        } else {
            return Fail("troop", kTroopUsage);
        }
    }
    std::printf("name: %s\n", Cp932ToUtf8(model.Name()).c_str());
    for (int i = 0; i < model.MemberCount(); ++i) {
        const TKelMonGroupMonsterItem& m = model.Member(i);
        const TKelMonsterItem* monster = model.MemberMonster(i);
        std::printf("%d: %.4d:%s x %d y %d%s\n", i + 1, static_cast<int>(m.MonsterId),
                    monster ? Cp932ToUtf8(monster->Name).c_str() : "?", static_cast<int>(m.X), static_cast<int>(m.Y),
                    m.Hidden ? " invisible" : "");
    }
    verb.SaveIfAsked();
    return 0;
}

}  // namespace quillon::cli
