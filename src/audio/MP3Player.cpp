#include "audio/MP3Player.h"

#include "audio/AudioErrors.h"
#include "platform/FileUtils.h"

#include <mpg123.h>

#include <algorithm>

namespace quillon::audio {

namespace {

struct TMpg123Handle {
    mpg123_handle* Handle = nullptr;
    ~TMpg123Handle() {
        if (Handle) {
            mpg123_close(Handle);
            mpg123_delete(Handle);
        }
    }
};

bool InitLibrary() {
    static const bool ok = mpg123_init() == MPG123_OK;
    return ok;
}

}  // namespace

TPcmSamples DecodeMp3(std::string_view bytes) {
    if (!InitLibrary())
        throw EDirectShowError::FromCode("VFW_E_CANNOT_RENDER");
    TMpg123Handle mh;
    int error = 0;
    mh.Handle = mpg123_new(nullptr, &error);
    if (!mh.Handle)
        throw EDirectShowError::FromCode("VFW_E_CANNOT_RENDER");
    mpg123_param(mh.Handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // Decode everything to signed 16-bit at the stream's own rate and channel count.
    mpg123_format_none(mh.Handle);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i)
        mpg123_format(mh.Handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(mh.Handle) != MPG123_OK)
        throw EDirectShowError::FromCode("VFW_E_CANNOT_RENDER");

    TPcmSamples pcm;
    pcm.Channels = 0;
    std::size_t limit = 0;
    std::vector<unsigned char> chunk(32768);
    std::size_t fed = 0;
    bool done = false;
    while (!done) {
        std::size_t got = 0;
        const int result = mpg123_read(mh.Handle, chunk.data(), chunk.size(), &got);
        if (got > 0 && pcm.Channels > 0) {
            const auto* samples = reinterpret_cast<const std::int16_t*>(chunk.data());
            const std::size_t count = std::min(got / 2, limit - std::min(limit, pcm.Samples.size()));
            pcm.Samples.insert(pcm.Samples.end(), samples, samples + count);
            if (pcm.Samples.size() >= limit)
                done = true;
        }
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(mh.Handle, &rate, &channels, &encoding);
            if (pcm.Channels == 0) {
                pcm.Channels = std::clamp(channels, 1, 2);
                pcm.SampleRate = static_cast<int>(rate);
                limit = static_cast<std::size_t>(rate) * pcm.Channels * kMaxMp3Seconds;
            } else if (channels != pcm.Channels || rate != pcm.SampleRate) {
                done = true;  // a format change mid-stream ends what we play
            }
        } else if (result == MPG123_NEED_MORE) {
            if (fed >= bytes.size())
                break;
            const std::size_t piece = std::min<std::size_t>(65536, bytes.size() - fed);
            mpg123_feed(mh.Handle, reinterpret_cast<const unsigned char*>(bytes.data() + fed), piece);
            fed += piece;
        } else if (result == MPG123_DONE) {
            break;
        } else if (result != MPG123_OK) {
            break;
        }
    }
    if (pcm.Channels == 0 || pcm.Samples.size() < static_cast<std::size_t>(pcm.Channels))
        throw EDirectShowError::FromCode("VFW_E_UNSUPPORTED_STREAM");
    pcm.Samples.resize(pcm.Samples.size() / pcm.Channels * pcm.Channels);
    return pcm;
}

TMP3Player::TMP3Player(std::shared_ptr<TAudioMixer> mixer, std::shared_ptr<IAudioClock> clock)
    : mMixer(std::move(mixer)), mClock(std::move(clock)) {
    if (!mMixer || !InitLibrary())
        throw EDirectShowError::FromCode("VFW_E_CANNOT_RENDER");
    if (!mClock)
        mClock = std::make_shared<TSteadyClock>();
}

TMP3Player::~TMP3Player() = default;

void TMP3Player::Play(const std::string& fileName) {
    Stop();
    std::string bytes;
    try {
        bytes = ReadWholeFile(fileName, kSoundFileLimit);
    } catch (const std::exception&) {
        throw EDirectShowError::FromCode("VFW_E_NOT_FOUND");
    }
    PlayMemory(bytes);
}

void TMP3Player::PlayMemory(std::string_view bytes) {
    Stop();
    auto samples = std::make_shared<TPcmSamples>(DecodeMp3(bytes));
    // A new stream plays at its own rate, centred and at full volume until the settings come.
    mVoice = std::make_unique<TMixerVoice>(mMixer, samples);
    mVoice->Play(true);
    mLoaded = true;
}

void TMP3Player::Stop() {
    mVoice.reset();
    mLoaded = false;
    mLooped = false;
}

void TMP3Player::FadeIn(int millis) {
    if (mFadingIn)
        return;
    mFadingIn = millis > 0;
    mFadingOut = false;
    mFadeMillis = std::max(0, millis);
    mFadeLevel = millis > 0 ? 0 : 100;
    mFadeStart = mClock->Now();
    Timer();
}

void TMP3Player::FadeOut(int millis) {
    if (mFadingOut)
        return;
    mFadingOut = millis > 0;
    mFadingIn = false;
    mFadeMillis = std::max(0, millis);
    mFadeLevel = millis > 0 ? 100 : 0;
    mFadeStart = mClock->Now();
    Timer();
}

void TMP3Player::SetBalance(int value) {
    mBalance = std::clamp(value, 0, 100);
    if (mVoice)
        mVoice->SetPan(BalanceToPan(mBalance));
}

void TMP3Player::SetVolume(int value) {
    mVolume = std::clamp(value, 0, 100);
    Timer();
}

void TMP3Player::SetTempo(int value) {
    mTempo = std::clamp(value, 1, 10000);
    if (mVoice) {
        const std::int64_t hz = static_cast<std::int64_t>(mVoice->Data()->SampleRate) * mTempo / 100;
        mVoice->SetFrequency(static_cast<int>(std::clamp<std::int64_t>(hz, 100, 200000)));
    }
}

void TMP3Player::Timer() {
    const std::int64_t now = mClock->Now();
    const std::int64_t span = std::max<std::int64_t>(1, mFadeMillis);
    if (mFadingIn) {
        const std::int64_t level = MulDiv(now - mFadeStart, 100, span);
        mFadeLevel = static_cast<int>(std::clamp<std::int64_t>(level, 0, 100));
        if (level >= 100)
            mFadingIn = false;
    } else if (mFadingOut) {
        const std::int64_t level = 100 - MulDiv(now - mFadeStart, 100, span);
        mFadeLevel = static_cast<int>(std::clamp<std::int64_t>(level, 0, 100));
        if (level <= 0)
            mFadingOut = false;
    }
    if (mVoice) {
        mVoice->SetVolume(VolumeToAttenuation(mVolume, mFadeLevel));
        if (mVoice->LoopCount() > 0)
            mLooped = true;
    }
}

}  // namespace quillon::audio
