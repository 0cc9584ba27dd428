// "Material Base": the transparent-colour picker over a decoded 8-bit picture.
#pragma once

#include "project/TransparentPicker.h"

#include "controls/KelBase_qt.h"

#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class FormMaterialBase2;
}

namespace quillon {

class TMiddleAutoScroll;

// The picture at the model's zoom, drawn with the model's colour table; a left click picks.
class TPickerPaintBox : public QWidget {
    Q_OBJECT
public:
    TPickerPaintBox(TTransparentPickerModel& model, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TTransparentPickerModel& mModel;
};

class TFormMaterialBase2 : public TFormKelBase {
    Q_OBJECT
public:
    // The picture changes only on OK.
    explicit TFormMaterialBase2(TBitmap& picture, QWidget* parent = nullptr);
    ~TFormMaterialBase2() override;
    TTransparentPickerModel& Model() { return mModel; }
    Ui::FormMaterialBase2& Form() { return *mUi; }
    TPickerPaintBox* PaintBox1() const { return mPaintBox; }

public slots:
    void Timer1Timer();
    void ButtonZoomInClick();
    void ButtonZoomOutClick();
    void ScrollFrame1Change();

protected:
    bool CanConfirm() override;

private:
    TTransparentPickerModel mModel;
    std::unique_ptr<Ui::FormMaterialBase2> mUi;
    TPickerPaintBox* mPaintBox;
    QTimer mTimer1;
    TConnection mChanged;
};

// Runs the picker; the index picked (the picture changed in place) or nothing on Cancel.
std::optional<int> RunTransparentPicker(TBitmap& picture, QWidget* parent);

}  // namespace quillon
