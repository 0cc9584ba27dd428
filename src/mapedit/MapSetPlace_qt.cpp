#include "mapedit/MapSetPlace_qt.h"

#include "data/LD_ChipSet.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet_qt.h"
#include "mapedit/MapTreeView_qt.h"
#include "platform/Cp932Text_qt.h"
#include "project/Resources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

// --- position view ---

TFormMapPosSetter::TFormMapPosSetter(TMapSetPlaceModel& model, const TKelChipSet* chipSets, QWidget* parent)
    : QWidget(parent), mModel(model), mChipSets(chipSets),
      mChips(std::make_unique<TKelChipSetGraphic>([](const std::string& kind, const std::string& name) {
          return FindResourceFile(name, kind, ImageExtensions);
      })) {
    setObjectName("FormMapPosSetter");
}

TFormMapPosSetter::~TFormMapPosSetter() = default;

void TFormMapPosSetter::Reload() {
    const TKelMap& map = mModel.ShownMap();
    const int size = mModel.CellSize();
    if (map.Width() <= 0 || map.Height() <= 0) {
        mImage = QImage();
    } else {
        mChips->SetChipSet(mChipSets ? mChipSets->FindByID(map.ChipSetId) : nullptr);
        TOrlenBoard board;
        TMapRenderOptions options;
        options.CellSize = size;
        RenderMap(board, map, *mChips, options);
        mImage = BoardImage(board).copy();
    }
    const QSize wanted = mImage.isNull() ? QSize(0, 0) : mImage.size();
    setFixedSize(wanted);
    update();
}

QSize TFormMapPosSetter::sizeHint() const {
    return mImage.isNull() ? QSize(0, 0) : mImage.size();
}

void TFormMapPosSetter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!mImage.isNull())
        p.drawImage(0, 0, mImage);
    if (!mModel.HasPosition())
        return;
    // Four 1-pixel frames, outside in: dark, white, white, dark.
    const int size = mModel.CellSize();
    const QRect cell(mModel.PositionX() * size, mModel.PositionY() * size, size, size);
    const QColor colours[4] = {QColor(32, 32, 32), Qt::white, Qt::white, QColor(32, 32, 32)};
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        p.setPen(colours[i]);
        p.drawRect(cell.adjusted(i, i, -1 - i, -1 - i));
    }
}

void TFormMapPosSetter::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int size = mModel.CellSize();
    const QPoint at = event->position().toPoint();
    if (mModel.ClickCell(at.x() / size, at.y() / size)) {
        update();
        emit PositionChanged();
    }
}

void TFormMapPosSetter::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && mModel.HasPosition())
        emit OkPressed();
}

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
    mScroll = new QScrollArea(this);
    mPosition = new TFormMapPosSetter(model, chipSets, mScroll);
    mScroll->setWidget(mPosition);
    mScroll->setBackgroundRole(QPalette::Dark);
    right->addWidget(mScroll, 1);

    auto* bottom = new QHBoxLayout;
    static const char* const kZoomCaptions[3] = {"1/1", "1/2", "1/4"};
    for (int i = 0; i < 3; ++i) {
        mZooms[i] = new QToolButton(this);
        mZooms[i]->setText(tr(kZoomCaptions[i]));
        mZooms[i]->setCheckable(true);
        mZooms[i]->setAutoExclusive(true);
        connect(mZooms[i], &QToolButton::clicked, this, [this, i] { SetZoom(i); });
        bottom->addWidget(mZooms[i]);
    }
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
    connect(mPosition, &TFormMapPosSetter::PositionChanged, this, &TFormMapSetPlace::UpdateState);
    connect(mPosition, &TFormMapPosSetter::OkPressed, this, &TFormMapSetPlace::ButtonOkClick);
    mTree->OnMapSelected = [this] {
        mPosition->Reload();
        UpdateState();
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
    mZooms[mModel.ZoomIndex()]->setChecked(true);
    mPosition->Reload();
    // The chosen place in view.
    if (mModel.HasPosition()) {
        const int size = mModel.CellSize();
        mScroll->ensureVisible(mModel.PositionX() * size + size / 2, mModel.PositionY() * size + size / 2,
                               mScroll->width() / 2, mScroll->height() / 2);
    }
    UpdateState();
}

void TFormMapSetPlace::done(int result) {
    mModel.Hide();
    TFormKelBase::done(result);
}

bool TFormMapSetPlace::CanConfirm() { return mModel.Ok(); }

void TFormMapSetPlace::SetZoom(int index) {
    mModel.SetZoom(index);
    mPosition->Reload();
}

void TFormMapSetPlace::UpdateState() {
    mLabel->setText(Cp932ToQString(mModel.Label()));
    mOk->setEnabled(mModel.OkEnabled());
}

}  // namespace quillon
