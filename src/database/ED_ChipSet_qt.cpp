#include "database/ED_ChipSet_qt.h"

#include "controls/AutoScroll_qt.h"
#include "data/LD_DataBase.h"
#include "database/FieldDialog_qt.h"
#include "graphics/OrlenSheet_qt.h"
#include "mapedit/ChipSelector.h"
#include "platform/Cp932Text_qt.h"
#include "project/Resources.h"

#include "ui_ED_ChipSet.h"

#include <QButtonGroup>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QScrollBar>

#include <cmath>

namespace quillon {

namespace {

TImageFinder ProjectFinder() {
    return [](const std::string& kind, const std::string& name) { return FindResourceFile(name, kind, ImageExtensions); };
}

const QColor kMark(255, 255, 255);
const QColor kMarkHot(255, 224, 64);
const QColor kMarkOff(96, 96, 96);
const QColor kShadow(0, 0, 0);

// A shape drawn with a black rim so that it reads on any tile.
void Outlined(QPainter& p, const QPainterPath& path, const QColor& fill) {
    p.setPen(QPen(kShadow, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(QPen(fill, 1.5));
    p.drawPath(path);
}

void FilledOutlined(QPainter& p, const QPolygonF& shape, const QColor& fill) {
    p.setPen(QPen(kShadow, 1));
    p.setBrush(fill);
    p.drawPolygon(shape);
}

// The arrow of one direction bit, pointing out of the cell's centre.
QPolygonF Arrow(const QRectF& c, std::uint8_t bit) {
    const QPointF m = c.center();
    const double r = 6, w = 4, h = 6;
    switch (bit) {
    case TKelChipSetItem::cfPassUp:
        return QPolygonF({QPointF(m.x(), m.y() - r - h), QPointF(m.x() - w, m.y() - r), QPointF(m.x() + w, m.y() - r)});
    case TKelChipSetItem::cfPassDown:
        return QPolygonF({QPointF(m.x(), m.y() + r + h), QPointF(m.x() - w, m.y() + r), QPointF(m.x() + w, m.y() + r)});
    case TKelChipSetItem::cfPassLeft:
        return QPolygonF({QPointF(m.x() - r - h, m.y()), QPointF(m.x() - r, m.y() - w), QPointF(m.x() - r, m.y() + w)});
    default:
        return QPolygonF({QPointF(m.x() + r + h, m.y()), QPointF(m.x() + r, m.y() - w), QPointF(m.x() + r, m.y() + w)});
    }
}

QPolygonF Star(const QPointF& m, double outer, double inner) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 ? inner : outer;
        star << QPointF(m.x() + r * std::cos(a), m.y() + r * std::sin(a));
    }
    return star;
}

}  // namespace

// --- the grid ---

TChipSetGridView::TChipSetGridView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setFixedSize(kChipGridWidth, kChipGridLowerRows * kChipGridCell);
}

void TChipSetGridView::Attach(TChipSetPageModel* model, int grid, TKelChipSetGraphic* chips) {
    mModel = model;
    mGrid = grid;
    mChips = chips;
    setFixedSize(kChipGridWidth, ChipGridRows(grid) * kChipGridCell);
    ReloadTiles();
}

QSize TChipSetGridView::sizeHint() const { return {kChipGridWidth, ChipGridRows(mGrid) * kChipGridCell}; }

void TChipSetGridView::ReloadTiles() {
    if (!mChips) {
        mTiles = QImage();
        return;
    }
    TOrlenBoard board;
    board.SetSize(kPaletteBoardWidth, kPaletteBoardHeight);
    DrawPalette(board, *mChips, mGrid == cgUpper ? 1 : 0);
    mTiles = BoardImage(board).copy(0, 0, kChipGridWidth, ChipGridRows(mGrid) * kChipGridCell).convertToFormat(
        QImage::Format_RGB32);
    update();
}

// What a cell's mark shows: the mode, the value it shows and how it is lit.
std::uint32_t TChipSetGridView::MarkKey(int index) const {
    const bool hot = mModel->HoverCell() == index;
    const TChipSetMode mode = mModel->Mode(mGrid);
    std::uint32_t value = 0;
    std::uint32_t lit = hot ? 1 : 0;
    switch (mode) {
    case TChipSetMode::Terrain: value = static_cast<std::uint16_t>(mModel->CellTerrain(index)); break;
    case TChipSetMode::Passage: value = static_cast<std::uint32_t>(PassageMark(mModel->CellFlags(mGrid, index))); break;
    case TChipSetMode::Direction:
        value = mModel->CellFlags(mGrid, index) & 0x0F;
        lit = hot ? mModel->HoverRegion() : 0;
        break;
    case TChipSetMode::Counter: value = (mModel->CellFlags(mGrid, index) & TKelChipSetItem::cfCounter) ? 1 : 0; break;
    }
    return static_cast<std::uint32_t>(mode) << 28 | value << 8 | lit;
}

// Draws a mark into the cell rectangle (the sprite of a key).
void TChipSetGridView::DrawMark(QPainter& p, std::uint32_t key, const QRect& cell) {
    const auto mode = static_cast<TChipSetMode>(key >> 28);
    const std::uint32_t value = (key >> 8) & 0xFFFFF;
    const std::uint32_t lit = key & 0xFF;
    const QColor colour = lit ? kMarkHot : kMark;
    const QRectF c(cell);
    const QPointF m = c.center();
    switch (mode) {
    case TChipSetMode::Terrain: {
        if (value == 0)
            break;
        QFont font = p.font();
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        const QString text = QString::number(value);
        p.setPen(kShadow);
        for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            p.drawText(cell.translated(d), Qt::AlignCenter, text);
        p.setPen(colour);
        p.drawText(cell, Qt::AlignCenter, text);
        break;
    }
    case TChipSetMode::Passage: {
        QPainterPath path;
        switch (static_cast<TPassageMark>(value)) {
        case TPassageMark::Square:
            path.addRect(QRectF(m.x() - 7, m.y() - 7, 14, 14));
            break;
        case TPassageMark::Star:
            path.addPolygon(Star(m, 9, 4));
            path.closeSubpath();
            break;
        case TPassageMark::Circle:
            path.addEllipse(m, 8, 8);
            break;
        case TPassageMark::Cross:
            path.moveTo(m.x() - 7, m.y() - 7);
            path.lineTo(m.x() + 7, m.y() + 7);
            path.moveTo(m.x() + 7, m.y() - 7);
            path.lineTo(m.x() - 7, m.y() + 7);
            break;
        }
        Outlined(p, path, colour);
        break;
    }
    case TChipSetMode::Direction:
        for (std::uint8_t bit : {TKelChipSetItem::cfPassUp, TKelChipSetItem::cfPassRight, TKelChipSetItem::cfPassLeft,
                                 TKelChipSetItem::cfPassDown})
            FilledOutlined(p, Arrow(c, bit), lit == bit ? kMarkHot : (value & bit) ? kMark : kMarkOff);
        break;
    case TChipSetMode::Counter:
        if (value) {
            QPainterPath path;
            path.addRect(QRectF(m.x() - 9, m.y() - 3, 18, 6));
            path.moveTo(m.x() - 6, m.y() + 3);
            path.lineTo(m.x() - 6, m.y() + 9);
            path.moveTo(m.x() + 6, m.y() + 3);
            path.lineTo(m.x() + 6, m.y() + 9);
            Outlined(p, path, colour);
        } else if (lit) {
            p.setPen(QPen(kMarkHot, 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(m.x() - 9, m.y() - 3, 18, 6));
        }
        break;
    }
}

void TChipSetGridView::PaintMark(QPainter& p, int index, const QRect& cell) const {
    // Each distinct mark is drawn once and then copied: a repaint only blits.
    const std::uint32_t key = MarkKey(index);
    auto found = mSprites.find(key);
    if (found == mSprites.end()) {
        if (mSprites.size() >= 1024)
            mSprites.clear();  // terrain numbers of many chipsets: start afresh
        QImage sprite(cell.size(), QImage::Format_ARGB32_Premultiplied);
        sprite.fill(Qt::transparent);
        QPainter sp(&sprite);
        sp.setRenderHint(QPainter::Antialiasing, true);
        DrawMark(sp, key, QRect(QPoint(0, 0), cell.size()));
        sp.end();
        found = mSprites.emplace(key, std::move(sprite)).first;
    }
    p.drawImage(cell.topLeft(), found->second);
}

void TChipSetGridView::PaintGrid(QPainter& p, const QRect& area) const {
    if (mTiles.isNull())
        p.fillRect(area, Qt::black);
    else
        p.drawImage(area.topLeft(), mTiles, area);
    if (!mModel)
        return;
    const int first = std::max(0, area.top() / kChipGridCell);
    const int last = std::min(ChipGridRows(mGrid) - 1, area.bottom() / kChipGridCell);
    const int left = std::max(0, area.left() / kChipGridCell);
    const int right = std::min(kChipGridColumns - 1, area.right() / kChipGridCell);
    p.setPen(Qt::black);
    for (int row = first; row <= last; ++row) {
        const int y = row * kChipGridCell;
        p.drawLine(left * kChipGridCell, y + kChipGridCell - 1, (right + 1) * kChipGridCell - 1, y + kChipGridCell - 1);
    }
    for (int column = left; column <= right; ++column) {
        const int x = column * kChipGridCell + kChipGridCell - 1;
        p.drawLine(x, first * kChipGridCell, x, (last + 1) * kChipGridCell - 1);
    }
    for (int row = first; row <= last; ++row)
        for (int column = left; column <= right; ++column) {
            const int index = column + row * kChipGridColumns;
            if (mGrid == cgUpper && index == 0)
                continue;  // the empty tile is not edited
            PaintMark(p, index, QRect(column * kChipGridCell, row * kChipGridCell, kChipGridCell - 1, kChipGridCell - 1));
        }
}

void TChipSetGridView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    PaintGrid(p, event->rect());
}

void TChipSetGridView::mousePressEvent(QMouseEvent* event) {
    if (!mModel || (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)) {
        QWidget::mousePressEvent(event);  // the middle button scrolls the frame
        return;
    }
    mModel->SetGrid(mGrid);
    mModel->Press(event->button() == Qt::LeftButton ? TChipButton::Left : TChipButton::Right, event->position().x(),
                  event->position().y());
}

void TChipSetGridView::mouseMoveEvent(QMouseEvent* event) {
    if (mModel && mModel->Grid() == mGrid)
        mModel->Move(event->position().x(), event->position().y());
    QWidget::mouseMoveEvent(event);
}

void TChipSetGridView::mouseReleaseEvent(QMouseEvent* event) {
    if (mModel && event->button() == Qt::LeftButton)
        mModel->Release();
    QWidget::mouseReleaseEvent(event);
}

void TChipSetGridView::leaveEvent(QEvent* event) {
    if (mModel && !mModel->Painting())
        mModel->ClearHover();
    QWidget::leaveEvent(event);
}

// --- the sea preview ---

TChipSetSeaPreview::TChipSetSeaPreview(QWidget* parent) : QWidget(parent) { setFixedSize(96, 32); }

void TChipSetSeaPreview::Attach(TChipSetPageModel* model, TKelChipSetGraphic* chips) {
    mModel = model;
    mChips = chips;
    update();
}

void TChipSetSeaPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!mModel || !mChips) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    TOrlenBoard board;
    board.SetSize(96, 32);
    board.Clear();
    for (int i = 0; i < 3; ++i)
        mChips->DrawTile(board, 32 * i, 0, mModel->PreviewCounter(), ChipGridTile(cgLower, i), false, 32);
    p.drawImage(0, 0, BoardImage(board));
}

// --- the page ---

TFormEDChipSet::TFormEDChipSet(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TChipSetPageModel>(context, Choosers), parent),
      mModel(static_cast<TChipSetPageModel&>(PageModel())),
      mUi(std::make_unique<Ui::FormEDChipSet>()),
      mChips(ProjectFinder()) {
    mUi->setupUi(this);
    setObjectName("FormEDChipSet");
    mUi->ListLayout->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));
    mChips.SetTransparent(false);

    mUi->PaintBox1->Attach(&mModel, cgLower, &mChips);
    mUi->PaintBox2->Attach(&mModel, cgUpper, &mChips);
    mUi->PaintBox3->Attach(&mModel, &mChips);
    for (QScrollArea* area : {mUi->ScrollBox1, mUi->ScrollBox2}) {
        area->setFixedWidth(kChipGridWidth + area->verticalScrollBar()->sizeHint().width() + 2 * area->frameWidth());
        auto* scroll = new TMiddleAutoScroll(area);
        scroll->Watch(area->widget());
    }

    for (int row = 0; row < mModel.TerrainRows(); ++row)
        mUi->ListBox1->addItem(Cp932ToQString(mModel.TerrainRowText(row)));

    const struct {
        QAbstractButton* Button;
        int Grid;
        TChipSetMode Mode;
    } modes[] = {
        {mUi->SpeedButton1, cgLower, TChipSetMode::Terrain},   {mUi->SpeedButton2, cgLower, TChipSetMode::Passage},
        {mUi->SpeedButton3, cgLower, TChipSetMode::Direction}, {mUi->SpeedButton4, cgUpper, TChipSetMode::Passage},
        {mUi->SpeedButton5, cgUpper, TChipSetMode::Direction}, {mUi->SpeedButton6, cgUpper, TChipSetMode::Counter},
    };
    for (const auto& m : modes) {
        const int grid = m.Grid;
        const TChipSetMode mode = m.Mode;
        connect(m.Button, &QAbstractButton::clicked, this, [this, grid, mode] { mModel.SetMode(grid, mode); });
    }
    connect(mUi->PageControl1, &QTabWidget::currentChanged, this, [this](int index) { mModel.SetGrid(index); });
    connect(mUi->ListBox1, &QListWidget::currentRowChanged, this, [this](int row) { mModel.SetTerrainRow(row); });
    connect(mUi->Button1, &QPushButton::clicked, this, &TFormEDChipSet::Button1Click);

    mHeard.push_back(mModel.CellChanged.Connect([this](int grid, int index) {
        TChipSetGridView* view = GridView(grid);
        if (index < 0)
            view->update();
        else
            view->update((index % kChipGridColumns) * kChipGridCell, (index / kChipGridColumns) * kChipGridCell,
                         kChipGridCell, kChipGridCell);
    }));
    mHeard.push_back(mModel.ViewChanged.Connect([this] {
        LoadTiles();
        ShowModes();
    }));

    mBinding = std::make_unique<TFieldBinding>(ChipSetPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
    connect(mBinder, &TFieldBinder::FieldChanged, this, [this] { mUi->PaintBox3->update(); });

    mPreviewTimer.setInterval(kChipSetPreviewMs);
    connect(&mPreviewTimer, &QTimer::timeout, this, &TFormEDChipSet::Timer1Timer);
    mPreviewTimer.start();
    ShowModes();
}

TFormEDChipSet::~TFormEDChipSet() {
    mHeard.clear();
    delete mBinder;
}

TChipSetGridView* TFormEDChipSet::GridView(int grid) const { return grid == cgUpper ? mUi->PaintBox2 : mUi->PaintBox1; }

void TFormEDChipSet::LoadTiles() {
    if (mTilesLoaded && mLoadedName == mModel.FileName())
        return;
    mTilesLoaded = true;
    mLoadedName = mModel.FileName();
    try {
        mChips.LoadGraphic(mLoadedName);
    } catch (const std::exception&) {
        // A missing or damaged image shows black tiles; the marks stay editable.
    }
    mUi->PaintBox1->ReloadTiles();
    mUi->PaintBox2->ReloadTiles();
    mUi->PaintBox3->update();
}

void TFormEDChipSet::ShowModes() {
    TDataBaseBlockSignals blocked({mUi->PageControl1, mUi->ListBox1});
    mUi->PageControl1->setCurrentIndex(mModel.Grid());
    const TChipSetMode lower = mModel.Mode(cgLower), upper = mModel.Mode(cgUpper);
    mUi->SpeedButton1->setChecked(lower == TChipSetMode::Terrain);
    mUi->SpeedButton2->setChecked(lower == TChipSetMode::Passage);
    mUi->SpeedButton3->setChecked(lower == TChipSetMode::Direction);
    mUi->SpeedButton4->setChecked(upper == TChipSetMode::Passage);
    mUi->SpeedButton5->setChecked(upper == TChipSetMode::Direction);
    mUi->SpeedButton6->setChecked(upper == TChipSetMode::Counter);
    if (mUi->ListBox1->currentRow() != mModel.TerrainRow() && mModel.TerrainRow() < mUi->ListBox1->count())
        mUi->ListBox1->setCurrentRow(mModel.TerrainRow());
    const bool terrain = mModel.SetToAllEnabled();
    mUi->Button1->setEnabled(terrain);
    mUi->ListBox1->setEnabled(terrain);
    mUi->PaintBox1->update();
    mUi->PaintBox2->update();
}

void TFormEDChipSet::LoadEntry() {
    if (!mBinder)
        return;
    mBinder->Refresh();
    LoadTiles();
    ShowModes();
    mUi->PaintBox3->update();
}

void TFormEDChipSet::UpdateView() {
    if (mBinder)
        mBinder->Refresh();
}

void TFormEDChipSet::Button1Click() {
    std::int32_t terrain = mModel.TerrainRow() + 1;
    if (ChooseTerrainForAll(DialogOwner(), mModel.DataBase(), terrain))
        mModel.SetAllTerrain(terrain);
}

void TFormEDChipSet::Timer1Timer() {
    mModel.PreviewTick();
    mUi->PaintBox3->update();
}

bool ChooseTerrainForAll(QWidget* owner, const TKelDataBase& dataBase, std::int32_t& terrainId) {
    TChipSetGroundAll record{&dataBase, terrainId};
    TFieldBinding binding(ChipSetGroundAllForm(), record);
    TFormFieldDialog dialog(owner, QObject::tr("Set All Chips to..."), binding, kChipSetHelpContext);
    dialog.setObjectName("FormEDChipSetGroundAll");
    if (!dialog.Run())
        return false;
    terrainId = record.TerrainId;
    return true;
}

TFormDataBaseBase* CreateFormEDChipSet(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDChipSet(context, nullptr, parent);
}

}  // namespace quillon
