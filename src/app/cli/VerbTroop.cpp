// The troop page without a window: In Row, Auto Name Group and Add on a troop, in the order
// given, with the troop's name and members printed afterwards.
#include "app/cli/CliVerbs.h"

#include "data/LD_DataBase.h"
#include "database/ED_MonGroup.h"
#include "platform/TextCodec.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kTroopUsage = "usage: quillon-cli troop FOLDER ID arrange | autoname | add MONSTER ... [--save]";

std::optional<int> Number(const std::string& text) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size())
            return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

}  // namespace

int VerbTroop(const TArgs& args) {
    std::vector<std::string> words;
    bool save = false;
    for (const std::string& arg : args)
        if (arg == "--save")
            save = true;
        else
            words.push_back(arg);
    if (words.size() < 3)
        return Fail("troop", kTroopUsage);
    const std::string folder = words[0].empty() || words[0].back() == '/' ? words[0] : words[0] + "/";
    const auto id = Number(words[1]);
    if (!id)
        return Fail("troop", kTroopUsage);

    std::optional<TProjectLock> lock;
    if (save)
        lock.emplace(LockForWriting(folder));
    auto db = std::make_unique<TKelDataBase>();
    db->LoadFromFile(folder + TKelDataBase::kFileName);
    // The members' images are looked up in the project (and the run-time package).
    SetProjectPath(folder);
    TDataBaseContext context;
    context.DataBase = db.get();
    context.ProjectPath = folder;
    TMonGroupPageModel model(context, nullptr);
    if (!model.SelectId(*id))
        return Fail("troop", "no troop " + std::to_string(*id));
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string& op = words[i];
        if (op == "arrange") {
            model.Arrange();
        } else if (op == "autoname") {
            model.AutoName();
        } else if (op == "add" && i + 1 < words.size()) {
            const auto monster = Number(words[++i]);
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
    if (save)
        db->SaveToFile(folder + TKelDataBase::kFileName);
    return 0;
}

}  // namespace quillon::cli
