#include "project/TransparentPicker_qt.h"

#include "ui_TransparentPicker.h"

#include "controls/AutoScroll_qt.h"
#include "project/MaterialBase.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace quillon {

TPickerPaintBox::TPickerPaintBox(TTransparentPickerModel& model, QWidget* parent) : QWidget(parent), mModel(model) {
    setObjectName(QStringLiteral("PaintBox1"));
    setAccessibleName(tr("Picture"));
    setCursor(Qt::CrossCursor);
}

QSize TPickerPaintBox::sizeHint() const { return QSize(mModel.ViewWidth(), mModel.ViewHeight()); }

void TPickerPaintBox::paintEvent(QPaintEvent*) {
    const TBitmap& picture = mModel.Picture();
    if (picture.Empty() || picture.PixelFormat() != TPixelFormat::pf8bit)
        return;
    QImage image(picture.Width(), picture.Height(), QImage::Format_Indexed8);
    QList<QRgb> colors;
    colors.reserve(256);
    for (const TPaletteEntry& e : mModel.ColorTable())
        colors.push_back(qRgb(e.Red, e.Green, e.Blue));
    image.setColorTable(colors);
    for (int y = 0; y < picture.Height(); ++y)
        std::copy_n(picture.ScanLine(y), picture.Width(), image.scanLine(y));
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(0, 0, mModel.ViewWidth(), mModel.ViewHeight()), image);
}

void TPickerPaintBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        mModel.PickAt(at.x(), at.y());
    }
    QWidget::mousePressEvent(event);
}

TFormMaterialBase2::TFormMaterialBase2(TBitmap& picture, QWidget* parent)
    : TFormKelBase(parent), mModel(picture), mUi(std::make_unique<Ui::FormMaterialBase2>()) {
    mUi->setupUi(this);
    SetHelpContext(kMaterialHelpContext);
    mPaintBox = new TPickerPaintBox(mModel);
    mPaintBox->resize(mPaintBox->sizeHint());
    mUi->ScrollFrame1->setWidget(mPaintBox);
    auto* autoScroll = new TMiddleAutoScroll(mUi->ScrollFrame1);
    autoScroll->Watch(mPaintBox);
    connect(mUi->ButtonZoomIn, &QPushButton::clicked, this, &TFormMaterialBase2::ButtonZoomInClick);
    connect(mUi->ButtonZoomOut, &QPushButton::clicked, this, &TFormMaterialBase2::ButtonZoomOutClick);
    ConnectStandardButtons();
    mChanged = mModel.OnChanged.Connect([this] { ScrollFrame1Change(); });
    mTimer1.setInterval(kPickerBlinkMillis);
    connect(&mTimer1, &QTimer::timeout, this, &TFormMaterialBase2::Timer1Timer);
    mTimer1.start();
    ScrollFrame1Change();
}

TFormMaterialBase2::~TFormMaterialBase2() = default;

void TFormMaterialBase2::Timer1Timer() { mModel.Tick(); }

void TFormMaterialBase2::ButtonZoomInClick() { mModel.ZoomIn(); }

void TFormMaterialBase2::ButtonZoomOutClick() { mModel.ZoomOut(); }

void TFormMaterialBase2::ScrollFrame1Change() {
    mPaintBox->resize(mPaintBox->sizeHint());
    mPaintBox->update();
    mUi->ButtonZoomIn->setEnabled(mModel.CanZoomIn());
    mUi->ButtonZoomOut->setEnabled(mModel.CanZoomOut());
    const TPaletteEntry& e = mModel.Picture().Palette()[static_cast<std::size_t>(mModel.Selected())];
    mUi->LabelSelected->setText(tr("Colour %1 (%2, %3, %4)  x%5")
                                    .arg(mModel.Selected())
                                    .arg(e.Red)
                                    .arg(e.Green)
                                    .arg(e.Blue)
                                    .arg(mModel.Zoom()));
    // The name stays "Transparent colour"; a reader hears the colour itself as the description.
    mUi->LabelSelected->setAccessibleDescription(mUi->LabelSelected->text());
}

bool TFormMaterialBase2::CanConfirm() {
    mModel.Apply();
    return true;
}

std::optional<int> RunTransparentPicker(TBitmap& picture, QWidget* parent) {
    TFormMaterialBase2 form(picture, parent);
    if (!form.Run())
        return std::nullopt;
    return form.Model().Selected();
}

}  // namespace quillon
