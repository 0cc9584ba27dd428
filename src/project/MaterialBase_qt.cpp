#include "project/MaterialBase_qt.h"

#include "ui_MaterialBase.h"

#include "platform/Cp932Text_qt.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "project/ProjectManager.h"
#include "project/TransparentPicker_qt.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace quillon {

namespace {

QStringList QtFilters(const std::string& filter) {
    QStringList filters;
    for (const std::string& f : DialogFilters(filter))
        filters << QString::fromStdString(f);
    return filters;
}

QImage ToImage(const TBitmap& picture) {
    if (picture.PixelFormat() == TPixelFormat::pf24bit) {
        QImage image(picture.Width(), picture.Height(), QImage::Format_RGB888);
        for (int y = 0; y < picture.Height(); ++y) {
            const std::uint8_t* row = picture.ScanLine(y);
            std::uint8_t* out = image.scanLine(y);
            for (int x = 0; x < picture.Width(); ++x) {  // stored blue, green, red
                out[3 * x] = row[3 * x + 2];
                out[3 * x + 1] = row[3 * x + 1];
                out[3 * x + 2] = row[3 * x];
            }
        }
        return image;
    }
    QImage image(picture.Width(), picture.Height(), QImage::Format_RGB32);
    for (int y = 0; y < picture.Height(); ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.Width(); ++x) {
            const TPaletteEntry& e = picture.Palette()[static_cast<std::size_t>(picture.PixelIndex(x, y))];
            out[x] = qRgb(e.Red, e.Green, e.Blue);
        }
    }
    return image;
}

void ShowFailure(const std::exception& e) { ShowError(Utf8ToCp932(e.what())); }

}  // namespace

QPixmap MaterialKindPicture(int kind, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    const QColor ink(40, 52, 80);
    p.setPen(QPen(ink, 2));
    if (kind == mkMovie) {  // a strip of film
        p.setBrush(QColor(70, 70, 78));
        p.drawRect(QRectF(6, 8, 36, 32));
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 5; ++i) {
            p.drawRect(QRectF(9 + 7 * i, 10, 4, 4));
            p.drawRect(QRectF(9 + 7 * i, 34, 4, 4));
        }
        p.setBrush(QColor(120, 170, 230));
        p.drawRect(QRectF(10, 17, 12, 14));
        p.drawRect(QRectF(26, 17, 12, 14));
    } else if (kind == mkMusic) {  // two notes on a beam
        p.setBrush(ink);
        p.drawEllipse(QRectF(8, 30, 11, 8));
        p.drawEllipse(QRectF(28, 26, 11, 8));
        p.setPen(QPen(ink, 3));
        p.drawLine(QPointF(18, 34), QPointF(18, 10));
        p.drawLine(QPointF(38, 30), QPointF(38, 6));
        p.setPen(QPen(ink, 5));
        p.drawLine(QPointF(18, 11), QPointF(38, 7));
    } else if (kind == mkSound) {  // a speaker with waves
        p.setBrush(QColor(200, 140, 60));
        QPainterPath speaker;
        speaker.moveTo(6, 18);
        speaker.lineTo(14, 18);
        speaker.lineTo(24, 9);
        speaker.lineTo(24, 39);
        speaker.lineTo(14, 30);
        speaker.lineTo(6, 30);
        speaker.closeSubpath();
        p.drawPath(speaker);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(22, 16, 12, 16), -60 * 16, 120 * 16);
        p.drawArc(QRectF(22, 10, 20, 28), -60 * 16, 120 * 16);
    } else {  // a framed landscape
        p.setBrush(QColor(150, 200, 245));
        p.drawRect(QRectF(5, 8, 38, 32));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 210, 60));
        p.drawEllipse(QRectF(30, 12, 8, 8));
        p.setBrush(QColor(70, 150, 70));
        QPainterPath hills;
        hills.moveTo(6, 39);
        hills.lineTo(18, 22);
        hills.lineTo(26, 31);
        hills.lineTo(32, 25);
        hills.lineTo(42, 39);
        hills.closeSubpath();
        p.drawPath(hills);
    }
    return pixmap;
}

// --- preview ---------------------------------------------------------------------------------

TPicturePaintBox::TPicturePaintBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox"));
    setAccessibleName(tr("Preview"));
}

void TPicturePaintBox::SetPicture(std::optional<TBitmap> picture) {
    mPicture = std::move(picture);
    mImage = mPicture ? ToImage(*mPicture) : QImage();
    update();
}

void TPicturePaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (mImage.isNull()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("(None)"));
        return;
    }
    const TRect r = PreviewPlacement(width(), height(), mImage.width(), mImage.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), mImage);
}

TOpenPictureDialogEx::TOpenPictureDialogEx(QWidget* parent) : QFileDialog(parent) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PicturePanel"));
    panel->setFixedSize(200, 169);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    mPictureLabel = new QLabel(tr("Picture:"), panel);
    mPictureLabel->setObjectName(QStringLiteral("PictureLabel"));
    layout->addWidget(mPictureLabel);
    auto* paintPanel = new QFrame(panel);
    paintPanel->setObjectName(QStringLiteral("PaintPanel"));
    paintPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* paintLayout = new QVBoxLayout(paintPanel);
    paintLayout->setContentsMargins(2, 2, 2, 2);
    mPaintBox = new TPicturePaintBox(paintPanel);
    mPaintBox->setMinimumSize(0, 0);
    paintLayout->addWidget(mPaintBox);
    layout->addWidget(paintPanel, 1);
    mPictureLabel->setBuddy(mPaintBox);
    if (auto* grid = qobject_cast<QGridLayout*>(this->layout()))
        grid->addWidget(panel, 0, grid->columnCount(), grid->rowCount(), 1, Qt::AlignTop);
    connect(this, &QFileDialog::currentChanged, this, &TOpenPictureDialogEx::ShowPreview);
    // A path typed into the name box is previewed as soon as it names a file.
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        connect(name, &QLineEdit::textChanged, this, [this](const QString& text) {
            const QFileInfo typed(QDir(directory()).absoluteFilePath(text));
            if (!text.isEmpty() && typed.isFile())
                ShowPreview(typed.absoluteFilePath());
        });
}

void TOpenPictureDialogEx::ShowPreview(const QString& path) {
    std::optional<TBitmap> picture = LoadPreviewPicture(path.toStdString());
    mPictureLabel->setText(tr("Picture:") + (picture ? QString::fromStdString(PreviewCaption(&*picture).substr(8))
                                                     : QString()));
    mPaintBox->SetPicture(std::move(picture));
}

// --- the window ------------------------------------------------------------------------------

TFormMaterialBase::TFormMaterialBase(TMaterialBaseModel& model, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormMaterialBase>()) {
    mUi->setupUi(this);
    SetHelpContext(kMaterialHelpContext);
    for (int kind = 0; kind < kMaterialKindCount; ++kind)
        mUi->IconListBox1->addItem(new QListWidgetItem(QIcon(MaterialKindPicture(kind, 16)),
                                                       QString::fromLatin1(MaterialKindName(kind))));
    ChooseImportFile = [](TFormMaterialBase& form) { return form.RunImportDialog(); };
    ChooseExportFile = [](TFormMaterialBase& form) { return form.RunExportDialog(); };
    PickTransparent = [this](TBitmap& picture) { return RunTransparentPicker(picture, this); };

    connect(mUi->IconListBox1, &QListWidget::currentRowChanged, this, &TFormMaterialBase::IconListBox1Click);
    connect(mUi->IconListBox2, &QListWidget::currentRowChanged, this, &TFormMaterialBase::IconListBox2Click);
    connect(mUi->ButtonImport, &QPushButton::clicked, this, &TFormMaterialBase::ButtonImportClick);
    connect(mUi->ButtonExport, &QPushButton::clicked, this, &TFormMaterialBase::ButtonExportClick);
    connect(mUi->ButtonDelete, &QPushButton::clicked, this, &TFormMaterialBase::ButtonDeleteClick);
    connect(mUi->RadioButtonPng, &QRadioButton::clicked, this, &TFormMaterialBase::RadioButtonClick);
    connect(mUi->RadioButtonZgf, &QRadioButton::clicked, this, &TFormMaterialBase::RadioButtonClick);
    connect(mUi->ButtonClose, &QPushButton::clicked, this, &TFormKelBase::Cancel);
    ConnectStandardButtons();
    mChanged = mModel.OnChanged.Connect([this] { UpdateView(); });

    mModel.Open();
    (mModel.ImportFormat() == 1 ? mUi->RadioButtonZgf : mUi->RadioButtonPng)->setChecked(true);
    UpdateView();
}

TFormMaterialBase::~TFormMaterialBase() = default;

void TFormMaterialBase::UpdateView() {
    if (mUpdating)
        return;
    mUpdating = true;
    mUi->IconListBox1->setCurrentRow(mModel.Kind());
    mUi->KindPicture->setPixmap(MaterialKindPicture(mModel.Kind(), 48));
    QStringList rows;
    for (const std::string& entry : mModel.Entries())
        rows << Cp932ToQString(entry);
    QStringList shown;
    for (int i = 0; i < mUi->IconListBox2->count(); ++i)
        shown << mUi->IconListBox2->item(i)->text();
    if (shown != rows) {
        mUi->IconListBox2->clear();
        mUi->IconListBox2->addItems(rows);
    }
    mUi->IconListBox2->setCurrentRow(mModel.Selected());
    mUpdating = false;
    UpdateButtons();
}

void TFormMaterialBase::UpdateButtons() {
    mUi->ButtonExport->setEnabled(mModel.ExportEnabled());
    mUi->ButtonDelete->setEnabled(mModel.DeleteEnabled());
    const bool images = mModel.ImportFormatEnabled();
    mUi->GroupImportFrom->setEnabled(images);
    mUi->RadioButtonPng->setEnabled(images);
    mUi->RadioButtonZgf->setEnabled(images);
}

void TFormMaterialBase::IconListBox1Click() {
    if (!mUpdating)
        mModel.SelectKind(mUi->IconListBox1->currentRow());
}

void TFormMaterialBase::IconListBox2Click() {
    if (!mUpdating)
        mModel.SelectEntry(mUi->IconListBox2->currentRow());
}

void TFormMaterialBase::RadioButtonClick() { mModel.SetImportFormat(mUi->RadioButtonZgf->isChecked() ? 1 : 0); }

QString TFormMaterialBase::RunImportDialog() {
    const int kind = mModel.Kind();
    std::unique_ptr<QFileDialog> dialog;
    if (IsMediaKind(kind)) {
        dialog = std::make_unique<QFileDialog>(this);
        dialog->setOption(QFileDialog::DontUseNativeDialog, true);
        dialog->setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog = std::make_unique<TOpenPictureDialogEx>(this);
    }
    dialog->setWindowTitle(tr("Import"));
    dialog->setObjectName(QStringLiteral("ImportDialog"));
    dialog->setNameFilters(QtFilters(ImportFilter(kind)));
    dialog->setDefaultSuffix(QString::fromStdString(ImportDefaultExtension(kind).substr(1)));
    dialog->setDirectory(QString::fromStdString(mModel.DialogFolder));
    const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
    const QString file = chosen ? dialog->selectedFiles().front() : QString();
    mModel.FileDialogClosed(dialog->directory().absolutePath().toStdString(), file.toStdString());
    return file;
}

QString TFormMaterialBase::RunExportDialog() {
    QFileDialog dialog(this, tr("Export"));
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const std::string extension = mModel.ExportExtension();
    const QStringList filters = QtFilters(ExportFilter(mModel.Kind(), extension));
    dialog.setNameFilters(filters);
    for (const QString& filter : filters)
        if (filter.contains(QString::fromStdString("*" + extension + ")")) ||
            filter.contains(QString::fromStdString("*" + extension + " ")))
            dialog.selectNameFilter(filter);
    if (extension.size() > 1)
        dialog.setDefaultSuffix(QString::fromStdString(extension.substr(1)));
    dialog.setDirectory(QString::fromStdString(mModel.DialogFolder));
    dialog.selectFile(QString::fromStdString(mModel.ExportName()));
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    const QString file = chosen ? dialog.selectedFiles().front() : QString();
    mModel.FileDialogClosed(dialog.directory().absolutePath().toStdString(), file.toStdString());
    return file;
}

void TFormMaterialBase::ButtonImportClick() {
    const QString file = ChooseImportFile ? ChooseImportFile(*this) : QString();
    if (file.isEmpty())
        return;
    try {
        if (mModel.Import(file.toStdString(), PickTransparent))
            mUi->IconListBox2->scrollToItem(mUi->IconListBox2->item(mModel.TopIndex()), QAbstractItemView::PositionAtTop);
    } catch (const std::exception& e) {
        ShowFailure(e);
    }
}

void TFormMaterialBase::ButtonExportClick() {
    if (!mModel.ExportEnabled())
        return;
    const QString file = ChooseExportFile ? ChooseExportFile(*this) : QString();
    if (file.isEmpty())
        return;
    try {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        mModel.Export(file.toStdString());
        QGuiApplication::restoreOverrideCursor();
    } catch (const std::exception& e) {
        QGuiApplication::restoreOverrideCursor();
        ShowFailure(e);
    }
}

void TFormMaterialBase::ButtonDeleteClick() {
    mModel.Delete([this](const std::string& text) { return ShowMessageBox(text, mbYesNo | mbIconWarning, this); });
    UpdateButtons();
}

void TFormMaterialBase::done(int result) {
    if (!mClosed) {
        mClosed = true;
        mModel.Close();
    }
    TFormKelBase::done(result);
}

void RunMaterialManager(QWidget* parent) {
    TMaterialBaseModel model(ProjectPath());
    TFormMaterialBase form(model, parent);
    form.RunModal();
}

}  // namespace quillon
