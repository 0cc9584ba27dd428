// "Create New Project", "Open Project" and "Change Name" over their models.
#pragma once

#include "project/ProjNew.h"
#include "project/ProjOpen.h"
#include "project/ProjRename.h"

#include "controls/KelBase_qt.h"

#include <functional>
#include <memory>

namespace Ui {
class FormProjectNew;
class FormProjectOpen;
class FormProjectRename;
}

namespace quillon {

// Runs the base-path dialog on a path; true with the chosen one. The dialogs' default runs
// TFormProjectPath; tests put a stand-in here.
using TChooseBasePath = std::function<bool(std::string& path)>;

class TFormProjectNew : public TFormKelBase {
    Q_OBJECT
public:
    // Call the model's Show first.
    TFormProjectNew(TProjectNewModel& model, QWidget* parent = nullptr);
    ~TFormProjectNew() override;
    Ui::FormProjectNew& Form() { return *mUi; }
    TChooseBasePath ChooseBasePath;

protected:
    bool CanConfirm() override;

private slots:
    void ButtonPathClick();

private:
    TProjectNewModel& mModel;
    std::unique_ptr<Ui::FormProjectNew> mUi;
};

class TFormProjectRename : public TFormKelBase {
    Q_OBJECT
public:
    // Call the model's Show first.
    TFormProjectRename(TProjectRenameModel& model, QWidget* parent = nullptr);
    ~TFormProjectRename() override;
    Ui::FormProjectRename& Form() { return *mUi; }

protected:
    bool CanConfirm() override;

private:
    TProjectRenameModel& mModel;
    std::unique_ptr<Ui::FormProjectRename> mUi;
};

class TFormProjectOpen : public TFormKelBase {
    Q_OBJECT
public:
    TFormProjectOpen(TProjectOpenModel& model, QWidget* parent = nullptr);
    ~TFormProjectOpen() override;
    Ui::FormProjectOpen& Form() { return *mUi; }
    TChooseBasePath ChooseBasePath;
    // Runs the rename dialog (tests put a stand-in here); true on OK.
    std::function<bool(TProjectRenameModel& model)> RunRename;
    // The chosen project after OK.
    const std::string& FolderName() const { return mFolderName; }
    void FillList();

private slots:
    void ButtonPathClick();
    void ButtonOpenClick();
    void ButtonRenameClick();
    void ButtonDeleteClick();

private:
    void UpdateState();
    TProjectOpenModel& mModel;
    std::unique_ptr<Ui::FormProjectOpen> mUi;
    std::string mFolderName;
};

}  // namespace quillon
