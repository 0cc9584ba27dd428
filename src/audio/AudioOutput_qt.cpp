#include "audio/AudioOutput_qt.h"

#include <QIODevice>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <mutex>

#ifdef QUILLON_QT_MULTIMEDIA
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#endif

namespace quillon::audio {

struct TQtMessageWindow::TShared {
    std::mutex Lock;
    std::condition_variable Done;
    bool Closed = false;
};

TQtMessageWindow::TQtMessageWindow() : mShared(std::make_shared<TShared>()), mContext(std::make_unique<QObject>()) {}

TQtMessageWindow::~TQtMessageWindow() { Close(); }

void TQtMessageWindow::Send(std::function<void()> call) {
    if (QThread::currentThread() == mContext->thread()) {
        bool closed = false;
        {
            std::lock_guard lock(mShared->Lock);
            closed = mShared->Closed;
        }
        if (!closed)
            call();
        return;
    }
    auto finished = std::make_shared<bool>(false);
    std::shared_ptr<TShared> shared = mShared;
    QMetaObject::invokeMethod(
        mContext.get(),
        [shared, finished, call = std::move(call)] {
            bool closed = false;
            {
                std::lock_guard lock(shared->Lock);
                closed = shared->Closed;
            }
            if (!closed)
                call();
            {
                std::lock_guard lock(shared->Lock);
                *finished = true;
            }
            shared->Done.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mShared->Lock);
    mShared->Done.wait(lock, [&] { return *finished || mShared->Closed; });
}

void TQtMessageWindow::Post(std::function<void()> call) {
    std::shared_ptr<TShared> shared = mShared;
    QMetaObject::invokeMethod(
        mContext.get(),
        [shared, call = std::move(call)] {
            bool closed = false;
            {
                std::lock_guard lock(shared->Lock);
                closed = shared->Closed;
            }
            if (!closed)
                call();
        },
        Qt::QueuedConnection);
}

void TQtMessageWindow::Close() {
    {
        std::lock_guard lock(mShared->Lock);
        mShared->Closed = true;
    }
    mShared->Done.notify_all();
}

// ---------------------------------------------------------------------------------------------

namespace {

// The mixer as a sequential device that the sink pulls from.
class TMixerDevice final : public QIODevice {
public:
    explicit TMixerDevice(std::shared_ptr<TAudioMixer> mixer) : mMixer(std::move(mixer)) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 1 << 16; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const auto frames = static_cast<std::size_t>(maxSize / 4);
        mMixer->Render(reinterpret_cast<std::int16_t*>(data), frames);
        return static_cast<qint64>(frames * 4);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::shared_ptr<TAudioMixer> mMixer;
};

}  // namespace

#ifdef QUILLON_QT_MULTIMEDIA

struct TQtAudioOutput::TDevice {
    TMixerDevice Source;
    QAudioSink Sink;
    TDevice(std::shared_ptr<TAudioMixer> mixer, const QAudioDevice& device, const QAudioFormat& format)
        : Source(std::move(mixer)), Sink(device, format) {}
    ~TDevice() { Sink.stop(); }
};

TQtAudioOutput::TQtAudioOutput(std::shared_ptr<TAudioMixer> mixer) : mMixer(std::move(mixer)) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(mMixer->OutputRate());
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isNull() && device.isFormatSupported(format)) {
        mDevice = std::make_unique<TDevice>(mMixer, device, format);
        mDevice->Source.open(QIODevice::ReadOnly);
        mDevice->Sink.setBufferSize(mMixer->OutputRate() / 10 * 4);  // 100 ms
        mDevice->Sink.start(&mDevice->Source);
        if (mDevice->Sink.error() != QAudio::NoError)
            mDevice.reset();
    }
    if (!mDevice)
        mSilent = std::make_unique<TSilentOutput>(mMixer);
}

#else

// Built without Qt Multimedia: the mix always goes to the silent output.
struct TQtAudioOutput::TDevice {};

TQtAudioOutput::TQtAudioOutput(std::shared_ptr<TAudioMixer> mixer)
    : mMixer(std::move(mixer)), mSilent(std::make_unique<TSilentOutput>(mMixer)) {}

#endif

TQtAudioOutput::~TQtAudioOutput() {
    mDevice.reset();
    mSilent.reset();
}

TAudioServices QtAudioServices() {
    TAudioServices services = DefaultAudioServices();
    services.MakeMessageWindow = [] { return std::make_unique<TQtMessageWindow>(); };
    return services;
}

// ---------------------------------------------------------------------------------------------

TQtAudioHost::TQtAudioHost() {
    mTimer.setInterval(50);
    QObject::connect(&mTimer, &QTimer::timeout, [] {
        if (TAudioHarmony* front = AudioFront())
            front->Timer();
    });
}

TQtAudioHost::~TQtAudioHost() { Free(); }

bool TQtAudioHost::Create() {
    if (AudioFront())
        return true;
    TAudioServices services = QtAudioServices();
    std::shared_ptr<TAudioMixer> mixer = services.Mixer;
    if (!AudioCreateWith(std::move(services)))
        return false;
    mOutput = std::make_unique<TQtAudioOutput>(mixer);
    mTimer.start();
    return AudioOpenWave();
}

bool TQtAudioHost::Free() {
    mTimer.stop();
    const bool freed = AudioFree();
    mOutput.reset();
    return freed;
}

}  // namespace quillon::audio
