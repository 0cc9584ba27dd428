#include "database/ED_Animation_qt.h"

#include "audio/AudioHarmony.h"
#include "controls/AutoScroll_qt.h"
#include "data/LD_DataBase.h"
#include "database/ED_AnimationDialogs.h"
#include "database/ED_AnimationDialogs_qt.h"
#include "database/PageRows_qt.h"
#include "graphics/OrlenSheet_qt.h"
#include "platform/BusyCursor.h"
#include "platform/Cp932Text_qt.h"
#include "project/Resources.h"

#include "ui_ED_Animation.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QThread>
#include <QToolTip>
#include <QListView>
#include <QTreeView>

namespace quillon {

namespace {

TImageFinder ProjectImages() {
    return [](const std::string& kind, const std::string& name) { return FindResourceFile(name, kind, ImageExtensions); };
}

// A cue's sound through the audio front.
void PlayCueSound(const TKelSound& sound) {
    const std::string file = LocateResourceFile(sound.Name, "Sound", SoundExtensions);
    if (file.empty())
        return;
    audio::AudioOpenWave();
    audio::AudioPlaySound(file, sound.Volume, sound.Tempo, sound.Balance);
}

QAction* AddAction(QMenu* menu, QWidget* owner, const QString& text, const QKeySequence& key = {}) {
    QAction* action = menu->addAction(text);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        owner->addAction(action);
    }
    return action;
}

}  // namespace

// --- the preview ---

TAnimationArea::TAnimationArea(QWidget* parent)
    : QAbstractScrollArea(parent), mAutoScroll(new TMiddleAutoScroll(this)), mPopup(new QMenu(this)) {
    setObjectName(QStringLiteral("AnimationArea"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setRange(-kAnimationViewScroll, kAnimationViewScroll);
        bar->setSingleStep(kAnimationSnapGrid);
        bar->setValue(0);
    }
    horizontalScrollBar()->setPageStep(kAnimationPreviewWidth);
    verticalScrollBar()->setPageStep(kAnimationPreviewHeight);
    setFixedSize(kAnimationPreviewWidth + verticalScrollBar()->sizeHint().width(),
                 kAnimationPreviewHeight + horizontalScrollBar()->sizeHint().height());
    mProperty = AddAction(mPopup, this, tr("&Property..."));
    mPopup->addSeparator();
    mCut = AddAction(mPopup, this, tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    mCopy = AddAction(mPopup, this, tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mPaste = AddAction(mPopup, this, tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    mDelete = AddAction(mPopup, this, tr("&Delete"), QKeySequence(Qt::Key_Delete));
    mPopup->addSeparator();
    mUp = AddAction(mPopup, this, tr("Priority &Up"), QKeySequence(Qt::Key_PageUp));
    mDown = AddAction(mPopup, this, tr("Priority D&own"), QKeySequence(Qt::Key_PageDown));
    connect(mProperty, &QAction::triggered, this, &TAnimationArea::Menu_CellItemProperty);
    connect(mCut, &QAction::triggered, this, &TAnimationArea::Menu_CellItemCut);
    connect(mCopy, &QAction::triggered, this, &TAnimationArea::Menu_CellItemCopy);
    connect(mPaste, &QAction::triggered, this, &TAnimationArea::Menu_CellItemPaste);
    connect(mDelete, &QAction::triggered, this, &TAnimationArea::Menu_CellItemDelete);
    connect(mUp, &QAction::triggered, this, &TAnimationArea::Menu_CellItemUp);
    connect(mDown, &QAction::triggered, this, &TAnimationArea::Menu_CellItemDown);
}

void TAnimationArea::ShowBoard(const TOrlenBoard& board) {
    mShown = BoardImage(board).copy();
    viewport()->repaint();
}

QPoint TAnimationArea::PreviewPoint(QPoint at) const {
    return at + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TAnimationArea::scrollContentsBy(int, int) { viewport()->update(); }

void TAnimationArea::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    if (!mShown.isNull()) {
        painter.drawImage(0, 0, mShown);
        return;
    }
    if (!mPage)
        return;
    mPage->DrawPreview(mBoard, horizontalScrollBar()->value(), verticalScrollBar()->value());
    DrawBoardTo(mBoard, painter, 0, 0);
}

void TAnimationArea::ShowHint() {
    if (const TKelAnimationCellItem* cell = mPage->Cell(mPage->SelectedCell()))
        QToolTip::showText(mapToGlobal(QPoint(width(), 0)), QString::asprintf("%d, %d", cell->X, cell->Y), this);
}

void TAnimationArea::mousePressEvent(QMouseEvent* event) {
    mShown = QImage();
    setFocus(Qt::MouseFocusReason);
    if (!mPage || event->button() == Qt::MiddleButton)
        return;
    const QPoint at = PreviewPoint(event->position().toPoint());
    mPage->Press(at.x(), at.y(), event->button() == Qt::LeftButton, event->modifiers() & Qt::ControlModifier);
    if (mPage->SelectedCell() >= 0)
        ShowHint();
    viewport()->update();
}

void TAnimationArea::mouseMoveEvent(QMouseEvent* event) {
    if (!mPage || !mPage->Dragging())
        return;
    const QPoint at = PreviewPoint(event->position().toPoint());
    if (mPage->Drag(at.x(), at.y(), event->modifiers() & Qt::ShiftModifier)) {
        ShowHint();
        viewport()->repaint();
    }
}

void TAnimationArea::mouseReleaseEvent(QMouseEvent*) {
    if (mPage)
        mPage->Release();
    QToolTip::hideText();
}

void TAnimationArea::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    if (mPage)
        mPage->Release();
    if (mPage && mPage->SelectedCell() >= 0)
        Menu_CellItemProperty();
}

void TAnimationArea::keyPressEvent(QKeyEvent* event) {
    if (!mPage)
        return;
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    if (mPage->MoveCell(dx, dy, event->modifiers() & Qt::ShiftModifier))
        ShowHint();
    viewport()->update();
}

void TAnimationArea::contextMenuEvent(QContextMenuEvent* event) {
    if (!mPage)
        return;
    const bool cell = mPage->Cell(mPage->SelectedCell()) != nullptr;
    mProperty->setEnabled(cell);
    mCut->setEnabled(cell);
    mCopy->setEnabled(cell);
    mDelete->setEnabled(cell);
    mPaste->setEnabled(mPage->CanPasteCell());
    mUp->setEnabled(mPage->CanPriorityUp());
    mDown->setEnabled(mPage->CanPriorityDown());
    mPopup->exec(event->globalPos());
}

void TAnimationArea::Menu_CellItemProperty() {
    if (OnProperty)
        OnProperty();
}
void TAnimationArea::Menu_CellItemCut() { mPage && mPage->CutCell(); }
void TAnimationArea::Menu_CellItemCopy() { mPage && mPage->CopyCell(); }
void TAnimationArea::Menu_CellItemPaste() { mPage && mPage->PasteCell(); }
void TAnimationArea::Menu_CellItemDelete() { mPage && mPage->DeleteCell(); }
void TAnimationArea::Menu_CellItemUp() { mPage && mPage->PriorityUp(); }
void TAnimationArea::Menu_CellItemDown() { mPage && mPage->PriorityDown(); }

// --- the pattern strip ---

TAnimationPatternStrip::TAnimationPatternStrip(QWidget* parent)
    : QWidget(parent), mScroll(new QScrollBar(Qt::Horizontal, this)) {
    mScroll->setAccessibleName(tr("Patterns"));
    connect(mScroll, &QScrollBar::valueChanged, this, [this] { update(); });
}

void TAnimationPatternStrip::resizeEvent(QResizeEvent*) {
    const int bar = mScroll->sizeHint().height();
    mScroll->setGeometry(0, height() - bar, width(), bar);
    mScroll->setRange(0, std::max(0, kAnimationPatternCount * kAnimationPatternSize - width()));
    mScroll->setPageStep(width());
    mScroll->setSingleStep(kAnimationPatternSize);
}

void TAnimationPatternStrip::paintEvent(QPaintEvent*) {
    if (!mPage)
        return;
    if (mBoard.Width() != width() || mBoard.Height() != kAnimationPatternSize)
        mBoard.SetSize(std::max(1, width()), kAnimationPatternSize);
    mPage->DrawPatterns(mBoard, mScroll->value());
    QPainter painter(this);
    DrawBoardTo(mBoard, painter, 0, 0);
}

void TAnimationPatternStrip::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!mPage || at.y() < 0 || at.y() >= kAnimationPatternSize || at.x() < 0 || at.x() >= width())
        return;
    mPage->SelectPattern((at.x() + mScroll->value()) / kAnimationPatternSize);
    update();
}

// --- the page ---

TFormEDAnimation::TFormEDAnimation(const TDataBaseContext& context, IEventChoosers* choosers, TImageFinder find,
                                   QWidget* parent)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TAnimationPageModel>(context, Choosers, find ? find : ProjectImages(),
                                                              &PlayCueSound),
                        parent),
      mModel(static_cast<TAnimationPageModel&>(PageModel())),
      mUi(std::make_unique<Ui::FormEDAnimation>()) {
    mUi->setupUi(this);
    setObjectName("FormEDAnimation");
    mUi->ListLayout->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));
    Area().SetPage(&mModel);
    Patterns().SetPage(&mModel);
    Area().OnProperty = [this] { CellPropertyClick(); };
    mModel.AskFrameCount = [this](std::int32_t& count) { return AskFrameCount(count); };

    mBinding = std::make_unique<TFieldBinding>(AnimationPageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this, mUi->FieldLayout);

    QTreeView* timings = mUi->ListView1;
    mTimingRows = new TPageRows({tr("Frame"), tr("Select Sound Effect"), tr("Flash")},
                                [this] { return mModel.TimingRowCount(); },
                                [this](int row, int column) {
                                    return mModel.TimingRowTexts(row)[static_cast<std::size_t>(column)];
                                },
                                this);
    MakeRowsView(*timings, mTimingRows);
    timings->setColumnWidth(0, 70);
    timings->setColumnWidth(1, 110);
    mTimingPopup = new QMenu(timings);
    connect(AddAction(mTimingPopup, timings, tr("&Edit..."), QKeySequence(Qt::Key_Return)), &QAction::triggered, this,
            &TFormEDAnimation::Menu_TimingItemEdit);
    mTimingPopup->addSeparator();
    connect(AddAction(mTimingPopup, timings, tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X)), &QAction::triggered,
            this, &TFormEDAnimation::Menu_TimingItemCut);
    connect(AddAction(mTimingPopup, timings, tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C)), &QAction::triggered,
            this, &TFormEDAnimation::Menu_TimingItemCopy);
    connect(AddAction(mTimingPopup, timings, tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V)), &QAction::triggered,
            this, &TFormEDAnimation::Menu_TimingItemPaste);
    connect(AddAction(mTimingPopup, timings, tr("&Delete"), QKeySequence(Qt::Key_Delete)), &QAction::triggered, this,
            &TFormEDAnimation::Menu_TimingItemDelete);
    connect(timings, &QWidget::customContextMenuRequested, this,
            [this, timings](const QPoint& at) { mTimingPopup->exec(timings->viewport()->mapToGlobal(at)); });
    connect(timings, &QAbstractItemView::doubleClicked, this, [this] { Menu_TimingItemEdit(); });

    QListView* frames = mUi->ListBox1;
    mFrameRows = new TPageRows({}, [this] { return mModel.FrameCount(); },
                               [](int row, int) { return TAnimationPageModel::FrameRowText(row); }, this);
    frames->setModel(mFrameRows);
    frames->setSelectionMode(QAbstractItemView::SingleSelection);
    frames->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mFramePopup = new QMenu(frames);
    connect(AddAction(mFramePopup, frames, tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C)), &QAction::triggered,
            this, &TFormEDAnimation::Menu_FrameCopy);
    connect(AddAction(mFramePopup, frames, tr("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V)), &QAction::triggered,
            this, &TFormEDAnimation::Menu_FramePaste);
    connect(AddAction(mFramePopup, frames, tr("C&lear"), QKeySequence(Qt::Key_Delete)), &QAction::triggered, this,
            &TFormEDAnimation::Menu_FrameClear);
    connect(AddAction(mFramePopup, frames, tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X)), &QAction::triggered, this,
            &TFormEDAnimation::Menu_FrameCut);
    mFramePopup->addSeparator();
    connect(AddAction(mFramePopup, frames, tr("&Insert"), QKeySequence(Qt::Key_Insert)), &QAction::triggered, this,
            &TFormEDAnimation::Menu_FrameInsert);
    connect(AddAction(mFramePopup, frames, tr("&Delete")), &QAction::triggered, this, &TFormEDAnimation::Menu_FrameDelete);
    connect(frames, &QWidget::customContextMenuRequested, this, [this, frames](const QPoint& at) {
        const QList<QAction*> actions = mFramePopup->actions();
        actions[1]->setEnabled(mModel.CanPasteFrame());
        actions[6]->setEnabled(mModel.CanInsertFrame());
        actions[7]->setEnabled(mModel.CanDeleteFrame());
        mFramePopup->exec(frames->viewport()->mapToGlobal(at));
    });
    connect(frames->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!mShowing && current.isValid())
                    mModel.SelectFrame(current.row());
            });
    connect(mUi->ButtonBack, &QPushButton::clicked, this, [this] { mModel.SelectFrame(mModel.CurrentFrame() - 1); });
    connect(mUi->ButtonNext, &QPushButton::clicked, this, [this] { mModel.SelectFrame(mModel.CurrentFrame() + 1); });
    connect(mUi->Button1, &QPushButton::clicked, this, &TFormEDAnimation::Button1Click);
    connect(mUi->Button2, &QPushButton::clicked, this, &TFormEDAnimation::Button2Click);
    connect(mUi->Button3, &QPushButton::clicked, this, &TFormEDAnimation::Button3Click);
    connect(mUi->Button4, &QPushButton::clicked, this, &TFormEDAnimation::Button4Click);
    connect(mUi->Button5, &QPushButton::clicked, this, &TFormEDAnimation::Button5Click);

    mViewChanged = mModel.ViewChanged.Connect([this] { ShowView(); });
    connect(mBinder, &TFieldBinder::FieldChanged, this, [this] { ShowView(); });
    LoadEntry();
}

TFormEDAnimation::~TFormEDAnimation() {
    mViewChanged = {};
    delete mBinder;
}

TAnimationArea& TFormEDAnimation::Area() const { return *mUi->AnimationArea; }
TAnimationPatternStrip& TFormEDAnimation::Patterns() const { return *mUi->PatternArea; }

void TFormEDAnimation::LoadEntry() {
    if (!mBinder)
        return;
    mBinder->Refresh();
    ShowFrames();
    ShowTimings(-1);
    ShowView();
}

void TFormEDAnimation::UpdateView() {
    if (!mBinder)
        return;
    mBinder->Refresh();
    ShowView();
}

void TFormEDAnimation::ShowFrames() {
    mShowing = true;
    if (mShownFrames != mModel.FrameCount()) {
        mFrameRows->Reset();
        mShownFrames = mModel.FrameCount();
    }
    if (CurrentRow(*mUi->ListBox1) != mModel.CurrentFrame())
        ShowCurrentRow(*mUi->ListBox1, mModel.CurrentFrame());
    mShowing = false;
}

void TFormEDAnimation::ShowTimings(int select) {
    QTreeView* list = mUi->ListView1;
    const int keep = select >= 0 ? select : std::max(0, CurrentRow(*list));
    mTimingRows->Reset();
    mShownTimings = mModel.TimingRowCount();
    ShowCurrentRow(*list, std::min(keep, mShownTimings - 1));
}

void TFormEDAnimation::ShowView() {
    ShowFrames();
    // The anchor shows no choice while the scope is "All".
    if (auto* anchor = qobject_cast<QComboBox*>(mBinder->Widget("ComboBox3")); anchor && !mModel.YLineEnabled()) {
        const TDataBaseBlockSignals blocked{anchor};
        anchor->setCurrentIndex(-1);
    }
    if (mShownTimings != mModel.TimingRowCount())
        ShowTimings(-1);
    mUi->Button1->setEnabled(mModel.CanGetPrevious());
    mUi->ButtonBack->setEnabled(mModel.CurrentFrame() > 0);
    mUi->ButtonNext->setEnabled(mModel.CurrentFrame() + 1 < mModel.FrameCount());
    Area().viewport()->update();
    Patterns().update();
}

bool TFormEDAnimation::AskFrameCount(std::int32_t& count) {
    TAnimationFrameMaxDialog values{count};
    TFormEDAnimationDialog dialog(DialogOwner(), "TFormEDAnimationFrameMax", tr("Frame Number"),
                                  AnimationFrameMaxDialogForm(), values);
    if (!dialog.Run())
        return false;
    count = values.Count;
    return true;
}

// --- timings ---

void TFormEDAnimation::Menu_TimingItemEdit() {
    const int row = CurrentRow(*mUi->ListView1);
    if (row < 0)
        return;
    TKelAnimationTimingItem timing;
    mModel.TimingForRow(row, timing);
    TAnimationTimingDialog values;
    values.Load(timing, mModel.FrameCount());
    values.Page = &mModel;
    TFormEDAnimationDialog dialog(DialogOwner(), "TFormEDAnimationTiming", tr("Sound Effect and Animation Timing"),
                                  AnimationTimingDialogForm(), values);
    dialog.AddSample("ShapeSample", tr("Sample"), [&values] { return values.SampleColor(); });
    if (!dialog.Run())
        return;
    values.Store(timing);
    const int at = mModel.SetTiming(row, timing);
    ShowTimings(at);
}

void TFormEDAnimation::Menu_TimingItemCut() { ShowTimings(mModel.CutTiming(CurrentRow(*mUi->ListView1))); }

void TFormEDAnimation::Menu_TimingItemCopy() { mModel.CopyTiming(CurrentRow(*mUi->ListView1)); }

void TFormEDAnimation::Menu_TimingItemPaste() { ShowTimings(mModel.PasteTiming()); }

void TFormEDAnimation::Menu_TimingItemDelete() {
    const int row = CurrentRow(*mUi->ListView1);
    if (mModel.DeleteTiming(row))
        ShowTimings(row);
}

// --- frames ---

void TFormEDAnimation::Menu_FrameCopy() { mModel.CopyFrame(); }
void TFormEDAnimation::Menu_FramePaste() { mModel.PasteFrame(); }
void TFormEDAnimation::Menu_FrameClear() { mModel.ClearFrame(); }
void TFormEDAnimation::Menu_FrameCut() { mModel.CutFrame(); }
void TFormEDAnimation::Menu_FrameInsert() {
    if (mModel.InsertFrame()) {
        mBinder->Refresh();
        ShowTimings(-1);
    }
}
void TFormEDAnimation::Menu_FrameDelete() {
    if (mModel.DeleteFrame()) {
        mBinder->Refresh();
        ShowTimings(-1);
    }
}

// --- tools ---

void TFormEDAnimation::Button1Click() { mModel.GetPrevious(); }

void TFormEDAnimation::Button2Click() {
    TAnimationFrameToolDialog values;
    values.Frames = mModel.FrameCount();
    TFrameToolOperation op{};
    mModel.RememberedFrameTool(values.From, values.To, values.Start, op);
    values.Operation = static_cast<std::int32_t>(op);
    TFormEDAnimationDialog dialog(DialogOwner(), "TFormEDAnimationFrameTool", tr("Frame Management"),
                                  AnimationFrameToolDialogForm(), values);
    if (!dialog.Run())
        return;
    mModel.RunFrameTool(values.From, values.To, values.Start, static_cast<TFrameToolOperation>(values.Operation));
}

void TFormEDAnimation::Button3Click() {
    TAnimationComplementDialog values;
    values.Frames = mModel.FrameCount();
    TComplementItems items;
    mModel.RememberedComplement(values.From, values.To, values.CellFrom, values.CellTo, items);
    values.Pattern = items.Pattern;
    values.Motion = items.Motion;
    values.Tone = items.Tone;
    TFormEDAnimationDialog dialog(DialogOwner(), "TFormEDAnimationComplement", tr("Animation Complement Editor"),
                                  AnimationComplementDialogForm(), values);
    if (!dialog.Run())
        return;
    mModel.RunComplement(values.From, values.To, values.CellFrom, values.CellTo, values.Items());
}

void TFormEDAnimation::Button4Click() {
    TManyCellsSettings settings = mModel.RememberedManyCells();
    TAnimationManyCellsDialog values;
    values.Load(settings);
    TFormEDAnimationDialog dialog(DialogOwner(), "TFormEDAnimationManyCell", tr("Edit Cells All At Once"),
                                  AnimationManyCellsDialogForm(), values);
    auto* marks = new QListWidget(&dialog);
    marks->setObjectName(QStringLiteral("ListFrames"));
    marks->setAccessibleName(tr("Frames"));
    for (int f = 0; f < static_cast<int>(settings.Frames.size()); ++f) {
        auto* item = new QListWidgetItem(QString::asprintf("< %.3d >", f + 1), marks);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(settings.Frames[static_cast<std::size_t>(f)] ? Qt::Checked : Qt::Unchecked);
    }
    dialog.Extra()->addWidget(marks);
    if (!dialog.Run())
        return;
    values.Store(settings);
    for (int f = 0; f < marks->count(); ++f)
        settings.Frames[static_cast<std::size_t>(f)] = marks->item(f)->checkState() == Qt::Checked;
    mModel.RunManyCells(settings);
}

void TFormEDAnimation::Button5Click() { Playback(true); }

void TFormEDAnimation::Playback(bool wait) {
    const TBusyCursorScope busy;
    mModel.BeginPlayback();
    TOrlenBoard board;
    QElapsedTimer clock;
    clock.start();
    for (const TPlaybackStep& step : mModel.PlaybackSteps()) {
        mModel.DrawPlaybackStep(board, step);
        while (wait && clock.elapsed() < step.Millis)
            QThread::msleep(1);
        Area().ShowBoard(board);
    }
    mModel.EndPlayback();
    Area().ShowBoard(TOrlenBoard());
    Area().viewport()->update();
}

void TFormEDAnimation::CellPropertyClick() {
    TKelAnimationCellItem* cell = mModel.Cell(mModel.SelectedCell());
    if (!cell)
        return;
    TAnimationCellDialog values;
    values.Load(*cell);
    TFormEDAnimationDialog dialog(DialogOwner(), "TFormEDAnimationCell", tr("Edit Cell"), AnimationCellDialogForm(),
                                  values);
    const struct {
        const char* Box;
        const char* Name;
        const char* Caption;
    } sliders[] = {{"EditRed", "SliderRed", QT_TR_NOOP("Red slider:")},
                   {"EditGreen", "SliderGreen", QT_TR_NOOP("Green slider:")},
                   {"EditBlue", "SliderBlue", QT_TR_NOOP("Blue slider:")},
                   {"EditChroma", "SliderChroma", QT_TR_NOOP("Chroma slider:")}};
    for (const auto& slider : sliders)
        dialog.AddSlider(slider.Box, slider.Name, tr(slider.Caption), TAnimationCellDialog::kSliderMax,
                         &TAnimationCellDialog::SliderPosition, &TAnimationCellDialog::SliderValue);
    if (!dialog.Run())
        return;
    TKelAnimationCellItem edited;
    edited.Assign(*cell);
    values.Store(edited);
    mModel.SetCellProperties(edited);
}

TFormDataBaseBase* CreateFormEDAnimation(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDAnimation(context, nullptr, {}, parent);
}

}  // namespace quillon
