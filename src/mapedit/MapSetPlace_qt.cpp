#include "mapedit/MapSetPlace_qt.h"

#include "mapedit/MapTreeView_qt.h"
#include "platform/Cp932Text_qt.h"
#include "project/Resources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace quillon {

// --- the dialog ---

TFormMapSetPlace::TFormMapSetPlace(TMapSetPlaceModel& model, const TKelChipSet* chipSets, QWidget* parent)
    : TFormKelBase(parent), mModel(model) {
    setObjectName("FormMapSetPlace");
    setWindowTitle(tr("Set Place"));
    auto* layout = new QHBoxLayout(this);
    mTree = new TFormMapTree(model.Tree(), this);
    mTree->SetPickerMode(true);
    mTree->setMinimumWidth(180);
    layout->addWidget(mTree);

    auto* right = new QVBoxLayout;
    mView = new TMapPlaceView(chipSets, [](const std::string& kind, const std::string& name) {
        return FindResourceFile(name, kind, ImageExtensions);
    }, this);
    right->addWidget(mView, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(mView->ZoomBar());
    bottom->addStretch(1);
    mLabel = new QLabel(this);
    mLabel->setObjectName("Label");
    mLabel->setMinimumWidth(200);
    right->addWidget(mLabel);
    mOk = new QPushButton(tr("&Ok"), this);
    mOk->setObjectName("ButtonOk");
    mOk->setDefault(true);
    mCancel = new QPushButton(tr("Cancel"), this);
    mCancel->setObjectName("ButtonCancel");
    bottom->addWidget(mOk);
    bottom->addWidget(mCancel);
    right->addLayout(bottom);
    layout->addLayout(right, 1);
    resize(640, 420);

    ConnectStandardButtons();
    TMapPlacePicture* picture = mView->Picture();
    connect(picture, &TMapPlacePicture::Pressed, this, [this](Qt::MouseButton button, QPoint at) {
        if (button == Qt::LeftButton)
            ClickAt(at);
    });
    connect(picture, &TMapPlacePicture::DoubleClicked, this, [this](QPoint at) {
        const TMapPoint cell = CellAtPixel(at.x(), at.y(), mModel.CellSize());
        if (mModel.DoubleClickCell(cell.X, cell.Y))
            ButtonOkClick();
    });
    connect(picture, &TMapPlacePicture::CellKey, this, [this](int dx, int dy) {
        const TMapPoint from = mModel.HasPosition() ? TMapPoint{mModel.PositionX() + dx, mModel.PositionY() + dy}
                                                    : TMapPoint{0, 0};
        if (mModel.ClickCell(from.X, from.Y)) {
            ShowPosition();
            mView->CentreOnCell(from);
        }
    });
    connect(picture, &TMapPlacePicture::Activated, this, &TFormMapSetPlace::ButtonOkClick);
    connect(mView, &TMapPlaceView::ZoomChanged, this, &TFormMapSetPlace::SetZoom);
    mTree->OnMapSelected = [this] {
        mView->ShowMap(&mModel.ShownMap());
        ShowPosition();
    };
}

TFormMapSetPlace::~TFormMapSetPlace() {
    mModel.Hide();
}

void TFormMapSetPlace::showEvent(QShowEvent* event) {
    TFormKelBase::showEvent(event);
    if (event->spontaneous())
        return;
    mModel.Show();
    mTree->RefreshView();
    mTree->SetReadOnly(mModel.ReadOnly);
    mView->SetZoomIndex(mModel.ZoomIndex());
    mView->ShowMap(&mModel.ShownMap());
    // The chosen place in view.
    if (mModel.HasPosition())
        mView->CentreOnCell({mModel.PositionX(), mModel.PositionY()});
    ShowPosition();
}

void TFormMapSetPlace::ShowPosition() {
    mView->Picture()->SetCellFrame(mModel.HasPosition()
                                       ? std::optional<TMapPoint>(TMapPoint{mModel.PositionX(), mModel.PositionY()})
                                       : std::nullopt);
    UpdateState();
}

void TFormMapSetPlace::ClickAt(QPoint pixel) {
    const TMapPoint cell = CellAtPixel(pixel.x(), pixel.y(), mModel.CellSize());
    if (mModel.ClickCell(cell.X, cell.Y))
        ShowPosition();
}

void TFormMapSetPlace::done(int result) {
    mModel.Hide();
    TFormKelBase::done(result);
}

bool TFormMapSetPlace::CanConfirm() { return mModel.Ok(); }

void TFormMapSetPlace::SetZoom(int index) {
    mModel.SetZoom(index);
    if (mView->ZoomIndex() != mModel.ZoomIndex())
        mView->SetZoomIndex(mModel.ZoomIndex());
}

void TFormMapSetPlace::UpdateState() {
    mLabel->setText(Cp932ToQString(mModel.Label()));
    mOk->setEnabled(mModel.OkEnabled());
}

}  // namespace quillon
