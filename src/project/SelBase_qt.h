// The selector windows' shared frame: the resource list, a preview that reports clicks in board
// pixels, the extras area, "&Ok" and "Cancel"; and the image selectors built on it.
#pragma once

#include "project/SelBase.h"
#include "project/SelImage.h"

#include "controls/KelBase_qt.h"

#include <QPoint>
#include <QPushButton>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>

class QButtonGroup;
class QListWidget;
class QScrollArea;
class QSlider;
class QVBoxLayout;
class QLabel;
namespace Ui {
class TFormSelBase;
}

namespace quillon {

// Shows a drawing board at its own size; presses and double clicks report board coordinates.
class TSelPreview : public QWidget {
    Q_OBJECT
public:
    explicit TSelPreview(QWidget* parent = nullptr);
    // The board shown (not owned); repaints and takes its size.
    void SetBoard(const TOrlenBoard* board);
    QSize sizeHint() const override;

signals:
    void Clicked(int x, int y);
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const TOrlenBoard* mBoard = nullptr;
};

// A push button that remembers the keyboard modifiers of the click that pressed it.
class TModifierButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
    Qt::KeyboardModifiers ClickModifiers() const { return mModifiers; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Qt::KeyboardModifiers mModifiers;
};

// The frame of every selector: modal, ends with mrOk on OK and mrCancel on Cancel, Esc or close.
class TFormSelBase : public TFormKelBase {
    Q_OBJECT
public:
    // kind: the member (caption, object name); withPreview: a preview board area to the right of
    // the list. The subclass attaches its list model in its constructor.
    TFormSelBase(QWidget* owner, TSelKind kind, bool withPreview);
    ~TFormSelBase() override;

    QListWidget* DataList() const { return mDataList; }
    QPushButton* ButtonOk() const { return mButtonOk; }
    QPushButton* ButtonCancel() const { return mButtonCancel; }
    TSelPreview* Preview() const { return mPreview; }

    // Puts the model's rows into the list, selects its row and scrolls its top row into place.
    void FillList();

public slots:
    // OK while the button is there (the listen-only music selector has none).
    void ButtonOkClick() override;

protected slots:
    void DataListClick();
    // Enter or a double click on the list: OK here, "Play" in the music selector.
    virtual void DataListActivate();
    virtual void PreviewClick(int x, int y);

protected:
    // Shows the model's board after a change (nothing without a preview).
    virtual void UpdatePreview();
    // Called after the list selection changed the model.
    virtual void SelectionChanged() {}
    QVBoxLayout* Extras() const { return mExtras; }
    void AttachModel(TSelListModel& model) { mModel = &model; }
    QVBoxLayout* ButtonColumn() const { return mButtons; }

private:
    std::unique_ptr<Ui::TFormSelBase> mUi;
    TSelListModel* mModel = nullptr;
    QListWidget* mDataList = nullptr;
    TSelPreview* mPreview = nullptr;
    QScrollArea* mPreviewArea = nullptr;
    QVBoxLayout* mExtras = nullptr;
    QVBoxLayout* mButtons = nullptr;
    QPushButton* mButtonOk = nullptr;
    QPushButton* mButtonCancel = nullptr;
};

// The list-and-image selectors (walk graphics, faces, chipsets, battle animations, backdrops,
// title, game over, system graphics, panoramas, pictures, movies).
class TFormSelImage : public TFormSelBase {
    Q_OBJECT
public:
    TFormSelImage(QWidget* owner, TSelKind kind);
    TFormSelImage(QWidget* owner, std::unique_ptr<TSelImageModel> model);
    TSelImageModel& Model() { return *mModel; }

protected:
    void PreviewClick(int x, int y) override;
    void UpdatePreview() override;

    std::unique_ptr<TSelImageModel> mModel;
};

#define QUILLON_SEL_IMAGE_FORM(NAME, KIND)                                                       \
    class NAME : public TFormSelImage {                                                          \
    public:                                                                                      \
        explicit NAME(QWidget* owner) : TFormSelImage(owner, KIND) {}                            \
    };
QUILLON_SEL_IMAGE_FORM(TFormSelChar, TSelKind::Char)
QUILLON_SEL_IMAGE_FORM(TFormSelFace, TSelKind::Face)
QUILLON_SEL_IMAGE_FORM(TFormSelChipSet, TSelKind::ChipSet)
QUILLON_SEL_IMAGE_FORM(TFormSelBattle, TSelKind::Battle)
QUILLON_SEL_IMAGE_FORM(TFormSelBackdrop, TSelKind::Backdrop)
QUILLON_SEL_IMAGE_FORM(TFormSelTitle, TSelKind::Title)
QUILLON_SEL_IMAGE_FORM(TFormSelGameOver, TSelKind::GameOver)
QUILLON_SEL_IMAGE_FORM(TFormSelPanorama, TSelKind::Panorama)
QUILLON_SEL_IMAGE_FORM(TFormSelPicture, TSelKind::Picture)
QUILLON_SEL_IMAGE_FORM(TFormSelMovie, TSelKind::Movie)
#undef QUILLON_SEL_IMAGE_FORM

// The system graphic with the window wallpaper and the game font.
class TFormSelSystem : public TFormSelImage {
    Q_OBJECT
public:
    explicit TFormSelSystem(QWidget* owner);
    // 0 "Enlarge to Display", 1 "Tile Display"; the font 0 or 1. Values outside show as 0.
    void SetOptions(int wallpaper, int font);
    int Wallpaper() const;
    int Font() const;

private:
    QButtonGroup* mWallpaper = nullptr;
    QButtonGroup* mFont = nullptr;
};

// The monster graphic with its hue slider.
class TFormSelMonster : public TFormSelImage {
    Q_OBJECT
public:
    explicit TFormSelMonster(QWidget* owner);
    TSelMonsterModel& MonsterModel() { return *mMonster; }
    QSlider* HueSlider() const { return mHueSlider; }
    // Opens on a name and hue.
    void Open(const std::string& name, int hue);

protected:
    void SelectionChanged() override;

private slots:
    void HueSliderChange(int position);

private:
    TSelMonsterModel* mMonster;
    QSlider* mHueSlider = nullptr;
};

// Opens the selector of an image kind (or movies) modally on `name`; on OK stores the chosen name
// (and, for walk and face graphics, the cell in *index) and answers true. caption: replaces the
// window's own caption when not empty. offset: where it opens from the owner window's client
// origin (none: centred on the owner). The event graphic, monster, music, sound and chip
// selectors have functions of their own; for those kinds this answers false at once.
bool SelectResource(QWidget* owner, TSelKind kind, std::string& name, int* index = nullptr,
                    const QString& caption = {}, std::optional<QPoint> offset = std::nullopt);
// "Select System Graphics" on `name` with the wallpaper and font options; on OK stores all three.
bool SelectSystemGraphic(QWidget* owner, std::string& name, int& wallpaper, int& font, const QString& caption = {});
// The monster graphic with its hue (stored normalised to 0..359).
bool SelectMonsterGraphic(QWidget* owner, std::string& name, int& hue);

}  // namespace quillon
