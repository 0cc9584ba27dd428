#include "project/SelMusic_qt.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QVBoxLayout>

namespace quillon {

QSlider* MakeSelSlider(QWidget* parent, QVBoxLayout* into, const QString& caption, const QString& objectName,
                       const QStringList& marks) {
    auto* box = new QGroupBox(caption, parent);
    auto* column = new QVBoxLayout(box);
    auto* slider = new QSlider(Qt::Horizontal, box);
    slider->setObjectName(objectName);
    slider->setRange(0, 10);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    column->addWidget(slider);
    auto* labels = new QHBoxLayout;
    for (int i = 0; i < marks.size(); ++i) {
        if (i > 0)
            labels->addStretch(1);
        labels->addWidget(new QLabel(marks[i], box));
    }
    column->addLayout(labels);
    into->addWidget(box);
    return slider;
}

namespace {

void SetQuietly(QSlider* slider, int position) {
    const QSignalBlocker block(slider);
    slider->setValue(position);
}

}  // namespace

TFormSelMusic::TFormSelMusic(QWidget* owner, bool listenOnly)
    : TFormSelBase(owner, TSelKind::Music, false), mModel(listenOnly) {
    AttachModel(mModel);
    mModel.Fill();
    mFadeIn = MakeSelSlider(this, Extras(), tr("Fade-in Time"), "FadeInSlider", {tr("None"), tr("5s"), tr("10s")});
    mVolume = MakeSelSlider(this, Extras(), tr("Volume"), "VolumeSlider", {tr("0%"), tr("50%"), tr("100%")});
    mTempo = MakeSelSlider(this, Extras(), tr("Tempo"), "TempoSlider", {tr("50%"), tr("100%"), tr("150%")});
    mBalance = MakeSelSlider(this, Extras(), tr("Balance"), "BalanceSlider", {tr("Left"), tr("Mid."), tr("Right")});
    mButtonPlay = new QPushButton(tr("Play"), this);
    mButtonPlay->setObjectName("ButtonPlay");
    mButtonStop = new TModifierButton(tr("Stop"), this);
    mButtonStop->setObjectName("ButtonStop");
    for (QPushButton* button : {mButtonPlay, static_cast<QPushButton*>(mButtonStop)}) {
        button->setAutoDefault(false);
        ButtonColumn()->insertWidget(ButtonColumn()->count() - 1, button);
    }
    if (listenOnly) {
        ButtonOk()->hide();
        ButtonCancel()->setText(tr("&Cancel"));
    }
    connect(mButtonPlay, &QPushButton::clicked, this, &TFormSelMusic::ButtonPlayClick);
    connect(mButtonStop, &QPushButton::clicked, this, &TFormSelMusic::ButtonStopClick);
    connect(mFadeIn, &QSlider::valueChanged, this, [this](int p) { mModel.SetFadeInPosition(p); });
    connect(mVolume, &QSlider::valueChanged, this, [this](int p) { mModel.SetVolumePosition(p); });
    connect(mTempo, &QSlider::valueChanged, this, [this](int p) { mModel.SetTempoPosition(p); });
    connect(mBalance, &QSlider::valueChanged, this, [this](int p) { mModel.SetBalancePosition(p); });
    ShowSettings();
}

void TFormSelMusic::Open(const TKelMusic& music) {
    mModel.Open(music);
    ShowSettings();
    FillList();
}

void TFormSelMusic::OpenCurrent() {
    mModel.OpenCurrent();
    ShowSettings();
    FillList();
}

void TFormSelMusic::ShowSettings() {
    SetQuietly(mFadeIn, PositionOfFadeIn(mModel.FadeIn()));
    SetQuietly(mVolume, PositionOfVolume(mModel.Volume()));
    SetQuietly(mTempo, PositionOfTempo(mModel.Tempo()));
    SetQuietly(mBalance, PositionOfBalance(mModel.Balance()));
}

void TFormSelMusic::DataListActivate() { ButtonPlayClick(); }

void TFormSelMusic::ButtonPlayClick() { mModel.Play(); }

void TFormSelMusic::ButtonStopClick() {
    const bool shift = (mButtonStop->ClickModifiers() | QGuiApplication::keyboardModifiers()) & Qt::ShiftModifier;
    mModel.Stop(shift);
}

TFormSelSound::TFormSelSound(QWidget* owner) : TFormSelBase(owner, TSelKind::Sound, false) {
    AttachModel(mModel);
    mModel.Fill();
    mVolume = MakeSelSlider(this, Extras(), tr("Volume"), "VolumeSlider", {tr("0%"), tr("50%"), tr("100%")});
    mTempo = MakeSelSlider(this, Extras(), tr("Tempo"), "TempoSlider", {tr("50%"), tr("100%"), tr("150%")});
    mBalance = MakeSelSlider(this, Extras(), tr("Balance"), "BalanceSlider", {tr("Left"), tr("Mid."), tr("Right")});
    mButtonPlay = new QPushButton(tr("Play"), this);
    mButtonPlay->setObjectName("ButtonPlay");
    mButtonStop = new QPushButton(tr("Stop"), this);
    mButtonStop->setObjectName("ButtonStop");
    for (QPushButton* button : {mButtonPlay, mButtonStop}) {
        button->setAutoDefault(false);
        ButtonColumn()->insertWidget(ButtonColumn()->count() - 1, button);
    }
    connect(mButtonPlay, &QPushButton::clicked, this, &TFormSelSound::ButtonPlayClick);
    connect(mButtonStop, &QPushButton::clicked, this, &TFormSelSound::ButtonStopClick);
    connect(mVolume, &QSlider::valueChanged, this, [this](int p) { mModel.SetVolumePosition(p); });
    connect(mTempo, &QSlider::valueChanged, this, [this](int p) { mModel.SetTempoPosition(p); });
    connect(mBalance, &QSlider::valueChanged, this, [this](int p) { mModel.SetBalancePosition(p); });
}

void TFormSelSound::Open(const TKelSound& sound) {
    mModel.Open(sound);
    SetQuietly(mVolume, PositionOfVolume(mModel.Volume()));
    SetQuietly(mTempo, PositionOfTempo(mModel.Tempo()));
    SetQuietly(mBalance, PositionOfBalance(mModel.Balance()));
    FillList();
}

void TFormSelSound::ButtonPlayClick() { mModel.Play(); }

void TFormSelSound::ButtonStopClick() { mModel.Stop(); }

bool SelectMusic(QWidget* owner, TKelMusic& music, const QString& caption) {
    TFormSelMusic form(owner, false);
    if (!caption.isEmpty())
        form.setWindowTitle(caption);
    form.Open(music);
    if (!form.Run())
        return false;
    form.Model().GetMusic(music);
    return true;
}

void ListenToMusic(QWidget* owner) {
    TFormSelMusic form(owner, true);
    form.OpenCurrent();
    form.RunModal();
}

bool SelectSound(QWidget* owner, TKelSound& sound, const QString& caption) {
    TFormSelSound form(owner);
    if (!caption.isEmpty())
        form.setWindowTitle(caption);
    form.Open(sound);
    if (!form.Run())
        return false;
    form.Model().GetSound(sound);
    return true;
}

}  // namespace quillon
