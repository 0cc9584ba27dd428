// "RAW Materials Settings": the material manager window, and the open dialog with a picture
// preview beside its file list.
#pragma once

#include "project/MaterialBase.h"

#include "controls/KelBase_qt.h"

#include <QFileDialog>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;

namespace Ui {
class FormMaterialBase;
}

namespace quillon {

// The preview box: "(None)" without a picture; a picture that fits centred at its own size, a
// larger one scaled into the box from the top-left.
class TPicturePaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPicturePaintBox(QWidget* parent = nullptr);
    void SetPicture(std::optional<TBitmap> picture);
    const std::optional<TBitmap>& Picture() const { return mPicture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<TBitmap> mPicture;
    QImage mImage;
};

// The open dialog for pictures: the file list with the preview panel to its right.
class TOpenPictureDialogEx : public QFileDialog {
    Q_OBJECT
public:
    explicit TOpenPictureDialogEx(QWidget* parent = nullptr);
    QLabel* PictureLabel() const { return mPictureLabel; }
    TPicturePaintBox* PaintBox() const { return mPaintBox; }

public slots:
    // The selection moved to a file: load it for the preview (or clear the preview).
    void ShowPreview(const QString& path);

private:
    QLabel* mPictureLabel;
    TPicturePaintBox* mPaintBox;
};

class TFormMaterialBase : public TFormKelBase {
    Q_OBJECT
public:
    explicit TFormMaterialBase(TMaterialBaseModel& model, QWidget* parent = nullptr);
    ~TFormMaterialBase() override;
    Ui::FormMaterialBase& Form() { return *mUi; }
    TMaterialBaseModel& Model() { return mModel; }

    // The file to import and the file to export to (empty: cancelled); the transparent-colour
    // picker. They run the dialogs; tests put their own in place.
    std::function<QString(TFormMaterialBase& form)> ChooseImportFile;
    std::function<QString(TFormMaterialBase& form)> ChooseExportFile;
    TMaterialBaseModel::TPicker PickTransparent;

public slots:
    void IconListBox1Click();
    void IconListBox2Click();
    void ButtonImportClick();
    void ButtonExportClick();
    void ButtonDeleteClick();
    void RadioButtonClick();
    void done(int result) override;

private:
    void UpdateView();
    void UpdateButtons();
    QString RunImportDialog();
    QString RunExportDialog();

    TMaterialBaseModel& mModel;
    std::unique_ptr<Ui::FormMaterialBase> mUi;
    TConnection mChanged;
    bool mUpdating = false;
    bool mClosed = false;
};

// The four pictures of the kinds: movie, music, sound, and image for all others.
QPixmap MaterialKindPicture(int kind, int size);

// Runs the material manager on the open project (ProjectPath()).
void RunMaterialManager(QWidget* parent);

}  // namespace quillon
