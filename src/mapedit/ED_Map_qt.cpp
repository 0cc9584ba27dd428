#include "mapedit/ED_Map_qt.h"

#include "controls/FieldBinder_qt.h"
#include "graphics/DrawUtils.h"
#include "graphics/OrlenSheet.h"
#include "graphics/OrlenSheet_qt.h"
#include "mapedit/EncounterList_qt.h"
#include "platform/Cp932Text_qt.h"
#include "project/Resources.h"
#include "ui_ED_Map.h"

#include <QMouseEvent>
#include <QVBoxLayout>

namespace quillon {

TFormEDMap::TFormEDMap(TMapPropertiesModel& model, const TCatalog* chipSets, const TCatalog* troops, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormEDMap>()) {
    mUi->setupUi(this);
    setWindowTitle(Cp932ToQString(model.Title()));
    SetHelpContext(kMapPropertiesHelpContext);
    if (chipSets != nullptr)
        model.ChipSets = chipSets;

    mEncounters = new TEncounterListView(model.Encounters, troops, mUi->EncounterHolder);
    mEncounters->setAccessibleName(tr("Encounter"));
    setTabOrder(mUi->ComboScrollType, mEncounters);  // made after the form: it takes its place in the tab order
    auto* holder = new QVBoxLayout(mUi->EncounterHolder);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->addWidget(mEncounters);

    mBinding = std::make_unique<TFieldBinding>(MapPropertiesForm(), model);
    mBinder = new TFieldBinder(*mBinding, *this);
    connect(mBinder, &TFieldBinder::FieldChanged, this, [this] { UpdatePreview(); });
    ConnectStandardButtons();
    mUi->PanoramaPreview->installEventFilter(this);
    UpdatePreview();
}

TFormEDMap::~TFormEDMap() = default;

void TFormEDMap::UpdateView() {
    mBinder->Refresh();
    UpdatePreview();
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
    // A double click on the preview is "Set...".
    if (watched == mUi->PanoramaPreview && event->type() == QEvent::MouseButtonDblClick) {
        mUi->ButtonPanoramaSet->click();
        return true;
    }
    return TFormKelBase::eventFilter(watched, event);
}

bool RunMapProperties(TMapPropertiesModel& model, const TCatalog* troops, QWidget* parent) {
    TFormEDMap dialog(model, nullptr, troops, parent);
    return dialog.Run();
}

}  // namespace quillon
