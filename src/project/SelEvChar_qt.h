// The event-graphic selector and the chip-replacement picker windows.
#pragma once

#include "project/SelBase_qt.h"
#include "project/SelEvChar.h"

class QComboBox;
class QScrollArea;
namespace Ui {
class TFormSelReplChip;
}

namespace quillon {

class TFormSelEvChar : public TFormSelBase {
    Q_OBJECT
public:
    // chipSetName: the image of the current map's chipset.
    TFormSelEvChar(QWidget* owner, const std::string& chipSetName);
    TSelEvCharModel& Model() { return mModel; }
    void Open(const std::string& name, int index, int direction, int pattern);
    QComboBox* DirectionBox() const { return mDirection; }
    QComboBox* PatternBox() const { return mPattern; }

protected:
    void PreviewClick(int x, int y) override;
    void UpdatePreview() override;

private:
    TSelEvCharModel mModel;
    QComboBox* mDirection = nullptr;
    QComboBox* mPattern = nullptr;
};

// "Select Chip": one tile of a layer of the map's chipset; no list.
class TFormSelReplChip : public TFormKelBase {
    Q_OBJECT
public:
    TFormSelReplChip(QWidget* owner, const std::string& chipSetName, int layer);
    ~TFormSelReplChip() override;
    TSelReplChipModel& Model() { return mModel; }
    TSelPreview* Preview() const { return mPreview; }
    QPushButton* ButtonOk() const { return mButtonOk; }
    QPushButton* ButtonCancel() const { return mButtonCancel; }
    void Open(int index);

private slots:
    void PreviewClick(int x, int y);

private:
    std::unique_ptr<Ui::TFormSelReplChip> mUi;
    TSelReplChipModel mModel;
    QScrollArea* mArea = nullptr;
    TSelPreview* mPreview = nullptr;
    QPushButton* mButtonOk = nullptr;
    QPushButton* mButtonCancel = nullptr;
};

// Opens the event-graphic selector; on OK stores the file name (empty for a chipset tile), the
// index (character 0..7, or tile index page × 48 + cell), the direction and the pattern.
bool SelectEventGraphic(QWidget* owner, const std::string& chipSetName, std::string& name, int& index,
                        int& direction, int& pattern);
// Opens the chip picker on a layer (0 lower, 1 upper) of the chipset image; on OK stores the tile
// index within the layer.
bool SelectReplacementChip(QWidget* owner, const std::string& chipSetName, int layer, int& index);

}  // namespace quillon
