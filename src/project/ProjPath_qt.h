// "Default Project Path" and "Choose Disk Path": a folder tree (Qt's file-system model), the
// path edit and OK.
#pragma once

#include "project/ProjPath.h"

#include "controls/KelBase_qt.h"

#include <QPersistentModelIndex>

#include <memory>

class QFileSystemModel;

namespace Ui {
class FormProjectPath;
}

namespace quillon {

class TFormProjectPath : public TFormKelBase {
    Q_OBJECT
public:
    // The model's Path is shown and expanded to; on OK it holds the chosen folder.
    TFormProjectPath(TProjectPathModel& model, QWidget* parent = nullptr);
    ~TFormProjectPath() override;
    Ui::FormProjectPath& Form() { return *mUi; }
    void UpdateState();

protected:
    bool CanConfirm() override;
    void showEvent(QShowEvent* event) override;

private:
    // Keeps the chosen folder in sight while its parents are still being read.
    void ScrollToChosen();

    TProjectPathModel& mModel;
    std::unique_ptr<Ui::FormProjectPath> mUi;
    QFileSystemModel* mFolders;
    QPersistentModelIndex mChosen;  // the folder the dialog opened on, until the user moves
};

// Runs the base-path dialog on `path`; true with the chosen path on OK.
bool RunBasePathDialog(std::string& path, QWidget* parent);

}  // namespace quillon
