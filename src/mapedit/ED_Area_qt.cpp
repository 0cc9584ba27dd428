#include "mapedit/ED_Area_qt.h"

#include "data/LD_ChipSet.h"
#include "data/LD_Map.h"
#include "mapedit/EncounterList_qt.h"
#include "platform/Cp932Text_qt.h"
#include "platform/Cp932Validator_qt.h"
#include "mapedit/MapProperties.h"
#include "project/Resources.h"
#include "ui_ED_Area.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quillon {


// --- "Set Area" ---

TFormMapSetArea::TFormMapSetArea(TMapSetAreaModel& model, const TKelChipSet* chipSets, QWidget* parent)
    : TFormKelBase(parent), mModel(model) {
    setObjectName("FormMapSetArea");
    setWindowTitle(tr("Set Area"));
    auto* layout = new QVBoxLayout(this);
    mView = new TMapPlaceView(chipSets, [](const std::string& kind, const std::string& name) {
        return FindResourceFile(name, kind, ImageExtensions);
    }, this);
    mView->setMinimumSize(480, 320);
    layout->addWidget(mView, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(mView->ZoomBar());
    mLabel = new QLabel(this);
    mLabel->setObjectName("LabelArea");
    bottom->addWidget(mLabel, 1);
    mOk = new QPushButton(tr("&Ok"), this);
    mOk->setObjectName("ButtonOk");
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName("ButtonCancel");
    bottom->addWidget(mOk);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    ConnectStandardButtons();

    // The picture's pixels as grid points for the area maker.
    TMapPlacePicture* picture = mView->Picture();
    const auto grid = [this](QPoint at) {
        return NearestGridPoint(at.x(), at.y(), mModel.CellSize(), mModel.Map().Width(), mModel.Map().Height());
    };
    connect(picture, &TMapPlacePicture::Pressed, this, [this, grid](Qt::MouseButton button, QPoint at) {
        const TMapPoint g = grid(at);
        mModel.Maker().Press(button == Qt::LeftButton     ? TAreaMakerModel::TButton::Left
                             : button == Qt::MiddleButton ? TAreaMakerModel::TButton::Middle
                                                          : TAreaMakerModel::TButton::Right,
                             g.X, g.Y);
    });
    connect(picture, &TMapPlacePicture::Moved, this, [this, grid](QPoint at, Qt::MouseButtons) {
        const TMapPoint g = grid(at);
        mModel.Maker().Move(g.X, g.Y);
        if (mModel.Maker().Dragging())
            mView->ensureVisible(at.x(), at.y(), 8, 8);
    });
    connect(picture, &TMapPlacePicture::Released, this, [this](Qt::MouseButton button, QPoint) {
        if (button == Qt::LeftButton)
            mModel.Maker().Release();
    });
    connect(mView, &TMapPlaceView::ZoomChanged, this, &TFormMapSetArea::SetZoom);
    mMakerChanged = mModel.Maker().OnChanged.Connect([this] { UpdateState(); });
    mView->ShowMap(&mModel.Map());
    SetZoom(mModel.ZoomIndex());
}

void TFormMapSetArea::SetZoom(int index) {
    mModel.SetZoom(index);
    if (mView->ZoomIndex() != mModel.ZoomIndex())
        mView->SetZoomIndex(mModel.ZoomIndex());
    UpdateState();
}

bool TFormMapSetArea::CanConfirm() { return mModel.OkEnabled(); }

void TFormMapSetArea::UpdateState() {
    mLabel->setText(QString::fromStdString(mModel.Label()));
    mOk->setEnabled(mModel.OkEnabled());
    const TKelAreaRect& r = mModel.Maker().Rect();
    mView->Picture()->SetAreaFrame(IsEmptyArea(r) ? TRect{0, 0, 0, 0} : TRect{r.Left, r.Top, r.Right, r.Bottom});
}

void TFormMapSetArea::done(int result) {
    mMakerChanged.Disconnect();
    mModel.Hide();
    TFormKelBase::done(result);
}

// --- the area dialog ---

TFormEDArea::TFormEDArea(TAreaPropertiesModel& model, TKelMapTree& tree, const TKelMap& map, const TKelChipSet* chipSets,
                         const TCatalog* troops, QWidget* parent)
    : TFormKelBase(parent), mModel(model), mUi(std::make_unique<Ui::FormEDArea>()) {
    mUi->setupUi(this);
    setWindowTitle(Cp932ToQString(model.Title()));
    SetHelpContext(kAreaPropertiesHelpContext);
    mEncounters = new TEncounterListView(model.Encounters, troops, mUi->EncounterHolder);
    auto* holder = new QVBoxLayout(mUi->EncounterHolder);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->addWidget(mEncounters);
    SetArea = [this, &tree, &map, chipSets](TKelAreaRect& rect) {
        TMapSetAreaModel setArea(tree, map, mModel.Rect);
        TFormMapSetArea dialog(setArea, chipSets, this);
        return dialog.Run() && setArea.Ok(rect);
    };
    connect(mUi->EditName, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto bytes = QStringToCp932(text))
            mModel.SetName(*bytes);
        UpdateView();
    });
    LimitCp932(mUi->EditName, static_cast<int>(kMapNameMaxBytes));
    connect(mUi->ButtonArea, &QPushButton::clicked, this, &TFormEDArea::ButtonAreaClick);
    ConnectStandardButtons();
    UpdateView();
}

TFormEDArea::~TFormEDArea() = default;

void TFormEDArea::UpdateView() {
    if (!ShowsCp932(mUi->EditName->text(), mModel.Name)) {
        const QSignalBlocker blocker(mUi->EditName);
        mUi->EditName->setText(Cp932ToQString(mModel.Name));
    }
    mUi->ButtonArea->setText(QString::fromStdString(mModel.AreaText()));
}

void TFormEDArea::ButtonAreaClick() {
    TKelAreaRect rect;
    if (SetArea && SetArea(rect)) {
        mModel.Rect = rect;
        UpdateView();
    }
}

}  // namespace quillon
