#include "app/cli/PageVerb.h"

namespace quillon::cli {

std::optional<int> WholeNumber(const std::string& text) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size())
            return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
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
    mDataBase->LoadFromFile(Folder + TKelDataBase::kFileName);
    mContext.DataBase = mDataBase.get();
    mContext.ProjectPath = Folder;
}

void TPageVerb::SaveIfAsked() {
    if (Save)
        mDataBase->SaveToFile(Folder + TKelDataBase::kFileName);
}

}  // namespace quillon::cli
