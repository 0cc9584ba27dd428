// The "ChipSets" page of the database editor: the entry list, the name and image, the lower and
// upper tile grids with their mode buttons, the terrain list with "Set to All...", and the sea
// animation settings with their preview.
#pragma once

#include "database/ED_ChipSet.h"
#include "database/FieldPage_qt.h"
#include "graphics/GR_ChipSet.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>

namespace Ui {
class FormEDChipSet;
}

class QAbstractButton;

namespace quillon {

// One tile grid: the tiles as the map editor draws them, a black line along each cell's right
// and bottom edges, and the mark of the grid's mode over each cell.
class TChipSetGridView : public QWidget {
    Q_OBJECT
public:
    explicit TChipSetGridView(QWidget* parent = nullptr);
    // The grid (cgLower or cgUpper) of a page model, drawn with `chips`.
    void Attach(TChipSetPageModel* model, int grid, TKelChipSetGraphic* chips);
    int Grid() const { return mGrid; }
    // The tiles were loaded again.
    void ReloadTiles();
    // Paints the part `area` of the grid (what a repaint does).
    void PaintGrid(QPainter& painter, const QRect& area) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    std::uint32_t MarkKey(int index) const;
    static void DrawMark(QPainter& painter, std::uint32_t key, const QRect& cell);
    void PaintMark(QPainter& painter, int index, const QRect& cell) const;

    TChipSetPageModel* mModel = nullptr;
    TKelChipSetGraphic* mChips = nullptr;
    int mGrid = cgLower;
    QImage mTiles;
    mutable std::map<std::uint32_t, QImage> mSprites;  // each mark drawn once
};

// The sea preview: the three water tiles at the preview's animation counter.
class TChipSetSeaPreview : public QWidget {
    Q_OBJECT
public:
    explicit TChipSetSeaPreview(QWidget* parent = nullptr);
    void Attach(TChipSetPageModel* model, TKelChipSetGraphic* chips);
    QSize sizeHint() const override { return {96, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TChipSetPageModel* mModel = nullptr;
    TKelChipSetGraphic* mChips = nullptr;
};

class TFormEDChipSet : private TPageChoosers, public TFormDataBaseBase {
public:
    TFormEDChipSet(const TDataBaseContext& context, IEventChoosers* choosers = nullptr, QWidget* parent = nullptr);
    ~TFormEDChipSet() override;

    TChipSetPageModel& Model() { return mModel; }
    TChipSetGridView* GridView(int grid) const;
    void LoadEntry() override;
    void UpdateView() override;

    // Slots.
    void Button1Click();
    void Timer1Timer();

private:
    void ShowModes();
    void LoadTiles();

    TChipSetPageModel& mModel;
    std::unique_ptr<Ui::FormEDChipSet> mUi;
    TKelChipSetGraphic mChips;
    std::string mLoadedName;
    bool mTilesLoaded = false;
    std::unique_ptr<TFieldBinding> mBinding;
    TFieldBinder* mBinder = nullptr;
    QTimer mPreviewTimer;
    std::vector<TConnection> mHeard;
};

// "Set All Chips to...": one terrain of the list; true on OK with its ID in `terrainId`.
bool ChooseTerrainForAll(QWidget* owner, const TKelDataBase& dataBase, std::int32_t& terrainId);

TFormDataBaseBase* CreateFormEDChipSet(const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon
