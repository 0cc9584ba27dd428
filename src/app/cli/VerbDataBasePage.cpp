// The field pages of the database editor without a window: the fields of one entry of a page,
// changed by their keys as the page's controls change them, and the database saved back.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"
#include "app/cli/PageVerb.h"

#include "data/LD_DataBase.h"
#include "database/ED_Attrib.h"
#include "database/ED_CommonEvent.h"
#include "database/ED_Ground.h"
#include "database/ED_Item.h"
#include "database/ED_Monster.h"
#include "database/ED_Skill.h"
#include "database/ED_Status.h"
#include "database/ED_System.h"
#include "database/ED_Vocabulary.h"
#include "platform/TextCodec.h"
#include "project/ProjectLock.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kPageUsage =
    "usage: quillon-cli dbpage FILE attributes|conditions|terrains|vocabulary|system|commonevents|skills|items|monsters "
    "[--id ID] [KEY=VALUE...] [--save]";

// Sets the values given and prints every keyed field ("key: value", texts in UTF-8).
bool Run(TFieldBinding& binding, const std::vector<std::pair<std::string, std::string>>& values, bool print,
         std::string& error) {
    for (const auto& [key, value] : values) {
        bool known = false;
        for (std::size_t i = 0; i < binding.Count(); ++i)
            known = known || binding.Field(i).Key == key;
        if (!known)
            continue;  // another tab's key (vocabulary)
        if (!binding.SetByKey(key, Utf8ToCp932(value), error)) {
            error = key + ": " + error;
            return false;
        }
    }
    if (print)
        for (std::size_t i = 0; i < binding.Count(); ++i) {
            const TFieldSpec& field = binding.Field(i);
            if (field.Key.empty() || !field.HasValue())
                continue;
            const TFieldValue value = binding.Value(i);
            if (const auto* text = std::get_if<std::string>(&value))
                std::printf("%s: %s\n", field.Key.c_str(), Cp932ToUtf8(*text).c_str());
            else
                std::printf("%s: %d\n", field.Key.c_str(), static_cast<int>(std::get<std::int32_t>(value)));
        }
    return true;
}

}  // namespace

int VerbDataBasePage(const TArgs& args) {
    if (args.size() < 2)
        return Fail("dbpage", kPageUsage);
    const std::string& file = args[0];
    const std::string& page = args[1];
    std::optional<int> id;
    bool save = false;
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--save") {
            save = true;
        } else if (args[i] == "--id" && i + 1 < args.size()) {
            id = ReadNumber32(args[++i]);
            if (!id)
                return Fail("dbpage", "not an ID: " + args[i] + "\n" + kPageUsage);
        } else if (const auto setting = KeyValue(args[i])) {
            values.push_back(*setting);
        } else {
            return Fail("dbpage", kPageUsage);
        }
    }

    // Only a run that saves takes the writers' lock: a look runs beside the editor.
    std::optional<TProjectLock> lock;
    if (save)
        lock.emplace(LockForWriting(file));
    auto db = std::make_unique<TKelDataBase>();
    LoadDataBaseToWrite(*db, file);
    TDataBaseContext context;
    context.DataBase = db.get();
    std::string error;
    bool done = false;
    const auto entry = [&](auto& model, const TFieldForm& form) {
        if (id && !model.SelectId(*id)) {
            error = "no entry " + std::to_string(*id);
            return;
        }
        std::printf("entry: %s\n", Cp932ToUtf8(model.RowText(model.CurrentRow())).c_str());
        TFieldBinding binding(form, model);
        done = Run(binding, values, true, error);
    };
    // The page by the name the db verb gives its section too.
    switch (DataBaseTabByKey(page)) {
    case dtAttributes: {
        TAttribPageModel model(context);
        entry(model, AttribPageForm());
        break;
    }
    case dtConditions: {
        TStatusPageModel model(context);
        entry(model, StatusPageForm());
        break;
    }
    case dtTerrain: {
        TGroundPageModel model(context, nullptr);
        entry(model, GroundPageForm());
        break;
    }
    case dtSkills: {
        TSkillPageModel model(context, nullptr);
        entry(model, SkillPageForm());
        break;
    }
    case dtItems: {
        TItemPageModel model(context, nullptr);
        entry(model, ItemPageForm());
        break;
    }
    case dtMonsters: {
        TMonsterPageModel model(context, nullptr);
        entry(model, MonsterPageForm());
        break;
    }
    case dtCommonEvents: {
        TCommonEventPageModel model(context, nullptr);
        entry(model, CommonEventPageForm());
        break;
    }
    case dtSystem: {
        TSystemPageModel model(context, nullptr);
        TFieldBinding binding(SystemPageForm(), model);
        done = Run(binding, values, true, error);
        break;
    }
    case dtVocabulary: {
        TVocabularyPageModel model(context);
        done = true;
        for (const TVocabularyTab& tab : VocabularyTabs()) {
            TFieldBinding binding(tab.Form, model);
            if (!Run(binding, values, true, error)) {
                done = false;
                break;
            }
        }
        break;
    }
    default:
        return Fail("dbpage", kPageUsage);
    }
    if (!done)
        return Fail(file, error);
    if (save)
        db->SaveToFile(file);
    return 0;
}

}  // namespace quillon::cli
