// "Pack Project" over its model: the disk path box, the package option, Start; the packing's
// long steps under a progress window that can cancel them.
#pragma once

#include "project/ProjPack.h"

#include "controls/KelBase_qt.h"

#include <functional>
#include <memory>

class QProgressDialog;

namespace Ui {
class FormProjectPack;
}

namespace quillon {

class TFormProjectPack : public TFormKelBase, private IPackHost {
    Q_OBJECT
public:
    TFormProjectPack(TProjectPackModel& model, QWidget* parent = nullptr);
    ~TFormProjectPack() override;
    Ui::FormProjectPack& Form() { return *mUi; }
    // Runs the disk-path dialog on a path; true with the chosen one (tests put a stand-in here).
    std::function<bool(std::string& path)> ChooseDiskPath;

private slots:
    void ButtonPathClick();
    void ButtonStartClick();

private:
    void BeginWork() override;
    void EndWork() override;
    bool Progress(const std::string& step, std::uint64_t done, std::uint64_t total) override;
    void Delivered(const std::string&, std::uint64_t) override {}
    void UpdateView();

    TProjectPackModel& mModel;
    std::unique_ptr<Ui::FormProjectPack> mUi;
    std::unique_ptr<QProgressDialog> mProgress;
};

// The disk-path dialog ("Choose Disk Path") on a path; true with the chosen one on OK.
bool RunDiskPathDialog(std::string& path, QWidget* parent);
// "Make Game disk...": the packer on the open project with the system's drives.
void ShowPackDialog(QWidget* parent);

}  // namespace quillon
