// The area dialog and "Set Area" with its area maker view.
#pragma once

#include "mapedit/MapArea.h"

#include "controls/KelBase_qt.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QToolButton;

namespace Ui {
class FormEDArea;
}

namespace quillon {

class TEncounterListView;
class TKelChipSet;
class TKelChipSetGraphic;

// The open map with the area rectangle; a left drag draws it on grid points.
class TFormAreaMaker : public QWidget {
    Q_OBJECT
public:
    TFormAreaMaker(TMapSetAreaModel& model, const TKelChipSet* chipSets, QWidget* parent);
    ~TFormAreaMaker() override;
    void Reload();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint GridPoint(const QPointF& at) const;
    TMapSetAreaModel& mModel;
    const TKelChipSet* mChipSets;
    std::unique_ptr<TKelChipSetGraphic> mChips;
    QImage mImage;
};

class TFormMapSetArea : public TFormKelBase {
    Q_OBJECT
public:
    TFormMapSetArea(TMapSetAreaModel& model, const TKelChipSet* chipSets, QWidget* parent = nullptr);
    TFormAreaMaker* Maker() const { return mMaker; }
    QPushButton* ButtonOk() const { return mOk; }
    QLabel* Label() const { return mLabel; }
    void done(int result) override;

protected:
    // "&Ok" needs a rectangle.
    bool CanConfirm() override;

private slots:
    void UpdateState();

private:
    void SetZoom(int index);
    TMapSetAreaModel& mModel;
    TFormAreaMaker* mMaker;
    QToolButton* mZooms[3];
    QLabel* mLabel;
    QPushButton* mOk;
};

class TFormEDArea : public TFormKelBase {
    Q_OBJECT
public:
    // `tree` and `map`: what "Set Area" shows; `troops` names the encounters (may be null).
    TFormEDArea(TAreaPropertiesModel& model, TKelMapTree& tree, const TKelMap& map, const TKelChipSet* chipSets,
                const TCatalog* troops, QWidget* parent = nullptr);
    ~TFormEDArea() override;
    Ui::FormEDArea& Form() { return *mUi; }
    TEncounterListView* Encounters() const { return mEncounters; }
    // Runs "Set Area" (tests put a stand-in here); answers the chosen rectangle.
    std::function<bool(TKelAreaRect& rect)> SetArea;
    void UpdateView();

private slots:
    void ButtonAreaClick();

private:
    TAreaPropertiesModel& mModel;
    std::unique_ptr<Ui::FormEDArea> mUi;
    TEncounterListView* mEncounters = nullptr;
};

}  // namespace quillon
