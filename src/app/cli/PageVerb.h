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

// The whole number a text holds, nothing for any other text.
std::optional<int> WholeNumber(const std::string& text);

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
