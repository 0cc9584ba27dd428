#include "database/DataBaseForm.h"

#include "data/LD_DataBase.h"
#include "data/StreamUtils.h"
#include "platform/BusyCursor.h"
#include "platform/FileUtils.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <exception>
#include <memory>

namespace quillon {

bool ReloadDataBase(TKelDataBase& live, const std::string& path, std::string& error) {
    const TBusyCursorScope busy;
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
        auto scratch = std::make_unique<TKelDataBase>();
        TByteViewStream stream(bytes);
        try {
            scratch->LoadFromStream(stream);
        } catch (const EReadError&) {
            if (!scratch->LoadReport().Damaged || live.DamagedFile() != path)
                throw;
            // Damaged already when it was opened: read again as far as it is sound.
            live.Reset();
            try {
                live.LoadFromFile(path);
            } catch (const EReadError&) {
            }
            return true;
        }
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    // The bytes read whole: the live database takes them the same way.
    try {
        live.Reset();
        TByteViewStream stream(bytes);
        live.LoadFromStream(stream);
        live.FileWritten(path);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}

bool SaveDataBaseAsking(TKelDataBase& database, const std::string& projectPath) {
    const std::string path = projectPath + TKelDataBase::kFileName;
    if (database.DamagedFile() == path && !database.ReplaceDamaged) {
        const TFilledText question = ReplaceDamagedDataBaseQuestion(TKelDataBase::kFileName, database.LoadReport());
        if (AskYesNo(question.Text()) != mrYes)
            return false;
        database.ReplaceDamaged = true;
    }
    database.Save(projectPath);
    return true;
}

TDataBaseFormModel::TDataBaseFormModel(const TDataBaseContext& context) : mContext(context) {}

TDataBaseFormModel::~TDataBaseFormModel() {
    if (mTab >= 0)
        DataBaseMemory().LastTab = mTab;
}

std::string TDataBaseFormModel::FilePath() const { return mContext.ProjectPath + TKelDataBase::kFileName; }

int TDataBaseFormModel::Open() { return SelectTab(DataBaseMemory().LastTab); }

int TDataBaseFormModel::SelectTab(int tab) {
    tab = std::clamp(tab, 0, kDataBaseTabCount - 1);
    if (tab != mTab) {
        mTab = tab;
        DataBaseMemory().LastTab = mTab;
        Changed.Emit();
    }
    return mTab;
}

int TDataBaseFormModel::NextTab() { return SelectTab(mTab < 0 ? 0 : (mTab + 1) % kDataBaseTabCount); }

int TDataBaseFormModel::PreviousTab() {
    return SelectTab(mTab <= 0 ? kDataBaseTabCount - 1 : mTab - 1);
}

int TDataBaseFormModel::HelpContext() const { return mTab < 0 ? 0 : DataBaseTabInfo(mTab).HelpContext; }

void TDataBaseFormModel::PageModified() {
    if (mApplyEnabled)
        return;
    mApplyEnabled = true;
    Changed.Emit();
}

bool TDataBaseFormModel::Apply() {
    bool saved = false;
    try {
        saved = SaveDataBaseAsking(*mContext.DataBase, mContext.ProjectPath);
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
    if (!saved) {
        mApplyEnabled = true;
        Changed.Emit();
        return false;
    }
    mApplyEnabled = false;
    Changed.Emit();
    return true;
}

bool TDataBaseFormModel::Reload() {
    std::string error;
    if (ReloadDataBase(*mContext.DataBase, FilePath(), error))
        return true;
    ShowError(std::string(kDataBaseReloadFailure) + "\n" + error);
    return false;
}

}  // namespace quillon
