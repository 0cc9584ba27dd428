// The music and sound selector windows with their playback buttons and sliders.
#pragma once

#include "project/SelBase_qt.h"
#include "project/SelMusic.h"

class QSlider;

namespace quillon {

// A slider of ten steps with its caption and end marks; set without signalling.
QSlider* MakeSelSlider(QWidget* parent, QVBoxLayout* into, const QString& caption, const QString& objectName,
                       const QStringList& marks);

class TFormSelMusic : public TFormSelBase {
    Q_OBJECT
public:
    // listenOnly: "&Ok" hidden, "Cancel" reads "&Cancel".
    TFormSelMusic(QWidget* owner, bool listenOnly);
    TSelMusicModel& Model() { return mModel; }
    void Open(const TKelMusic& music);
    void OpenCurrent();

    QPushButton* ButtonPlay() const { return mButtonPlay; }
    TModifierButton* ButtonStop() const { return mButtonStop; }
    QSlider* FadeInSlider() const { return mFadeIn; }
    QSlider* VolumeSlider() const { return mVolume; }
    QSlider* TempoSlider() const { return mTempo; }
    QSlider* BalanceSlider() const { return mBalance; }

public slots:
    void ButtonPlayClick();
    void ButtonStopClick();

protected slots:
    void DataListActivate() override;

private:
    void ShowSettings();

    TSelMusicModel mModel;
    QPushButton* mButtonPlay = nullptr;
    TModifierButton* mButtonStop = nullptr;
    QSlider* mFadeIn = nullptr;
    QSlider* mVolume = nullptr;
    QSlider* mTempo = nullptr;
    QSlider* mBalance = nullptr;
};

class TFormSelSound : public TFormSelBase {
    Q_OBJECT
public:
    explicit TFormSelSound(QWidget* owner);
    TSelSoundModel& Model() { return mModel; }
    void Open(const TKelSound& sound);

    QPushButton* ButtonPlay() const { return mButtonPlay; }
    QPushButton* ButtonStop() const { return mButtonStop; }
    QSlider* VolumeSlider() const { return mVolume; }
    QSlider* TempoSlider() const { return mTempo; }
    QSlider* BalanceSlider() const { return mBalance; }

public slots:
    void ButtonPlayClick();
    void ButtonStopClick();

private:
    TSelSoundModel mModel;
    QPushButton* mButtonPlay = nullptr;
    QPushButton* mButtonStop = nullptr;
    QSlider* mVolume = nullptr;
    QSlider* mTempo = nullptr;
    QSlider* mBalance = nullptr;
};

// Opens the music selector on `music`; on OK stores the chosen name and settings and answers true.
bool SelectMusic(QWidget* owner, TKelMusic& music, const QString& caption = {});
// The main window's "&BGM Selector...": the music selector only to listen, starting from the
// music now playing and its settings.
void ListenToMusic(QWidget* owner);
// Opens the sound selector on `sound`; on OK stores the chosen name and settings.
bool SelectSound(QWidget* owner, TKelSound& sound, const QString& caption = {});

}  // namespace quillon
