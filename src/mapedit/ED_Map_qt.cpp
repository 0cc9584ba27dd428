#include "mapedit/ED_Map_qt.h"

#include "data/Catalog.h"
#include "graphics/DrawUtils.h"
#include "graphics/OrlenSheet.h"
#include "graphics/OrlenSheet_qt.h"
#include "mapedit/EncounterList_qt.h"
#include "platform/Cp932Validator_qt.h"
#include "platform/TextCodec.h"
#include "project/Resources.h"
#include "ui_ED_Map.h"

#include <QButtonGroup>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace quillon {

namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(Cp932ToUtf8(bytes)); }

// A spin box showing its value, or nothing while disabled.
void ShowSpin(QSpinBox* spin, bool enabled, int value) {
    spin->setEnabled(enabled);
    spin->setValue(value);
    if (!enabled)
        spin->clear();
}

}  // namespace

TFormEDMap::TFormEDMap(TMapPropertiesModel& model, const TCatalog* chipSets, const TCatalog* troops, QWidget* parent)
    : QDialog(parent), mModel(model), mChipSets(chipSets), mUi(std::make_unique<Ui::FormEDMap>()) {
    mUi->setupUi(this);
    setWindowTitle(Text(model.Title()));

    mEncounters = new TEncounterListView(model.Encounters, troops, mUi->EncounterHolder);
    mEncounters->setAccessibleName(tr("Encounter"));
    setTabOrder(mUi->ComboScrollType, mEncounters);  // made after the form: it takes its place in the tab order
    auto* holder = new QVBoxLayout(mUi->EncounterHolder);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->addWidget(mEncounters);

    if (chipSets != nullptr)
        for (int i = 0; i < chipSets->Count(); ++i)
            mUi->ComboChipSet->addItem(Text(FormatIdName(chipSets->Items(i)->ID, chipSets->Items(i)->Name)),
                                       chipSets->Items(i)->ID);
    for (const char* type : {"None", "Vertical Loop", "Horizontal Loop", "Both Loop"})
        mUi->ComboScrollType->addItem(tr(type));

    QAbstractButton* const radios[5][3] = {
        {mUi->RadioMusicParent, mUi->RadioMusicNoChange, mUi->RadioMusicSetTo},
        {mUi->RadioBackdropParent, mUi->RadioBackdropTerrain, mUi->RadioBackdropSetTo},
        {mUi->RadioTeleportParent, mUi->RadioTeleportEnable, mUi->RadioTeleportDisable},
        {mUi->RadioEscapeParent, mUi->RadioEscapeEnable, mUi->RadioEscapeDisable},
        {mUi->RadioSaveParent, mUi->RadioSaveEnable, mUi->RadioSaveDisable},
    };
    for (int g = 0; g < 5; ++g) {
        mGroups[g] = new QButtonGroup(this);
        for (int i = 0; i < 3; ++i)
            mGroups[g]->addButton(radios[g][i], i);
        connect(mGroups[g], &QButtonGroup::idClicked, this, [this] { TakeControls(); });
    }

    const auto changed = [this] { TakeControls(); };
    connect(mUi->EditName, &QLineEdit::textEdited, this, changed);
    connect(mUi->ComboChipSet, &QComboBox::activated, this, changed);
    connect(mUi->ComboScrollType, &QComboBox::activated, this, changed);
    for (QSpinBox* spin : {mUi->SpinWidth, mUi->SpinHeight, mUi->SpinSteps, mUi->SpinHorizontalSpeed, mUi->SpinVerticalSpeed})
        connect(spin, &QSpinBox::valueChanged, this, changed);
    for (QCheckBox* check : {mUi->CheckPanorama, mUi->CheckHorizontalPan, mUi->CheckVerticalPan, mUi->CheckHorizontalAuto,
                             mUi->CheckVerticalAuto})
        connect(check, &QCheckBox::toggled, this, changed);
    connect(mUi->ButtonPanoramaSet, &QPushButton::clicked, this, &TFormEDMap::ButtonPanoramaSetClick);
    connect(mUi->ButtonMusic, &QPushButton::clicked, this, &TFormEDMap::ButtonMusicClick);
    connect(mUi->ButtonBackdrop, &QPushButton::clicked, this, &TFormEDMap::ButtonBackdropClick);
    connect(mUi->ButtonOk, &QPushButton::clicked, this, &TFormEDMap::ButtonOkClick);
    connect(mUi->ButtonCancel, &QPushButton::clicked, this, [this] { done(2); });
    connect(mUi->ButtonHelp, &QPushButton::clicked, this, [this] {
        if (ShowHelp)
            ShowHelp(kMapPropertiesHelpContext);
    });
    LimitCp932(mUi->EditName, static_cast<int>(kMapNameMaxBytes));
    mUi->PanoramaPreview->installEventFilter(this);
    UpdateView();
}

TFormEDMap::~TFormEDMap() = default;

void TFormEDMap::UpdateView() {
    mUpdating = true;
    const TMapPropertiesEnabling e = mModel.Enabling();
    if (mUi->EditName->text() != Text(mModel.Name))
        mUi->EditName->setText(Text(mModel.Name));
    const int chip = mUi->ComboChipSet->findData(mModel.ChipSetId);
    mUi->ComboChipSet->setCurrentIndex(chip);
    mUi->SpinWidth->setValue(mModel.Width);
    mUi->SpinHeight->setValue(mModel.Height);
    mUi->ComboScrollType->setCurrentIndex(mModel.ScrollType);
    mUi->SpinSteps->setValue(mModel.EncounterSteps);

    mUi->CheckPanorama->setChecked(mModel.PanoramaEnabled);
    for (QWidget* widget : {static_cast<QWidget*>(mUi->GroupGraphic), static_cast<QWidget*>(mUi->GroupOption),
                            static_cast<QWidget*>(mUi->CheckHorizontalPan), static_cast<QWidget*>(mUi->CheckVerticalPan)})
        widget->setEnabled(e.PanoramaGroup);
    mUi->CheckHorizontalPan->setChecked(mModel.HorizontalPan);
    mUi->CheckVerticalPan->setChecked(mModel.VerticalPan);
    mUi->CheckHorizontalAuto->setEnabled(e.HorizontalAuto);
    mUi->CheckHorizontalAuto->setChecked(mModel.HorizontalAuto);
    mUi->CheckVerticalAuto->setEnabled(e.VerticalAuto);
    mUi->CheckVerticalAuto->setChecked(mModel.VerticalAuto);
    mUi->LabelHorizontalSpeed->setEnabled(e.HorizontalSpeed);
    mUi->LabelVerticalSpeed->setEnabled(e.VerticalSpeed);
    ShowSpin(mUi->SpinHorizontalSpeed, e.HorizontalSpeed, mModel.HorizontalSpeed);
    ShowSpin(mUi->SpinVerticalSpeed, e.VerticalSpeed, mModel.VerticalSpeed);

    const std::uint8_t values[5] = {mModel.MusicType, mModel.BackdropType, mModel.TeleportPermission,
                                    mModel.EscapePermission, mModel.SavePermission};
    for (int g = 0; g < 5; ++g) {
        mGroups[g]->button(0)->setEnabled(e.ParentChoices);
        if (QAbstractButton* button = mGroups[g]->button(values[g]))
            button->setChecked(true);
    }
    mUi->ButtonMusic->setEnabled(e.MusicBox);
    mUi->ButtonMusic->setText(Text(mModel.MusicText()));
    mUi->ButtonBackdrop->setEnabled(e.BackdropBox);
    mUi->ButtonBackdrop->setText(Text(mModel.BackdropText()));
    UpdatePreview();
    mUpdating = false;
}

void TFormEDMap::TakeControls() {
    if (mUpdating)
        return;
    const std::string typed = mUi->EditName->text().toStdString();
    const std::string name = Utf8ToCp932(typed);
    // Characters the code page cannot hold are refused: the edit shows the stored name again.
    if (name != mModel.Name && Cp932ToUtf8(name) == typed)
        mModel.SetName(name);
    if (mUi->ComboChipSet->currentIndex() >= 0)
        mModel.ChipSetId = mUi->ComboChipSet->currentData().toInt();
    mModel.SetWidth(mUi->SpinWidth->value());
    mModel.SetHeight(mUi->SpinHeight->value());
    mModel.SetScrollType(static_cast<std::uint8_t>(std::max(mUi->ComboScrollType->currentIndex(), 0)));
    mModel.SetEncounterSteps(mUi->SpinSteps->value());
    mModel.PanoramaEnabled = mUi->CheckPanorama->isChecked();
    mModel.HorizontalPan = mUi->CheckHorizontalPan->isChecked();
    mModel.VerticalPan = mUi->CheckVerticalPan->isChecked();
    mModel.HorizontalAuto = mUi->CheckHorizontalAuto->isChecked();
    mModel.VerticalAuto = mUi->CheckVerticalAuto->isChecked();
    // A disabled speed shows nothing: its stored value stays.
    if (mUi->SpinHorizontalSpeed->isEnabled())
        mModel.SetHorizontalSpeed(mUi->SpinHorizontalSpeed->value());
    if (mUi->SpinVerticalSpeed->isEnabled())
        mModel.SetVerticalSpeed(mUi->SpinVerticalSpeed->value());
    const auto choice = [this](int g) { return static_cast<std::uint8_t>(std::max(mGroups[g]->checkedId(), 0)); };
    mModel.SetMusicType(choice(0));
    mModel.SetBackdropType(choice(1));
    mModel.SetTeleportPermission(choice(2));
    mModel.SetEscapePermission(choice(3));
    mModel.SetSavePermission(choice(4));
    UpdateView();
}

void TFormEDMap::UpdatePreview() {
    QLabel* box = mUi->PanoramaPreview;
    if (!mModel.PreviewShown()) {
        box->setPixmap(QPixmap());
        return;
    }
    TOrlenSheet sheet;
    sheet.AutoSize = true;
    const std::string file = FindResourceFile(mModel.PanoramaName, "Panorama", ImageExtensions);
    if (!file.empty())
        sheet.LoadFromFile(file, false);
    if (sheet.Width() <= 0 || sheet.Height() <= 0) {
        box->setPixmap(QPixmap());
        return;
    }
    const QRect area = box->contentsRect();
    TOrlenBoard board;
    board.SetSize(area.width(), area.height());
    const TRect fit = FitRect(MakeBounds(0, 0, area.width(), area.height()), sheet.Width(), sheet.Height());
    board.StretchDrawSheet(fit, sheet, MakeBounds(0, 0, sheet.Width(), sheet.Height()));
    box->setPixmap(QPixmap::fromImage(BoardImage(board).copy()));
}

bool TFormEDMap::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mUi->PanoramaPreview && event->type() == QEvent::MouseButtonDblClick) {
        ButtonPanoramaSetClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormEDMap::ButtonPanoramaSetClick() {
    if (mModel.ChoosePanorama())
        UpdateView();
}

void TFormEDMap::ButtonMusicClick() {
    if (mModel.ChooseMusic())
        UpdateView();
}

void TFormEDMap::ButtonBackdropClick() {
    if (mModel.ChooseBackdrop())
        UpdateView();
}

void TFormEDMap::ButtonOkClick() {
    TakeControls();
    done(1);
}

}  // namespace quillon
