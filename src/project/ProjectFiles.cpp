#include "project/ProjectFiles.h"

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "controls/DataMaxChange.h"
#include "platform/FileUtils.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <unordered_set>

namespace quillon {

namespace {

std::string Number(std::int32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "%.4d", id);
    return text;
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsMapUnitName(const std::string& name) {
    if (name.size() != 11)
        return false;
    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    std::string folded;
    for (const char c : name)
        folded += lower(c);
    return folded.compare(0, 3, "map") == 0 && folded.compare(7, 4, ".kmu") == 0 &&
           std::all_of(folded.begin() + 3, folded.begin() + 7, [](char c) { return c >= '0' && c <= '9'; });
}

void CheckScripts(const TKelEvent& events, std::vector<std::string>& problems) {
    for (int e = 0; e < events.Count(); ++e) {
        const TKelEventItem& event = *events.Items(e);
        for (int p = 0; p < event.Pages.Count(); ++p) {
            const TKelEventPageItem& page = *event.Pages.Items(p);
            const std::string where = "event " + Number(event.ID) + " page " + std::to_string(page.ID);
            if (page.ScriptDamaged())
                problems.push_back(where + ": event script cut short");
            if (page.MoveRoute.RouteDamaged())
                problems.push_back(where + ": move route cut short");
        }
    }
}

std::string Describe(const std::exception& error) { return error.what(); }

// A damage description without the file's name, as a problem of that file: "damaged: its
// events after the 12th could not be read".
std::string WithoutFileName(const std::string& name, const TFilledText& description) {
    std::string text = description.Text();
    const std::string lead = name + " is ";
    if (text.compare(0, lead.size(), lead) == 0)
        text.erase(0, lead.size());
    return text;
}

std::string DamageProblem(const std::string& name, const TMapLoadReport& report) {
    return WithoutFileName(name, DescribeMapDamage(name, report));
}

// What a database that loaded holds amiss: sections it lacks, IDs no list can hold.
void CheckDataBaseContent(TKelDataBase& db, std::vector<std::string>& problems) {
    const TDataBaseLoadReport& report = db.LoadReport();
    if (!report.Damaged) {
        std::vector<std::string> absent;
        for (int n = TKelDataBase::kFirstSection; n <= TKelDataBase::kLastSection; ++n)
            if (!report.Found[static_cast<std::size_t>(n - TKelDataBase::kFirstSection)])
                absent.push_back(DataBaseSectionWords(n));
        if (absent.size() == TDataBaseLoadReport::kSectionCount)
            problems.push_back("holds no sections, only its signature");
        else if (!absent.empty())
            problems.push_back("lacks its " + JoinWithAnd(absent) + " (they stand reset)");
    }
    constexpr std::size_t kShown = 5;
    for (int n = TKelDataBase::kFirstSection; n <= TKelDataBase::kLastSection; ++n) {
        const TCatalog* list = db.Section(n).List;
        if (list == nullptr)
            continue;
        std::vector<std::string> outside;
        int more = 0;
        for (int i = 0; i < list->Count(); ++i) {
            const std::int32_t id = list->Items(i)->ID;
            if (id >= kMinDataCount && id <= kMaxDataCount)
                continue;
            if (outside.size() < kShown)
                outside.push_back(std::to_string(id));
            else
                ++more;
        }
        if (outside.empty())
            continue;
        if (more > 0)
            outside.push_back(std::to_string(more) + " more");
        problems.push_back(std::string(DataBaseSectionWords(n)) + ": ID" + (outside.size() > 1 ? "s " : " ") +
                           JoinWithAnd(outside) + " outside 1.." + std::to_string(kMaxDataCount));
    }
}

}  // namespace

TDataFileKind DetectDataFileKind(const std::string& bytes) {
    TByteViewStream stream(bytes);
    try {
        const std::string signature = ReadString(stream);
        if (signature == TKelDataBase::kSignature)
            return TDataFileKind::DataBase;
        if (signature == TKelMapTree::kSignature)
            return TDataFileKind::MapTree;
        if (signature == TKelMap::kSignature)
            return TDataFileKind::MapUnit;
    } catch (const EReadError&) {
    }
    return TDataFileKind::Unknown;
}

std::vector<std::string> ListMapUnitFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && IsMapUnitName(name))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<TFileCheck> CheckProjectFolder(const std::string& folder) {
    std::vector<TFileCheck> report;

    TFileCheck database{TKelDataBase::kFileName, {}};
    try {
        auto db = std::make_unique<TKelDataBase>();
        try {
            db->LoadFromFile(folder + TKelDataBase::kFileName);
        } catch (const EReadError&) {
            if (!db->LoadReport().Damaged)
                throw;
            // Told as the damage it is; what was sound is checked below.
            database.Problems.push_back(WithoutFileName(
                TKelDataBase::kFileName, DescribeDataBaseDamage(TKelDataBase::kFileName, db->LoadReport())));
        }
        CheckDataBaseContent(*db, database.Problems);
        for (int i = 0; i < db->CommonEvent.Count(); ++i)
            if (db->CommonEvent.Items(i)->ScriptDamaged())
                database.Problems.push_back("common event " + Number(db->CommonEvent.Items(i)->ID) +
                                            ": event script cut short");
        for (int i = 0; i < db->MonGroup.Count(); ++i) {
            const TKelMonGroupItem& troop = *db->MonGroup.Items(i);
            for (int p = 0; p < troop.Pages.Count(); ++p)
                if (troop.Pages.Items(p)->ScriptDamaged())
                    database.Problems.push_back("troop " + Number(troop.ID) + " battle page " +
                                                std::to_string(troop.Pages.Items(p)->ID) + ": event script cut short");
        }
    } catch (const std::exception& error) {
        database.Problems.push_back(Describe(error));
    }
    report.push_back(std::move(database));

    const std::vector<std::string> units = ListMapUnitFiles(folder);
    TFileCheck tree{TKelMapTree::kFileName, {}};
    try {
        TKelMapTree mapTree;
        const std::string bytes = ReadWholeFile(folder + TKelMapTree::kFileName);
        TByteViewStream stream(bytes);
        mapTree.LoadTreeFromStream(stream);
        if (!mapTree.FindByID(0))
            tree.Problems.push_back("no root entry");
        std::unordered_set<std::string> present;
        for (const std::string& name : units)
            present.insert(LowerCase(name));
        const TMapTreeLoadReport& order = mapTree.LoadReport();
        if (order.ItemsNotInOrder > 0)
            tree.Problems.push_back("damaged: its display order lists " + std::to_string(mapTree.Order.size()) +
                                    " of " + std::to_string(mapTree.Count()) + " items");
        if (order.OrderDropped > 0)
            tree.Problems.push_back("damaged: its display order holds " + std::to_string(order.OrderDropped) +
                                    " entries that name no item or repeat one");
        for (int i = 0; i < mapTree.Count(); ++i) {
            const TKelMapTreeItem& item = *mapTree.Items(i);
            if (!item.IsMap())
                continue;
            if (item.ID < 1 || item.ID > kMaxMapId) {
                tree.Problems.push_back("map " + std::to_string(item.ID) +
                                        ": a map ID outside 1..9999 cannot name a map file (Map%.4d.kmu)");
                continue;
            }
            const std::string file = "Map" + Number(item.ID) + ".kmu";
            if (present.count(LowerCase(file)) == 0)
                tree.Problems.push_back("map " + Number(item.ID) + " has no file " + file);
        }
    } catch (const std::exception& error) {
        tree.Problems.push_back(Describe(error));
    }
    report.push_back(std::move(tree));

    for (const std::string& name : units) {
        TFileCheck unit{name, {}};
        try {
            auto map = std::make_unique<TKelMap>();
            try {
                map->LoadFromFile(folder + name);
            } catch (const EReadError&) {
                // Told below as the damage it is.
            }
            if (map->LoadReport().Damaged)
                unit.Problems.push_back(DamageProblem(name, map->LoadReport()));
            CheckScripts(map->Events, unit.Problems);
        } catch (const std::exception& error) {
            unit.Problems.push_back(Describe(error));
        }
        report.push_back(std::move(unit));
    }
    // Temporary files of saves that never finished (a kill, a crash).
    for (const std::string& name : ListSaveTempFiles(folder)) {
        std::string file;
        IsSaveTempName(name, &file);
        report.push_back({name, {"temporary file left by an interrupted save of " + file +
                                 "; the next save of " + file + " removes it"}});
    }
    return report;
}

std::vector<std::string> RemoveProjectTempFiles(const std::string& folder) {
    std::vector<std::string> removed = RemoveLeftTempFiles(folder);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_symlink(error) || !entry.is_directory(error))
            continue;
        const std::string sub = entry.path().filename().string();
        for (const std::string& name : RemoveLeftTempFiles(folder + sub + "/"))
            removed.push_back(sub + "/" + name);
    }
    return removed;
}

void ResaveProjectFolder(const std::string& folder, bool replaceDamaged) {
    auto fail = [&](const std::string& file, const std::exception& error) {
        throw std::runtime_error(folder + file + ": " + error.what());
    };
    auto db = std::make_unique<TKelDataBase>();
    try {
        db->LoadFromFile(folder + TKelDataBase::kFileName);
    } catch (const std::exception& error) {
        // A damaged database keeps what was sound; staging it below says whether it may go.
        if (!db->LoadReport().Damaged || db->LoadReport().Unreadable)
            fail(TKelDataBase::kFileName, error);
    }
    db->ReplaceDamaged = replaceDamaged;
    TKelMapTree tree;
    try {
        const std::string bytes = ReadWholeFile(folder + TKelMapTree::kFileName);
        TByteViewStream stream(bytes);
        tree.LoadTreeFromStream(stream);
    } catch (const std::exception& error) {
        fail(TKelMapTree::kFileName, error);
    }
    std::vector<std::unique_ptr<TKelMap>> maps;
    const std::vector<std::string> units = ListMapUnitFiles(folder);
    for (const std::string& name : units) {
        maps.push_back(std::make_unique<TKelMap>());
        try {
            maps.back()->LoadFromFile(folder + name);
            // Saving what was kept of a damaged map would replace what could not be read.
            if (maps.back()->LoadReport().Damaged)
                throw std::runtime_error(DamageProblem(name, maps.back()->LoadReport()));
        } catch (const std::exception& error) {
            fail(name, error);
        }
    }
    // Every file is written beside its target first; they replace the project's files only
    // when all were written.
    TFileTransaction transaction;
    db->StageDamagedCopy(folder + TKelDataBase::kFileName, transaction);
    transaction.Stage(folder + TKelDataBase::kFileName, db->FileImage());
    TMemoryStream image;
    tree.SaveTreeToStream(image);
    transaction.Stage(folder + TKelMapTree::kFileName, image.Bytes());
    for (std::size_t i = 0; i < units.size(); ++i)
        transaction.Stage(folder + units[i], maps[i]->FileImage());
    transaction.Commit();
}

void SaveProjectTogether(const std::string& projectPath, TKelDataBase* database, TKelMapTree* tree) {
    const std::int32_t saves = database ? database->System.SaveCount : 0;
    TFileTransaction transaction;
    try {
        if (database) {
            database->StageDamagedCopy(projectPath + TKelDataBase::kFileName, transaction);
            transaction.Stage(projectPath + TKelDataBase::kFileName, database->FileImage());
        }
        if (tree)
            tree->StageSave(projectPath, transaction);
        transaction.Commit();
    } catch (...) {
        if (database)
            database->System.SaveCount = saves;  // a save that did not happen is not counted
        throw;
    }
    if (database)
        database->FileWritten(projectPath + TKelDataBase::kFileName);
    if (tree)
        tree->FinishSave(projectPath);
}

}  // namespace quillon
