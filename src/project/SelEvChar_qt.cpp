#include "project/SelEvChar_qt.h"

#include "ui_SelReplChip.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace quillon {

TFormSelEvChar::TFormSelEvChar(QWidget* owner, const std::string& chipSetName)
    : TFormSelBase(owner, TSelKind::EvChar, true), mModel(chipSetName) {
    AttachModel(mModel);
    mModel.Fill();
    auto* form = new QFormLayout;
    mDirection = new QComboBox(this);
    mDirection->setObjectName("DirectionBox");
    mDirection->addItems({tr("Up"), tr("Right"), tr("Down"), tr("Left")});
    mPattern = new QComboBox(this);
    mPattern->setObjectName("PatternBox");
    mPattern->addItems({tr("LEFT"), tr("MIDDLE"), tr("RIGHT")});
    form->addRow(tr("Face Direction"), mDirection);
    form->addRow(tr("Pattern"), mPattern);
    Extras()->addLayout(form);
    connect(mDirection, &QComboBox::currentIndexChanged, this, [this](int d) {
        mModel.SetDirection(d);
        UpdatePreview();
    });
    connect(mPattern, &QComboBox::currentIndexChanged, this, [this](int p) {
        mModel.SetPattern(p);
        UpdatePreview();
    });
}

void TFormSelEvChar::Open(const std::string& name, int index, int direction, int pattern) {
    mModel.Open(name, index, direction, pattern);
    {
        const QSignalBlocker a(mDirection), b(mPattern);
        mDirection->setCurrentIndex(mModel.Direction());
        mPattern->setCurrentIndex(mModel.Pattern());
    }
    FillList();
}

void TFormSelEvChar::PreviewClick(int x, int y) {
    if (mModel.ClickAt(x, y))
        UpdatePreview();
}

void TFormSelEvChar::UpdatePreview() {
    const bool characters = !mModel.IsChipSetRow();
    mDirection->setEnabled(characters);
    mPattern->setEnabled(characters);
    Preview()->SetBoard(&mModel.Preview());
}

TFormSelReplChip::TFormSelReplChip(QWidget* owner, const std::string& chipSetName, int layer)
    : TFormKelBase(owner), mUi(std::make_unique<Ui::TFormSelReplChip>()), mModel(chipSetName, layer) {
    mUi->setupUi(this);
    setWindowTitle(tr(SelKindInfo(TSelKind::ReplChip).Caption));
    mArea = mUi->PreviewArea;
    mPreview = mUi->Preview;
    mButtonOk = mUi->ButtonOk;
    mButtonCancel = mUi->ButtonCancel;
    mArea->setFixedWidth(mModel.Grid().Width() + mArea->verticalScrollBar()->sizeHint().width() + 2 * mArea->frameWidth());
    connect(mButtonOk, &QPushButton::clicked, this, &TFormSelReplChip::ButtonOkClick);
    connect(mButtonCancel, &QPushButton::clicked, this, &TFormSelReplChip::ButtonCancelClick);
    connect(mPreview, &TSelPreview::Clicked, this, &TFormSelReplChip::PreviewClick);
    connect(mPreview, &TSelPreview::DoubleClicked, this, &TFormSelReplChip::ButtonOkClick);
    mPreview->SetBoard(&mModel.Preview());
}

TFormSelReplChip::~TFormSelReplChip() = default;

void TFormSelReplChip::Open(int index) {
    mModel.Open(index);
    mPreview->SetBoard(&mModel.Preview());
    const TRect cell = mModel.Grid().CellRect(mModel.Index());
    mArea->ensureVisible(cell.Left + 16, cell.Top + 16, 16, 6 * 32);
}

void TFormSelReplChip::PreviewClick(int x, int y) {
    if (mModel.ClickAt(x, y))
        mPreview->SetBoard(&mModel.Preview());
}


bool SelectEventGraphic(QWidget* owner, const std::string& chipSetName, std::string& name, int& index,
                        int& direction, int& pattern) {
    TFormSelEvChar form(owner, chipSetName);
    form.Open(name, index, direction, pattern);
    if (!form.Run())
        return false;
    name = form.Model().GraphicName();
    index = form.Model().Index();
    direction = form.Model().Direction();
    pattern = form.Model().Pattern();
    return true;
}

bool SelectReplacementChip(QWidget* owner, const std::string& chipSetName, int layer, int& index) {
    TFormSelReplChip form(owner, chipSetName, layer);
    form.Open(index);
    if (!form.Run())
        return false;
    index = form.Model().Index();
    return true;
}

}  // namespace quillon
