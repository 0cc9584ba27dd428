#include "project/SelBase_qt.h"

#include "graphics/OrlenSheet_qt.h"
#include "platform/Cp932Text_qt.h"
#include "ui_SelBase.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace quillon {

TSelPreview::TSelPreview(QWidget* parent) : QWidget(parent) {}

void TSelPreview::SetBoard(const TOrlenBoard* board) {
    mBoard = board;
    const QSize size = sizeHint();
    setFixedSize(size);
    update();
}

QSize TSelPreview::sizeHint() const {
    if (!mBoard || mBoard->Width() <= 0 || mBoard->Height() <= 0)
        return QSize(0, 0);
    return QSize(mBoard->Width(), mBoard->Height());
}

void TSelPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (mBoard && mBoard->Width() > 0 && mBoard->Height() > 0)
        painter.drawImage(0, 0, BoardImage(*mBoard));
}

void TSelPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        emit Clicked(p.x(), p.y());
    }
}

void TSelPreview::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
}

void TModifierButton::mouseReleaseEvent(QMouseEvent* event) {
    mModifiers = event->modifiers();
    QPushButton::mouseReleaseEvent(event);
}

void TModifierButton::keyPressEvent(QKeyEvent* event) {
    mModifiers = event->modifiers();
    QPushButton::keyPressEvent(event);
}

TFormSelBase::TFormSelBase(QWidget* owner, TSelKind kind, bool withPreview)
    : TFormKelBase(owner), mUi(std::make_unique<Ui::TFormSelBase>()) {
    mUi->setupUi(this);
    setObjectName(SelKindInfo(kind).ClassName);
    setWindowTitle(tr(SelKindInfo(kind).Caption));
    mDataList = mUi->DataList;
    mPreviewArea = mUi->PreviewArea;
    mExtras = mUi->ExtrasLayout;
    mButtons = mUi->ButtonLayout;
    mButtonOk = mUi->ButtonOk;
    mButtonCancel = mUi->ButtonCancel;
    // Enter belongs to the list (OK, or Play in the music selector), not to a default button.
    if (withPreview) {
        // Room for the whole preview where its size is fixed; pictures of any size scroll.
        const TSelKindInfo& info = SelKindInfo(kind);
        const int frame = 2 * mPreviewArea->frameWidth() + 2;
        mPreviewArea->setMinimumSize(info.PreviewWidth > 0 ? info.PreviewWidth + frame : 320,
                                     info.PreviewHeight > 0 ? info.PreviewHeight + frame : 240);
        mPreview = mUi->Preview;
        connect(mPreview, &TSelPreview::Clicked, this, &TFormSelBase::PreviewClick);
        connect(mPreview, &TSelPreview::DoubleClicked, this, &TFormSelBase::ButtonOkClick);
    } else {
        mPreviewArea->hide();
    }
    connect(mButtonOk, &QPushButton::clicked, this, &TFormSelBase::ButtonOkClick);
    connect(mButtonCancel, &QPushButton::clicked, this, &TFormSelBase::ButtonCancelClick);
    connect(mDataList, &QListWidget::currentRowChanged, this, &TFormSelBase::DataListClick);
    connect(mDataList, &QListWidget::activated, this, &TFormSelBase::DataListActivate);
}

TFormSelBase::~TFormSelBase() = default;

void TFormSelBase::FillList() {
    {
        const QSignalBlocker blocker(mDataList);
        mDataList->clear();
        for (const std::string& row : mModel->Rows())
            mDataList->addItem(Cp932ToQString(row));
        mDataList->setCurrentRow(mModel->ItemIndex());
    }
    if (mModel->TopRow() >= 0 && mModel->TopRow() < mDataList->count())
        mDataList->scrollToItem(mDataList->item(mModel->TopRow()), QAbstractItemView::PositionAtTop);
    UpdatePreview();
}

void TFormSelBase::DataListClick() {
    mModel->SelectRow(mDataList->currentRow());
    SelectionChanged();
    UpdatePreview();
}

void TFormSelBase::DataListActivate() { ButtonOkClick(); }

void TFormSelBase::PreviewClick(int, int) {}

void TFormSelBase::UpdatePreview() {}

void TFormSelBase::ButtonOkClick() {
    if (!mButtonOk->isHidden())
        Confirm();
}

TFormSelImage::TFormSelImage(QWidget* owner, TSelKind kind)
    : TFormSelImage(owner, std::make_unique<TSelImageModel>(kind)) {}

TFormSelImage::TFormSelImage(QWidget* owner, std::unique_ptr<TSelImageModel> model)
    : TFormSelBase(owner, model->Kind(), model->Kind() != TSelKind::Movie), mModel(std::move(model)) {
    AttachModel(*mModel);
    mModel->Fill();
}

void TFormSelImage::PreviewClick(int x, int y) {
    if (mModel->ClickAt(x, y))
        UpdatePreview();
}

void TFormSelImage::UpdatePreview() {
    if (Preview())
        Preview()->SetBoard(&mModel->Preview());
}

TFormSelSystem::TFormSelSystem(QWidget* owner) : TFormSelImage(owner, TSelKind::System) {
    const auto group = [this](const QString& title, const char* objectName, const QStringList& captions) {
        auto* box = new QGroupBox(title, this);
        box->setObjectName(QLatin1String(objectName));
        auto* layout = new QVBoxLayout(box);
        auto* buttons = new QButtonGroup(box);
        for (int i = 0; i < captions.size(); ++i) {
            auto* radio = new QRadioButton(captions[i], box);
            radio->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(objectName)).arg(i));
            buttons->addButton(radio, i);
            layout->addWidget(radio);
        }
        buttons->button(0)->setChecked(true);
        Extras()->addWidget(box);
        return buttons;
    };
    mWallpaper = group(tr("Wallpaper"), "GroupWallpaper", {tr("&Enlarge to Display"), tr("&Tile Display")});
    mFont = group(tr("Game Font"), "GroupFont", {tr("Font &1"), tr("Font &2")});
}

void TFormSelSystem::SetOptions(int wallpaper, int font) {
    mWallpaper->button(wallpaper == 1 ? 1 : 0)->setChecked(true);
    mFont->button(font == 1 ? 1 : 0)->setChecked(true);
}

int TFormSelSystem::Wallpaper() const { return mWallpaper->checkedId() == 1 ? 1 : 0; }
int TFormSelSystem::Font() const { return mFont->checkedId() == 1 ? 1 : 0; }

TFormSelMonster::TFormSelMonster(QWidget* owner)
    : TFormSelImage(owner, std::make_unique<TSelMonsterModel>()),
      mMonster(static_cast<TSelMonsterModel*>(mModel.get())) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("&Hue"), this);
    row->addWidget(label);
    mHueSlider = new QSlider(Qt::Horizontal, this);
    mHueSlider->setObjectName("HueSlider");
    label->setBuddy(mHueSlider);
    mHueSlider->setAccessibleName(tr("Hue"));
    mHueSlider->setRange(0, TSelMonsterModel::kSliderMax);
    mHueSlider->setTickPosition(QSlider::TicksBelow);
    mHueSlider->setTickInterval(6);
    mHueSlider->setValue(TSelMonsterModel::kSliderMiddle);
    row->addWidget(mHueSlider, 1);
    Extras()->addLayout(row);
    connect(mHueSlider, &QSlider::valueChanged, this, &TFormSelMonster::HueSliderChange);
}

void TFormSelMonster::Open(const std::string& name, int hue) {
    mMonster->Open(name, hue);
    const QSignalBlocker block(mHueSlider);
    mHueSlider->setValue(mMonster->SliderPosition());
    FillList();
}

void TFormSelMonster::SelectionChanged() {
    const QSignalBlocker block(mHueSlider);
    mHueSlider->setValue(mMonster->SliderPosition());
}

void TFormSelMonster::HueSliderChange(int position) {
    mMonster->SetSliderPosition(position);
    UpdatePreview();
}

bool SelectResource(QWidget* owner, TSelKind kind, std::string& name, int* index, const QString& caption,
                    std::optional<QPoint> offset) {
    switch (kind) {
    case TSelKind::EvChar:
    case TSelKind::Monster:
    case TSelKind::Music:
    case TSelKind::Sound:
    case TSelKind::ReplChip:
        return false;  // these have selectors of their own
    default:
        break;
    }
    TFormSelImage form(owner, kind);
    if (!caption.isEmpty())
        form.setWindowTitle(caption);
    if (offset)
        form.SetFixedOffset(*offset);
    form.Model().Open(name, index ? *index : 0);
    form.FillList();
    if (!form.Run())
        return false;
    name = form.Model().Name();
    if (index && form.Model().Grid())
        *index = form.Model().Index();
    return true;
}

bool SelectSystemGraphic(QWidget* owner, std::string& name, int& wallpaper, int& font, const QString& caption) {
    TFormSelSystem form(owner);
    if (!caption.isEmpty())
        form.setWindowTitle(caption);
    form.Model().Open(name, 0);
    form.SetOptions(wallpaper, font);
    form.FillList();
    if (!form.Run())
        return false;
    name = form.Model().Name();
    wallpaper = form.Wallpaper();
    font = form.Font();
    return true;
}

bool SelectMonsterGraphic(QWidget* owner, std::string& name, int& hue) {
    TFormSelMonster form(owner);
    form.Open(name, hue);
    if (!form.Run())
        return false;
    name = form.MonsterModel().Name();
    hue = form.MonsterModel().Hue();
    return true;
}

}  // namespace quillon
