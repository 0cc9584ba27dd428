// What the verbs over one page of a project's database share: the words apart from "--save",
// whole-number arguments, and the project's database opened as the page's context (the project
// locked for writing when it is to be saved).
#pragma once

#include "app/cli/CliVerbs.h"
#include "data/LD_DataBase.h"
#include "database/DataBasePage.h"
#include "project/ProjectLock.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

// A verb that writes the database replaces a damaged one only when given this option; the
// damaged file is then kept beside it as "GMK_RT.kdb.damaged".
inline constexpr const char* kReplaceDamagedOption = "--replace-damaged";
inline constexpr const char* kReplaceDamagedHelp =
    "A damaged database (what \"check\" reports as damaged) is not written: \"refused: ...\" and exit\n"
    "status 1. --replace-damaged writes it as it was read, keeping the damaged file beside it as\n"
    "GMK_RT.kdb.damaged.";

// Removes every occurrence of an option from args; true when there was one.
bool TakeOption(TArgs& args, const std::string& option);
// Set once by main for the verbs that write the database.
void AllowReplaceDamaged(bool allow);
bool ReplaceDamagedAllowed();
// Loads a database that the verb may write back: a damaged file loads as far as it is sound and
// its save is refused (EDamagedDataBase) unless --replace-damaged was given; other errors (no
// file, not a database at all) raise as they are.
void LoadDataBaseToWrite(TKelDataBase& database, const std::string& path);


class TPageVerb {
public:
    // Words[0] is the project folder (ending in '/' from here on).
    explicit TPageVerb(const TArgs& args);
    std::vector<std::string> Words;
    bool Save = false;
    std::string Folder;
    TKelDataBase& DataBase() { return *mDataBase; }
    const TDataBaseContext& Context() const { return mContext; }
    // Reads the folder's database (after locking the project when it is to be saved).
    void Open();
    // Writes the database back when "--save" was given.
    void SaveIfAsked();

private:
    std::optional<TProjectLock> mLock;
    std::unique_ptr<TKelDataBase> mDataBase;
    TDataBaseContext mContext;
};

}  // namespace quillon::cli
