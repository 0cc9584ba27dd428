#include "mapedit/ED_Area_qt.h"

#include "data/LD_ChipSet.h"
#include "data/LD_Map.h"
#include "graphics/GR_ChipSet.h"
#include "graphics/MapRender.h"
#include "graphics/OrlenSheet_qt.h"
#include "mapedit/EncounterList_qt.h"
#include "platform/Cp932Text_qt.h"
#include "platform/Cp932Validator_qt.h"
#include "mapedit/MapProperties.h"
#include "project/Resources.h"
#include "ui_ED_Area.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

// --- the area maker ---

TFormAreaMaker::TFormAreaMaker(TMapSetAreaModel& model, const TKelChipSet* chipSets, QWidget* parent)
    : QWidget(parent), mModel(model), mChipSets(chipSets),
      mChips(std::make_unique<TKelChipSetGraphic>([](const std::string& kind, const std::string& name) {
          return FindResourceFile(name, kind, ImageExtensions);
      })) {
    setObjectName("FormAreaMaker");
}

TFormAreaMaker::~TFormAreaMaker() = default;

void TFormAreaMaker::Reload() {
    const TKelMap& map = mModel.Map();
    if (map.Width() <= 0 || map.Height() <= 0) {
        mImage = QImage();
    } else {
        mChips->SetChipSet(mChipSets ? mChipSets->FindByID(map.ChipSetId) : nullptr);
        TOrlenBoard board;
        TMapRenderOptions options;
        options.CellSize = mModel.CellSize();
        RenderMap(board, map, *mChips, options);
        mImage = BoardImage(board).copy();
    }
    setFixedSize(mImage.isNull() ? QSize(0, 0) : mImage.size());
    update();
}

QSize TFormAreaMaker::sizeHint() const { return mImage.isNull() ? QSize(0, 0) : mImage.size(); }

void TFormAreaMaker::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!mImage.isNull())
        p.drawImage(0, 0, mImage);
    const TKelAreaRect& r = mModel.Maker().Rect();
    if (IsEmptyArea(r))
        return;
    // As the canvas frames its current area: light, dark, and three pixels further in the pair.
    const int size = mModel.CellSize();
    const QRect box(r.Left * size, r.Top * size, (r.Right - r.Left) * size, (r.Bottom - r.Top) * size);
    p.setBrush(Qt::NoBrush);
    const QColor light(255, 255, 128), dark(32, 32, 32);
    for (const int inset : {0, 4}) {
        p.setPen(light);
        p.drawRect(box.adjusted(inset, inset, -1 - inset, -1 - inset));
        p.setPen(dark);
        p.drawRect(box.adjusted(inset + 1, inset + 1, -2 - inset, -2 - inset));
    }
}

QPoint TFormAreaMaker::GridPoint(const QPointF& at) const {
    const int size = mModel.CellSize();
    return QPoint(static_cast<int>(std::floor((at.x() + size / 2.0) / size)),
                  static_cast<int>(std::floor((at.y() + size / 2.0) / size)));
}

void TFormAreaMaker::mousePressEvent(QMouseEvent* event) {
    const QPoint g = GridPoint(event->position());
    const auto button = event->button() == Qt::LeftButton     ? TAreaMakerModel::TButton::Left
                        : event->button() == Qt::MiddleButton ? TAreaMakerModel::TButton::Middle
                                                              : TAreaMakerModel::TButton::Right;
    mModel.Maker().Press(button, g.x(), g.y());
    update();
}

void TFormAreaMaker::mouseMoveEvent(QMouseEvent* event) {
    const QPoint g = GridPoint(event->position());
    mModel.Maker().Move(g.x(), g.y());
    update();
}

void TFormAreaMaker::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        mModel.Maker().Release();
}

// --- "Set Area" ---

TFormMapSetArea::TFormMapSetArea(TMapSetAreaModel& model, const TKelChipSet* chipSets, QWidget* parent)
    : TFormKelBase(parent), mModel(model) {
    setObjectName("FormMapSetArea");
    setWindowTitle(tr("Set Area"));
    auto* layout = new QVBoxLayout(this);
    auto* scroll = new QScrollArea(this);
    mMaker = new TFormAreaMaker(model, chipSets, scroll);
    scroll->setWidget(mMaker);
    scroll->setBackgroundRole(QPalette::Dark);
    scroll->setMinimumSize(480, 320);
    layout->addWidget(scroll, 1);
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
    mModel.Maker().OnChanged = [this] { UpdateState(); };
    SetZoom(mModel.ZoomIndex());
}

void TFormMapSetArea::SetZoom(int index) {
    mModel.SetZoom(index);
    mZooms[mModel.ZoomIndex()]->setChecked(true);
    mMaker->Reload();
    UpdateState();
}

bool TFormMapSetArea::CanConfirm() { return mModel.OkEnabled(); }

void TFormMapSetArea::UpdateState() {
    mLabel->setText(QString::fromStdString(mModel.Label()));
    mOk->setEnabled(mModel.OkEnabled());
    mMaker->update();
}

void TFormMapSetArea::done(int result) {
    mModel.Maker().OnChanged = nullptr;
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
    connect(mUi->EditName, &QLineEdit::textEdited, this, [this](const QString& text) {
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
    if (!ShowsCp932(mUi->EditName->text(), mModel.Name))
        mUi->EditName->setText(Cp932ToQString(mModel.Name));
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
