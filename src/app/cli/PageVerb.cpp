#include "app/cli/PageVerb.h"
#include "app/cli/CliArgs.h"

#include <algorithm>

namespace quillon::cli {

namespace {
bool gReplaceDamaged = false;
}  // namespace

bool TakeOption(TArgs& args, const std::string& option) {
    const auto kept = std::remove(args.begin(), args.end(), option);
    const bool found = kept != args.end();
    args.erase(kept, args.end());
    return found;
}

void AllowReplaceDamaged(bool allow) { gReplaceDamaged = allow; }
bool ReplaceDamagedAllowed() { return gReplaceDamaged; }

void LoadDataBaseToWrite(TKelDataBase& database, const std::string& path) {
    try {
        database.LoadFromFile(path);
    } catch (const EReadError&) {
        // Damaged: what was sound is kept, and the save says whether it may replace the file.
        if (!database.LoadReport().Damaged || database.LoadReport().Unreadable)
            throw;
    }
    database.ReplaceDamaged = gReplaceDamaged;
}

TPageVerb::TPageVerb(const TArgs& args) {
    for (const std::string& arg : args)
        if (arg == "--save")
            Save = true;
        else
            Words.push_back(arg);
    if (!Words.empty())
        Folder = Words[0].empty() || Words[0].back() == '/' ? Words[0] : Words[0] + "/";
}

void TPageVerb::Open() {
    if (Save)
        mLock.emplace(LockForWriting(Folder));
    mDataBase = std::make_unique<TKelDataBase>();
    LoadDataBaseToWrite(*mDataBase, Folder + TKelDataBase::kFileName);
    mContext.DataBase = mDataBase.get();
    mContext.ProjectPath = Folder;
}

void TPageVerb::SaveIfAsked() {
    if (Save)
        mDataBase->SaveToFile(Folder + TKelDataBase::kFileName);
}

}  // namespace quillon::cli
