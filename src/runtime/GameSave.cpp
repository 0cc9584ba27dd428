#include "runtime/GameSave.h"

#include "data/Catalog.h"
#include "data/LD_DataBase.h"
#include "data/StreamUtils.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <exception>

namespace quillon::runtime {

namespace {

// Every list of a save holds at most this many elements (IDs of switches, variables, items,
// events ... are bounded by kMaxStateId anyway).
constexpr std::uint32_t kMaxSavedCount = kMaxStateId;
// Pictures are numbered 1..50, vehicles 1..3 (kind + 1); others in a save are left out.
constexpr std::int32_t kMaxSavedPicture = 50;
constexpr std::int32_t kMaxSavedVehicle = 3;

// Little-endian 32-bit values packed into a dynamic buffer: the switches' IDs, the variables'
// and the items' pairs.
TDynamicBuffer PackInts(const std::vector<std::int32_t>& values) {
    TDynamicBuffer bytes(values.size() * 4);
    for (std::size_t i = 0; i < values.size(); ++i)
        for (int b = 0; b < 4; ++b)
            bytes[i * 4 + static_cast<std::size_t>(b)] =
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(values[i]) >> (8 * b));
    return bytes;
}

std::vector<std::int32_t> UnpackInts(const TDynamicBuffer& bytes) {
    std::vector<std::int32_t> values(std::min<std::size_t>(bytes.size() / 4, kMaxSavedCount * 2));
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::uint32_t value = 0;
        for (int b = 3; b >= 0; --b)
            value = value << 8 | bytes[i * 4 + static_cast<std::size_t>(b)];
        values[i] = static_cast<std::int32_t>(value);
    }
    return values;
}

TDynamicBuffer PackPairs(const std::vector<std::pair<std::int32_t, std::int32_t>>& pairs) {
    std::vector<std::int32_t> flat;
    flat.reserve(pairs.size() * 2);
    for (const auto& [id, value] : pairs) {
        flat.push_back(id);
        flat.push_back(value);
    }
    return PackInts(flat);
}

std::vector<std::pair<std::int32_t, std::int32_t>> UnpackPairs(const TDynamicBuffer& bytes) {
    const std::vector<std::int32_t> flat = UnpackInts(bytes);
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    pairs.reserve(flat.size() / 2);
    for (std::size_t i = 0; i + 1 < flat.size(); i += 2)
        pairs.emplace_back(flat[i], flat[i + 1]);
    return pairs;
}

// Doubles as little-endian 64-bit IEEE values (the screen's and the pictures' running values).
TDynamicBuffer PackDoubles(const double* values, std::size_t count) {
    std::vector<std::int32_t> halves;
    for (std::size_t i = 0; i < count; ++i) {
        const auto bits = std::bit_cast<std::uint64_t>(values[i]);
        halves.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(bits)));
        halves.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(bits >> 32)));
    }
    return PackInts(halves);
}

// Fills count doubles; a value that is not a finite number, or one the buffer lacks, raises.
void UnpackDoubles(const TDynamicBuffer& bytes, double* values, std::size_t count) {
    const std::vector<std::int32_t> halves = UnpackInts(bytes);
    if (halves.size() != count * 2)
        throw EReadError("a list of values has the wrong length");
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t bits = static_cast<std::uint32_t>(halves[i * 2]) |
                                   static_cast<std::uint64_t>(static_cast<std::uint32_t>(halves[i * 2 + 1])) << 32;
        values[i] = std::bit_cast<double>(bits);
        if (!std::isfinite(values[i]))
            throw EReadError("a value is not a number");
    }
}

// A flag of a record: written as a byte, read back as a bool.
class TFlags {
public:
    std::uint8_t* Bind(int slot) { return &mBytes[static_cast<std::size_t>(slot)]; }
    void Put(int slot, bool on) { mBytes[static_cast<std::size_t>(slot)] = on ? 1 : 0; }
    bool Get(int slot) const { return mBytes[static_cast<std::size_t>(slot)] != 0; }
    void Clear() { mBytes.fill(0); }

private:
    std::array<std::uint8_t, 16> mBytes{};
};

// The header record.
class THeaderRecord final : public TCatalogBaseItem {
public:
    explicit THeaderRecord(TSaveGame& game) : mGame(game) {}
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        TSaveSummary& s = mGame.Summary;
        switch (n) {
        case 1: SetIntField(d, &mGame.FormatVersion, 0, "version"); break;
        case 2: SetStringField(d, &mGame.Title, false, "title"); break;
        case 3: SetIntField(d, &mCheck, 0, "databaseCheck"); break;
        case 11: SetStringField(d, &s.FaceSet, true, "face"); break;
        case 12: SetIntField(d, &s.FaceIndex, 0, "faceIndex"); break;
        case 13: SetStringField(d, &s.Name, true, "name"); break;
        case 14: SetIntField(d, &s.Level, 0, "level"); break;
        case 15: SetIntField(d, &s.Hp, 0, "hp"); break;
        case 16: SetIntField(d, &s.PlayFrames, 0, "playTime"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 16; }
    void Reset() override {
        mGame.FormatVersion = 0;
        mGame.Title.clear();
        mGame.Summary = TSaveSummary{};
        mCheck = 0;
    }
    void SaveToStream(TStream& stream) override {
        mCheck = static_cast<std::int32_t>(mGame.DatabaseCheck);
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        mGame.DatabaseCheck = static_cast<std::uint32_t>(mCheck);
    }

private:
    TSaveGame& mGame;
    std::int32_t mCheck = 0;
};

// Section 1: money, timer, the save flag, the play time.
class TStateRecord final : public TCatalogBaseItem {
public:
    explicit TStateRecord(TSaveGame& game) : mGame(game) {}
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetIntField(d, &mGame.Money, 0, "money"); break;
        case 2: SetIntField(d, &mGame.TimerFrames, 0, "timerFrames"); break;
        case 3: SetByteField(d, reinterpret_cast<std::uint8_t*>(&mTimerRunning), 0, "timerRunning"); break;
        case 4: SetByteField(d, reinterpret_cast<std::uint8_t*>(&mSaveDisabled), 0, "saveDisabled"); break;
        case 5: SetIntField(d, &mGame.PlayFrames, 0, "playFrames"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 5; }
    void Reset() override {
        mGame.Money = mGame.TimerFrames = mGame.PlayFrames = 0;
        mTimerRunning = mSaveDisabled = 0;
    }
    void SaveToStream(TStream& stream) override {
        mTimerRunning = mGame.TimerRunning ? 1 : 0;
        mSaveDisabled = mGame.SaveDisabled ? 1 : 0;
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        mGame.TimerRunning = mTimerRunning != 0;
        mGame.SaveDisabled = mSaveDisabled != 0;
    }

private:
    TSaveGame& mGame;
    std::uint8_t mTimerRunning = 0;
    std::uint8_t mSaveDisabled = 0;
};

// Sections 2, 3, 4, 6: one packed buffer in field 1.
class TPackedRecord final : public TCatalogBaseItem {
public:
    TDynamicBuffer Bytes;
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        if (n == 1)
            SetDynamicField(d, &Bytes, static_cast<std::int32_t>(Bytes.size()), "values");
    }
    int LastFieldNumber() const override { return 1; }
    void Reset() override { Bytes.clear(); }
};

// Section 5: the heroes, one element per hero (ID = the hero's).
class THeroItem final : public TCatalogItem {
public:
    THeroState Hero;
    void DescribeField(int n, TCatalogVarData& d, bool loading) override {
        switch (n) {
        case 1: SetStringField(d, &Hero.Name, true, "name"); break;
        case 2: SetStringField(d, &Hero.Degree, true, "degree"); break;
        case 3: SetIntField(d, &Hero.Level, 1, "level"); break;
        case 4: SetIntField(d, &Hero.Exp, 0, "exp"); break;
        case 5: SetIntField(d, &Hero.Hp, 0, "hp"); break;
        case 6: SetIntField(d, &Hero.Mp, 0, "mp"); break;
        case 7: SetStringField(d, &Hero.CharSet, true, "charSet"); break;
        case 8: SetIntField(d, &Hero.CharIndex, 0, "charIndex"); break;
        case 9: SetByteField(d, reinterpret_cast<std::uint8_t*>(&mTransparent), 0, "transparent"); break;
        case 10: SetStringField(d, &Hero.FaceSet, true, "faceSet"); break;
        case 11: SetIntField(d, &Hero.FaceIndex, 0, "faceIndex"); break;
        // The lists are written only when they hold something.
        case 12:
            if (loading || !mSkills.empty())
                SetDynamicField(d, &mSkills, static_cast<std::int32_t>(mSkills.size()), "skills");
            break;
        case 13:
            if (loading || !mConditions.empty())
                SetDynamicField(d, &mConditions, static_cast<std::int32_t>(mConditions.size()), "conditions");
            break;
        default:
            if (n >= 21 && n <= 25)
                SetIntField(d, &Hero.Equipment[static_cast<std::size_t>(n - 21)], 0, "equipment");
            else if (n >= 31 && n < 31 + kHeroParameters)
                SetIntField(d, &Hero.AbilityChanges[static_cast<std::size_t>(n - 31)], 0, "abilityChange");
            break;
        }
    }
    int LastFieldNumber() const override { return 30 + kHeroParameters; }
    void Reset() override {
        Hero = THeroState{};
        mTransparent = 0;
        mSkills.clear();
        mConditions.clear();
    }
    void SaveToStream(TStream& stream) override {
        mTransparent = Hero.CharTransparent ? 1 : 0;
        mSkills = PackInts(std::vector<std::int32_t>(Hero.Skills.begin(), Hero.Skills.end()));
        mConditions = PackInts(std::vector<std::int32_t>(Hero.Conditions.begin(), Hero.Conditions.end()));
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        Hero.CharTransparent = mTransparent != 0;
        Hero.Id = ID;
        for (const std::int32_t skill : UnpackInts(mSkills))
            Hero.Skills.insert(skill);
        for (const std::int32_t condition : UnpackInts(mConditions))
            Hero.Conditions.insert(condition);
    }

private:
    std::uint8_t mTransparent = 0;
    TDynamicBuffer mSkills;      // skill IDs learned
    TDynamicBuffer mConditions;  // condition IDs the hero has
};

// Section 7: the map and the hero's place.
class TPlaceRecord final : public TCatalogBaseItem {
public:
    explicit TPlaceRecord(TSaveGame& game) : mGame(game) {}
    void DescribeField(int n, TCatalogVarData& d, bool loading) override {
        switch (n) {
        case 1: SetIntField(d, &mGame.MapId, 0, "map"); break;
        case 2: SetIntField(d, &mGame.HeroX, 0, "x"); break;
        case 3: SetIntField(d, &mGame.HeroY, 0, "y"); break;
        case 4: SetIntField(d, &mGame.HeroDirection, 2, "direction"); break;
        case 5:
            if (loading || !mMotion.empty())
                SetDynamicField(d, &mMotion, static_cast<std::int32_t>(mMotion.size()), "motion");
            break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 5; }
    void Reset() override {
        mGame.MapId = mGame.HeroX = mGame.HeroY = 0;
        mGame.HeroDirection = 2;
        mGame.HeroMotion.clear();
        mMotion.clear();
    }
    void SaveToStream(TStream& stream) override {
        mMotion = PackInts(mGame.HeroMotion);
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        mGame.HeroMotion = UnpackInts(mMotion);
    }

private:
    TSaveGame& mGame;
    TDynamicBuffer mMotion;
};

// Section 8: the map's events (ID = the event's).
class TEventItem final : public TCatalogItem {
public:
    TSavedEvent Event;
    void DescribeField(int n, TCatalogVarData& d, bool loading) override {
        switch (n) {
        case 1: SetIntField(d, &Event.X, 0, "x"); break;
        case 2: SetIntField(d, &Event.Y, 0, "y"); break;
        case 3: SetIntField(d, &Event.Direction, 2, "direction"); break;
        case 4: SetByteField(d, reinterpret_cast<std::uint8_t*>(&mErased), 0, "erased"); break;
        case 5:
            if (loading || !mMotion.empty())
                SetDynamicField(d, &mMotion, static_cast<std::int32_t>(mMotion.size()), "motion");
            break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 5; }
    void Reset() override {
        Event = TSavedEvent{};
        mErased = 0;
        mMotion.clear();
    }
    void SaveToStream(TStream& stream) override {
        mErased = Event.Erased ? 1 : 0;
        mMotion = PackInts(Event.Motion);
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        Event.Erased = mErased != 0;
        Event.Id = ID;
        Event.Motion = UnpackInts(mMotion);
    }

private:
    std::uint8_t mErased = 0;
    TDynamicBuffer mMotion;
};

// Section 9: the running scripts (ID = 1, 2, … in order), each with its frames (ID = depth + 1).
class TFrameItem final : public TCatalogItem {
public:
    TSavedFrame Frame;
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetIntField(d, &Frame.MapId, 0, "map"); break;
        case 2: SetIntField(d, &Frame.EventId, 0, "event"); break;
        case 3: SetIntField(d, &Frame.PageId, 0, "page"); break;
        case 4: SetIntField(d, &Frame.CommonId, 0, "commonEvent"); break;
        case 5: SetIntField(d, &Frame.Pc, 0, "line"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 5; }
    void Reset() override { Frame = TSavedFrame{}; }
};

class TScriptItem final : public TCatalogItem {
public:
    TSavedScript Script;
    TCatalogOf<TFrameItem> Frames;
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetIntField(d, &Script.Kind, 0, "kind"); break;
        case 2: SetIntField(d, &Script.OwnerId, 0, "owner"); break;
        case 3: SetByteField(d, reinterpret_cast<std::uint8_t*>(&mByDecision), 0, "byDecision"); break;
        case 4: SetIntField(d, &Script.WaitFrames, 0, "wait"); break;
        case 5: SetListField(d, &Frames, "frames"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 5; }
    void Reset() override {
        Script = TSavedScript{};
        Frames.Clear();
        mByDecision = 0;
    }
    void SaveToStream(TStream& stream) override {
        mByDecision = Script.ByDecision ? 1 : 0;
        Frames.Clear();
        for (const TSavedFrame& frame : Script.Frames)
            Frames.Append().Frame = frame;
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        Script.ByDecision = mByDecision != 0;
        if (Frames.Count() > kMaxSavedScriptDepth)
            throw EReadError("a script's call stack is too deep");
        for (int i = 0; i < Frames.Count(); ++i)
            Script.Frames.push_back(Frames.Items(i)->Frame);
    }
    static constexpr int kMaxSavedScriptDepth = 64;

private:
    std::uint8_t mByDecision = 0;
};

template <class TItem>
void CheckCount(const TCatalogOf<TItem>& list) {
    if (static_cast<std::uint32_t>(list.Count()) > kMaxSavedCount)
        throw EReadError("a list holds too many elements");
}

// Section 10: the screen.
class TScreenRecord final : public TCatalogBaseItem {
public:
    explicit TScreenRecord(TSaveGame& game) : mGame(game) {}
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        TSavedScreen& s = mGame.Screen;
        switch (n) {
        case 1: SetDynamicField(d, &mToneNow, static_cast<std::int32_t>(mToneNow.size()), "toneNow"); break;
        case 2: case 3: case 4: case 5: SetIntField(d, &s.ToneTarget[static_cast<std::size_t>(n - 2)], 100, "tone"); break;
        case 6: SetIntField(d, &s.ToneFrames, 0, "toneFrames"); break;
        case 7: SetIntField(d, &s.WeatherKind, 0, "weather"); break;
        case 8: SetIntField(d, &s.WeatherStrength, 0, "weatherStrength"); break;
        case 9: SetDynamicField(d, &mDrops, static_cast<std::int32_t>(mDrops.size()), "drops"); break;
        case 10: SetDynamicField(d, &mTransitions, static_cast<std::int32_t>(mTransitions.size()), "transitions"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 10; }
    void Reset() override {
        mGame.Screen = TSavedScreen{};
        mToneNow.clear();
        mDrops.clear();
        mTransitions.clear();
    }
    void SaveToStream(TStream& stream) override {
        mToneNow = PackDoubles(mGame.Screen.ToneNow.data(), mGame.Screen.ToneNow.size());
        mDrops = PackInts(mGame.Screen.WeatherDrops);
        mTransitions = PackInts(mGame.Screen.Transitions);
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        UnpackDoubles(mToneNow, mGame.Screen.ToneNow.data(), mGame.Screen.ToneNow.size());
        mGame.Screen.WeatherDrops = UnpackInts(mDrops);
        mGame.Screen.Transitions = UnpackInts(mTransitions);
    }

private:
    TSaveGame& mGame;
    TDynamicBuffer mToneNow;
    TDynamicBuffer mDrops;
    TDynamicBuffer mTransitions;
};

// Section 11: the shown pictures (ID = the picture's number).
class TPictureItem final : public TCatalogItem {
public:
    TSavedPicture Picture;
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetStringField(d, &Picture.Name, false, "name"); break;
        case 2: SetByteField(d, mFlags.Bind(0), 0, "moveWithMap"); break;
        case 3: SetByteField(d, mFlags.Bind(1), 0, "transparentColor"); break;
        case 4: SetDynamicField(d, &mValues, static_cast<std::int32_t>(mValues.size()), "values"); break;
        case 5: SetIntField(d, &Picture.FramesLeft, 0, "framesLeft"); break;
        case 6: SetIntField(d, &Picture.Effect, 0, "effect"); break;
        case 7: SetIntField(d, &Picture.Strength, 0, "strength"); break;
        case 8: SetIntField(d, &Picture.CameraX, 0, "cameraX"); break;
        case 9: SetIntField(d, &Picture.CameraY, 0, "cameraY"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 9; }
    void Reset() override {
        Picture = TSavedPicture{};
        mFlags.Clear();
        mValues.clear();
    }
    void SaveToStream(TStream& stream) override {
        mFlags.Put(0, Picture.MoveWithMap);
        mFlags.Put(1, Picture.TransparentColor);
        std::array<double, kValues> values{};
        std::copy(Picture.Now.begin(), Picture.Now.end(), values.begin());
        std::copy(Picture.Target.begin(), Picture.Target.end(), values.begin() + 8);
        values[16] = Picture.Angle;
        values[17] = Picture.Phase;
        mValues = PackDoubles(values.data(), values.size());
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        Picture.Number = ID;
        Picture.MoveWithMap = mFlags.Get(0);
        Picture.TransparentColor = mFlags.Get(1);
        std::array<double, kValues> values{};
        UnpackDoubles(mValues, values.data(), values.size());
        std::copy(values.begin(), values.begin() + 8, Picture.Now.begin());
        std::copy(values.begin() + 8, values.begin() + 16, Picture.Target.begin());
        Picture.Angle = values[16];
        Picture.Phase = values[17];
    }

private:
    static constexpr std::size_t kValues = 18;
    TFlags mFlags;
    TDynamicBuffer mValues;
};

// Section 12: the vehicles (ID = kind + 1).
class TVehicleItem final : public TCatalogItem {
public:
    TSavedVehicle Vehicle;
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetIntField(d, &Vehicle.MapId, 0, "map"); break;
        case 2: SetIntField(d, &Vehicle.X, 0, "x"); break;
        case 3: SetIntField(d, &Vehicle.Y, 0, "y"); break;
        case 4: SetIntField(d, &Vehicle.Direction, 3, "direction"); break;
        case 5: SetStringField(d, &Vehicle.CharSet, true, "charSet"); break;
        case 6: SetIntField(d, &Vehicle.CharIndex, 0, "charIndex"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 6; }
    void Reset() override { Vehicle = TSavedVehicle{}; }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        Vehicle.Kind = ID - 1;
    }
};

// A music (or sound: no fade-in) setting, a record inside a record.
class TMusicRecord final : public TCatalogBaseItem {
public:
    TMusicSettings* Music = nullptr;
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetStringField(d, &Music->Name, false, "name"); break;
        case 2: SetIntField(d, &Music->FadeIn, 0, "fadeIn"); break;
        case 3: SetIntField(d, &Music->Volume, 100, "volume"); break;
        case 4: SetIntField(d, &Music->Tempo, 100, "tempo"); break;
        case 5: SetIntField(d, &Music->Balance, 50, "balance"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 5; }
    void Reset() override { *Music = TMusicSettings{}; }
};

// A place of a map with the switch a teleport there turns on (ID = the map it belongs to).
class TPlaceItem final : public TCatalogItem {
public:
    TTeleportPlace Place;
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetIntField(d, &Place.Place.MapId, 0, "map"); break;
        case 2: SetIntField(d, &Place.Place.X, 0, "x"); break;
        case 3: SetIntField(d, &Place.Place.Y, 0, "y"); break;
        case 4: SetIntField(d, &Place.SwitchId, 0, "switch"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 4; }
    void Reset() override { Place = TTeleportPlace{}; }
};

// Section 13: what the map commands remember. Optional parts are lists of none or one element.
class TMapStateRecord final : public TCatalogBaseItem {
public:
    explicit TMapStateRecord(TSaveGame& game) : mGame(game) {
        mPlaying.Music = &mGame.MapState.Playing;
        mBeforeRide.Music = &mGame.MapState.BeforeRide;
        mMemorizedMusic.Music = &mMemorizedMusicValue;
    }
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        TGameMapState& s = mGame.MapState;
        switch (n) {
        case 1: SetByteField(d, mFlags.Bind(0), 1, "save"); break;
        case 2: SetByteField(d, mFlags.Bind(1), 1, "menu"); break;
        case 3: SetByteField(d, mFlags.Bind(2), 1, "escape"); break;
        case 4: SetByteField(d, mFlags.Bind(3), 1, "teleport"); break;
        case 5: SetByteField(d, mFlags.Bind(4), 0, "parallelsStopped"); break;
        case 6: SetIntField(d, &s.EncounterSteps, 0, "encounterSteps"); break;
        case 7: SetListField(d, &mMemorized, "memorized"); break;
        case 8: SetListField(d, &mEscape, "escapePlace"); break;
        case 9: SetListField(d, &mTeleports, "teleportPlaces"); break;
        case 10: SetRecordField(d, &mPlaying, "playing"); break;
        case 11: SetByteField(d, mFlags.Bind(5), 0, "musicMemorized"); break;
        case 12: SetRecordField(d, &mMemorizedMusic, "memorizedMusic"); break;
        case 13: SetRecordField(d, &mBeforeRide, "beforeRide"); break;
        case 14: SetIntField(d, &mGame.Riding, -1, "riding"); break;
        case 15: SetByteField(d, mFlags.Bind(6), 0, "timerShown"); break;
        case 16: SetByteField(d, mFlags.Bind(7), 0, "timerInBattle"); break;
        case 17: SetIntField(d, &mGame.EncounterLeft, -1, "encounterLeft"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 17; }
    void Reset() override {
        mGame.MapState = TGameMapState{};
        mGame.Riding = mGame.EncounterLeft = -1;
        mGame.TimerShown = mGame.TimerInBattle = false;
        mFlags.Clear();
        for (int i = 0; i < 4; ++i)
            mFlags.Put(i, true);  // the permissions' defaults
        mMemorizedMusicValue = TMusicSettings{};
        mMemorized.Clear();
        mEscape.Clear();
        mTeleports.Clear();
    }
    void SaveToStream(TStream& stream) override {
        const TGameMapState& s = mGame.MapState;
        const bool flags[] = {s.SaveEnabled,      s.MenuEnabled,       s.EscapeEnabled,   s.TeleportEnabled,
                              s.ParallelsStopped, s.MemorizedMusic.has_value(), mGame.TimerShown, mGame.TimerInBattle};
        for (int i = 0; i < 8; ++i)
            mFlags.Put(i, flags[i]);
        mMemorizedMusicValue = s.MemorizedMusic.value_or(TMusicSettings{});
        mMemorized.Clear();
        if (s.Memorized)
            mMemorized.Obtain(1).Place.Place = *s.Memorized;
        mEscape.Clear();
        if (s.EscapePlace)
            mEscape.Obtain(1).Place = *s.EscapePlace;
        mTeleports.Clear();
        for (const auto& [mapId, place] : s.TeleportPlaces)
            mTeleports.Obtain(mapId).Place = place;
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        CheckCount(mTeleports);
        TGameMapState& s = mGame.MapState;
        s.SaveEnabled = mFlags.Get(0);
        s.MenuEnabled = mFlags.Get(1);
        s.EscapeEnabled = mFlags.Get(2);
        s.TeleportEnabled = mFlags.Get(3);
        s.ParallelsStopped = mFlags.Get(4);
        if (mFlags.Get(5))
            s.MemorizedMusic = mMemorizedMusicValue;
        mGame.TimerShown = mFlags.Get(6);
        mGame.TimerInBattle = mFlags.Get(7);
        if (mMemorized.Count() > 0)
            s.Memorized = mMemorized.Items(0)->Place.Place;
        if (mEscape.Count() > 0)
            s.EscapePlace = mEscape.Items(0)->Place;
        for (int i = 0; i < mTeleports.Count(); ++i)
            s.TeleportPlaces[mTeleports.Items(i)->ID] = mTeleports.Items(i)->Place;
    }

private:
    TSaveGame& mGame;
    TFlags mFlags;
    TMusicSettings mMemorizedMusicValue;
    TMusicRecord mPlaying;
    TMusicRecord mMemorizedMusic;
    TMusicRecord mBeforeRide;
    TCatalogOf<TPlaceItem> mMemorized;
    TCatalogOf<TPlaceItem> mEscape;
    TCatalogOf<TPlaceItem> mTeleports;
};

// Section 14: the system music (fields 1..8), sounds (11..22) and graphic.
class TSystemRecord final : public TCatalogBaseItem {
public:
    explicit TSystemRecord(TSaveGame& game) : mGame(game) {
        for (std::size_t i = 0; i < mMusic.size(); ++i)
            mMusic[i].Music = &mGame.System.Music[i];
        for (std::size_t i = 0; i < mSounds.size(); ++i)
            mSounds[i].Music = &mGame.System.Sounds[i];
    }
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        TSavedSystem& s = mGame.System;
        if (n >= 1 && n <= kMusic)
            SetRecordField(d, &mMusic[static_cast<std::size_t>(n - 1)], "music");
        else if (n >= 11 && n < 11 + kSounds)
            SetRecordField(d, &mSounds[static_cast<std::size_t>(n - 11)], "sound");
        else if (n == 31)
            SetStringField(d, &s.SystemGraphic, false, "systemGraphic");
        else if (n == 32)
            SetIntField(d, &s.Wallpaper, 0, "wallpaper");
        else if (n == 33)
            SetIntField(d, &s.FontStyle, 0, "fontStyle");
    }
    int LastFieldNumber() const override { return 33; }
    void Reset() override { mGame.System = TSavedSystem{}; }

private:
    static constexpr int kMusic = static_cast<int>(std::tuple_size_v<decltype(TSavedSystem::Music)>);
    static constexpr int kSounds = static_cast<int>(std::tuple_size_v<decltype(TSavedSystem::Sounds)>);
    TSaveGame& mGame;
    std::array<TMusicRecord, kMusic> mMusic;
    std::array<TMusicRecord, kSounds> mSounds;
};

// Section 15: the random source's position, as its two 32-bit halves.
class TRandomRecord final : public TCatalogBaseItem {
public:
    explicit TRandomRecord(TSaveGame& game) : mGame(game) {}
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        if (n == 1)
            SetIntField(d, &mLow, 0, "low");
        else if (n == 2)
            SetIntField(d, &mHigh, 0, "high");
    }
    int LastFieldNumber() const override { return 2; }
    void Reset() override { mLow = mHigh = 0; }
    void SaveToStream(TStream& stream) override {
        mLow = static_cast<std::int32_t>(static_cast<std::uint32_t>(mGame.RandomState));
        mHigh = static_cast<std::int32_t>(static_cast<std::uint32_t>(mGame.RandomState >> 32));
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        mGame.RandomState = static_cast<std::uint32_t>(mLow) | static_cast<std::uint64_t>(static_cast<std::uint32_t>(mHigh)) << 32;
    }

private:
    TSaveGame& mGame;
    std::int32_t mLow = 0;
    std::int32_t mHigh = 0;
};

// 16-bit cells packed little-endian (a map layer's).
TDynamicBuffer PackCells(const std::vector<std::uint16_t>& cells) {
    TDynamicBuffer bytes(cells.size() * 2);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        bytes[i * 2] = static_cast<std::uint8_t>(cells[i]);
        bytes[i * 2 + 1] = static_cast<std::uint8_t>(cells[i] >> 8);
    }
    return bytes;
}

std::vector<std::uint16_t> UnpackCells(const TDynamicBuffer& bytes) {
    // A map is at most 999 x 999 cells.
    constexpr std::size_t kMaxSavedCells = std::size_t{999} * 999;
    if (bytes.size() % 2 != 0 || bytes.size() / 2 > kMaxSavedCells)
        throw EReadError("a map layer has the wrong size");
    std::vector<std::uint16_t> cells(bytes.size() / 2);
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] = static_cast<std::uint16_t>(bytes[i * 2] | bytes[i * 2 + 1] << 8);
    return cells;
}

// Section 17: the map's look as the map commands changed it.
class TMapLookRecord final : public TCatalogBaseItem {
public:
    explicit TMapLookRecord(TSaveGame& game) : mGame(game) {}
    void DescribeField(int n, TCatalogVarData& d, bool loading) override {
        TSavedMapLook& s = mGame.MapLook;
        switch (n) {
        case 1: SetIntField(d, &s.ChipSetId, 0, "chipSet"); break;
        case 2: SetByteField(d, mFlags.Bind(0), 0, "panorama"); break;
        case 3: SetStringField(d, &s.PanoramaName, false, "panoramaName"); break;
        case 4: SetByteField(d, mFlags.Bind(1), 0, "panX"); break;
        case 5: SetByteField(d, mFlags.Bind(2), 0, "panY"); break;
        case 6: SetByteField(d, mFlags.Bind(3), 0, "autoX"); break;
        case 7: SetIntField(d, &s.PanoramaSpeedX, 0, "speedX"); break;
        case 8: SetByteField(d, mFlags.Bind(4), 0, "autoY"); break;
        case 9: SetIntField(d, &s.PanoramaSpeedY, 0, "speedY"); break;
        case 10: SetIntField(d, &s.PanoramaOffsetX, 0, "offsetX"); break;
        case 11: SetIntField(d, &s.PanoramaOffsetY, 0, "offsetY"); break;
        // The layers are written only once a chip was changed.
        case 12:
            if (loading || !mLower.empty())
                SetDynamicField(d, &mLower, static_cast<std::int32_t>(mLower.size()), "lower");
            break;
        case 13:
            if (loading || !mUpper.empty())
                SetDynamicField(d, &mUpper, static_cast<std::int32_t>(mUpper.size()), "upper");
            break;
        case 14: SetByteField(d, mFlags.Bind(5), 0, "panoramaChanged"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 14; }
    void Reset() override {
        mGame.MapLook = TSavedMapLook{};
        mFlags.Clear();
        mLower.clear();
        mUpper.clear();
    }
    void SaveToStream(TStream& stream) override {
        const TSavedMapLook& s = mGame.MapLook;
        const bool flags[] = {s.PanoramaEnabled, s.PanoramaPanX,  s.PanoramaPanY,
                              s.PanoramaAutoX,   s.PanoramaAutoY, s.PanoramaChanged};
        for (int i = 0; i < 6; ++i)
            mFlags.Put(i, flags[i]);
        mLower = PackCells(s.Lower);
        mUpper = PackCells(s.Upper);
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        TSavedMapLook& s = mGame.MapLook;
        s.PanoramaEnabled = mFlags.Get(0);
        s.PanoramaPanX = mFlags.Get(1);
        s.PanoramaPanY = mFlags.Get(2);
        s.PanoramaAutoX = mFlags.Get(3);
        s.PanoramaAutoY = mFlags.Get(4);
        s.PanoramaChanged = mFlags.Get(5);
        s.Lower = UnpackCells(mLower);
        s.Upper = UnpackCells(mUpper);
    }

private:
    TSaveGame& mGame;
    TFlags mFlags;
    TDynamicBuffer mLower;
    TDynamicBuffer mUpper;
};

// Section 18: the routes scripts set (ID = 1, 2, … in order).
class TRouteItem final : public TCatalogItem {
public:
    TSavedRoute Route;
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetIntField(d, &Route.Character, 0, "character"); break;
        case 2: SetDynamicField(d, &mCommands, static_cast<std::int32_t>(mCommands.size()), "commands"); break;
        case 3: SetIntField(d, &Route.Index, 0, "index"); break;
        case 4: SetByteField(d, mFlags.Bind(0), 0, "repeat"); break;
        case 5: SetByteField(d, mFlags.Bind(1), 0, "skippable"); break;
        case 6: SetIntField(d, &Route.Frequency, 8, "frequency"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 6; }
    void Reset() override {
        Route = TSavedRoute{};
        mFlags.Clear();
        mCommands.clear();
    }
    void SaveToStream(TStream& stream) override {
        mFlags.Put(0, Route.Repeat);
        mFlags.Put(1, Route.Skippable);
        mCommands.assign(Route.Commands.begin(), Route.Commands.end());
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        if (mCommands.size() > kMaxSavedRouteBytes)
            throw EReadError("a route is too long");
        Route.Repeat = mFlags.Get(0);
        Route.Skippable = mFlags.Get(1);
        Route.Commands.assign(mCommands.begin(), mCommands.end());
    }
    // A route of a command line is far shorter.
    static constexpr std::size_t kMaxSavedRouteBytes = 64 * 1024;

private:
    TFlags mFlags;
    TDynamicBuffer mCommands;
};

// Section 19: the screen's flash, shake and pan.
class TEffectsRecord final : public TCatalogBaseItem {
public:
    explicit TEffectsRecord(TSaveGame& game) : mGame(game) {}
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        TSavedEffects& s = mGame.Effects;
        switch (n) {
        case 1: case 2: case 3: case 4: SetIntField(d, &s.FlashColor[static_cast<std::size_t>(n - 1)], 0, "flash"); break;
        case 5: SetIntField(d, &s.FlashFrames, 0, "flashFrames"); break;
        case 6: SetIntField(d, &s.FlashTotal, 0, "flashTotal"); break;
        case 7: SetIntField(d, &s.ShakePower, 0, "shakePower"); break;
        case 8: SetIntField(d, &s.ShakeSpeed, 0, "shakeSpeed"); break;
        case 9: SetIntField(d, &s.ShakeFrames, 0, "shakeFrames"); break;
        case 10: SetDynamicField(d, &mShakePosition, static_cast<std::int32_t>(mShakePosition.size()), "shakePosition"); break;
        case 11: SetIntField(d, &s.ShakeDirection, 1, "shakeDirection"); break;
        case 12: SetByteField(d, mFlags.Bind(0), 0, "panFixed"); break;
        case 13: SetByteField(d, mFlags.Bind(1), 0, "panMoving"); break;
        case 14: SetByteField(d, mFlags.Bind(2), 0, "panReturning"); break;
        case 15: SetIntField(d, &s.PanX, 0, "panX"); break;
        case 16: SetIntField(d, &s.PanY, 0, "panY"); break;
        case 17: SetIntField(d, &s.PanTargetX, 0, "panTargetX"); break;
        case 18: SetIntField(d, &s.PanTargetY, 0, "panTargetY"); break;
        case 19: SetIntField(d, &s.PanSpeed, 0, "panSpeed"); break;
        case 20: SetByteField(d, mFlags.Bind(3), 0, "cameraHeld"); break;
        case 21: SetIntField(d, &s.HeldX, 0, "heldX"); break;
        case 22: SetIntField(d, &s.HeldY, 0, "heldY"); break;
        default: break;
        }
    }
    int LastFieldNumber() const override { return 22; }
    void Reset() override {
        mGame.Effects = TSavedEffects{};
        mFlags.Clear();
        mShakePosition.clear();
    }
    void SaveToStream(TStream& stream) override {
        const TSavedEffects& s = mGame.Effects;
        const bool flags[] = {s.PanFixed, s.PanMoving, s.PanReturning, s.CameraHeld};
        for (int i = 0; i < 4; ++i)
            mFlags.Put(i, flags[i]);
        mShakePosition = PackDoubles(&s.ShakePosition, 1);
        TCatalogBaseItem::SaveToStream(stream);
    }
    void LoadFromStream(TStream& stream) override {
        TCatalogBaseItem::LoadFromStream(stream);
        TSavedEffects& s = mGame.Effects;
        UnpackDoubles(mShakePosition, &s.ShakePosition, 1);
        s.PanFixed = mFlags.Get(0);
        s.PanMoving = mFlags.Get(1);
        s.PanReturning = mFlags.Get(2);
        s.CameraHeld = mFlags.Get(3);
    }

private:
    TSaveGame& mGame;
    TFlags mFlags;
    TDynamicBuffer mShakePosition;
};

void WriteSection(TMemoryStream& out, int number, TCatalogBaseItem* record, TCatalog* list) {
    TMemoryStream body;
    if (record)
        record->SaveToStream(body);
    else
        list->SaveToStream(body);
    WriteVarInt(out, number);
    WriteVarInt(out, static_cast<std::int32_t>(body.Size()));
    out.CopyFrom(body);
}

void WriteRecordSection(TMemoryStream& out, int number, TCatalogBaseItem& record) {
    WriteSection(out, number, &record, nullptr);
}
void WriteListSection(TMemoryStream& out, int number, TCatalog& list) { WriteSection(out, number, nullptr, &list); }

void WritePacked(TMemoryStream& out, int number, TDynamicBuffer bytes) {
    TPackedRecord record;
    record.Bytes = std::move(bytes);
    WriteRecordSection(out, number, record);
}

// A record section bound to the game: written from it, or read into it.
template <class TRecord>
void WriteRecordOf(TMemoryStream& out, int number, TSaveGame& game) {
    TRecord record(game);
    WriteRecordSection(out, number, record);
}
template <class TRecord>
void ReadRecordOf(TStream& body, TSaveGame& game) {
    TRecord record(game);
    record.LoadFromStream(body);
}

// A list section's values in their order; with maxId, only those numbered 1..maxId.
template <class TItem, class TValue>
std::vector<TValue> ReadListOf(TStream& body, TValue TItem::*value, std::int32_t maxId = 0) {
    TCatalogOf<TItem> list;
    list.LoadFromStream(body);
    CheckCount(list);
    std::vector<TValue> values;
    for (int i = 0; i < list.Count(); ++i)
        if (maxId == 0 || (list.Items(i)->ID >= 1 && list.Items(i)->ID <= maxId))
            values.push_back(list.Items(i)->*value);
    return values;
}

// Reads one section's bytes into the game; raises EReadError when they are not sound.
void ReadSection(int number, TStream& body, TSaveGame& game) {
    switch (number) {
    case kSectionState: ReadRecordOf<TStateRecord>(body, game); break;
    case kSectionSwitches:
    case kSectionVariables:
    case kSectionItems:
    case kSectionItemUses:
    case kSectionParty: {
        TPackedRecord record;
        record.LoadFromStream(body);
        if (number == kSectionSwitches)
            game.Switches = UnpackInts(record.Bytes);
        else if (number == kSectionParty)
            game.Party = UnpackInts(record.Bytes);
        else if (number == kSectionItemUses)
            game.ItemUses = UnpackPairs(record.Bytes);
        else
            (number == kSectionVariables ? game.Variables : game.Items) = UnpackPairs(record.Bytes);
        break;
    }
    case kSectionHeroes: game.Heroes = ReadListOf(body, &THeroItem::Hero); break;
    case kSectionPlace: ReadRecordOf<TPlaceRecord>(body, game); break;
    case kSectionEvents: game.Events = ReadListOf(body, &TEventItem::Event); break;
    case kSectionScripts: game.Scripts = ReadListOf(body, &TScriptItem::Script); break;
    case kSectionScreen: ReadRecordOf<TScreenRecord>(body, game); break;
    case kSectionPictures: game.Pictures = ReadListOf(body, &TPictureItem::Picture, kMaxSavedPicture); break;
    case kSectionVehicles: game.Vehicles = ReadListOf(body, &TVehicleItem::Vehicle, kMaxSavedVehicle); break;
    case kSectionMapState: ReadRecordOf<TMapStateRecord>(body, game); break;
    case kSectionSystem: ReadRecordOf<TSystemRecord>(body, game); break;
    case kSectionRandom: ReadRecordOf<TRandomRecord>(body, game); break;
    case kSectionMapLook: ReadRecordOf<TMapLookRecord>(body, game); break;
    case kSectionRoutes: game.Routes = ReadListOf(body, &TRouteItem::Route); break;
    case kSectionEffects: ReadRecordOf<TEffectsRecord>(body, game); break;
    default: return;  // a section of a newer player: skipped
    }
    game.Sections.push_back(number);
}

TSaveRead Refused(TSaveProblem problem, std::string message) {
    TSaveRead read;
    read.Problem = problem;
    read.Message = std::move(message);
    return read;
}

}  // namespace

std::string SaveFileName(int slot) {
    char name[16];
    std::snprintf(name, sizeof name, "Save%02d.ksv", slot);
    return name;
}

bool TSaveGame::Has(int section) const {
    return std::find(Sections.begin(), Sections.end(), section) != Sections.end();
}

std::uint32_t SaveCrc(std::string_view bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most 4 GiB a call; a save is far smaller.
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
    return static_cast<std::uint32_t>(crc);
}

std::uint32_t DatabaseCheck(TKelDataBase& database) {
    uLong crc = crc32(0L, Z_NULL, 0);
    for (int number = TKelDataBase::kFirstSection; number <= TKelDataBase::kLastSection; ++number) {
        TKelDataBase::TSection section = database.Section(number);
        if (section.Record == &database.System)
            continue;
        TMemoryStream bytes;
        if (section.List)
            section.List->SaveToStream(bytes);
        else if (section.Record)
            section.Record->SaveToStream(bytes);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.Bytes().data()), static_cast<uInt>(bytes.Size()));
    }
    return static_cast<std::uint32_t>(crc);
}

std::string WriteSaveGame(const TSaveGame& source) {
    TSaveGame game = source;  // the records bind to a game they may touch while saving
    game.FormatVersion = kSaveFormatVersion;
    TMemoryStream out;
    WriteString(out, kSaveSignature);
    THeaderRecord(game).SaveToStream(out);

    WriteRecordOf<TStateRecord>(out, kSectionState, game);
    WritePacked(out, kSectionSwitches, PackInts(game.Switches));
    WritePacked(out, kSectionVariables, PackPairs(game.Variables));
    WritePacked(out, kSectionItems, PackPairs(game.Items));
    TCatalogOf<THeroItem> heroes;
    for (const THeroState& hero : game.Heroes)
        heroes.Obtain(hero.Id).Hero = hero;
    WriteListSection(out, kSectionHeroes, heroes);
    WritePacked(out, kSectionParty, PackInts(game.Party));
    WriteRecordOf<TPlaceRecord>(out, kSectionPlace, game);
    TCatalogOf<TEventItem> events;
    for (const TSavedEvent& event : game.Events)
        events.Obtain(event.Id).Event = event;
    WriteListSection(out, kSectionEvents, events);
    TCatalogOf<TScriptItem> scripts;
    for (const TSavedScript& script : game.Scripts)
        scripts.Append().Script = script;
    WriteListSection(out, kSectionScripts, scripts);
    // The sections added later are written when the game holds them, so that an older save
    // read and written again keeps its bytes.
    if (game.Has(kSectionScreen))
        WriteRecordOf<TScreenRecord>(out, kSectionScreen, game);
    if (game.Has(kSectionPictures)) {
        TCatalogOf<TPictureItem> pictures;
        for (const TSavedPicture& picture : game.Pictures)
            pictures.Obtain(picture.Number).Picture = picture;
        WriteListSection(out, kSectionPictures, pictures);
    }
    if (game.Has(kSectionVehicles)) {
        TCatalogOf<TVehicleItem> vehicles;
        for (const TSavedVehicle& vehicle : game.Vehicles)
            vehicles.Obtain(vehicle.Kind + 1).Vehicle = vehicle;
        WriteListSection(out, kSectionVehicles, vehicles);
    }
    if (game.Has(kSectionMapState))
        WriteRecordOf<TMapStateRecord>(out, kSectionMapState, game);
    if (game.Has(kSectionSystem))
        WriteRecordOf<TSystemRecord>(out, kSectionSystem, game);
    if (game.Has(kSectionRandom))
        WriteRecordOf<TRandomRecord>(out, kSectionRandom, game);
    if (game.Has(kSectionItemUses))
        WritePacked(out, kSectionItemUses, PackPairs(game.ItemUses));
    if (game.Has(kSectionMapLook))
        WriteRecordOf<TMapLookRecord>(out, kSectionMapLook, game);
    if (game.Has(kSectionRoutes)) {
        TCatalogOf<TRouteItem> routes;
        for (const TSavedRoute& route : game.Routes)
            routes.Append().Route = route;
        WriteListSection(out, kSectionRoutes, routes);
    }
    if (game.Has(kSectionEffects))
        WriteRecordOf<TEffectsRecord>(out, kSectionEffects, game);
    WriteVarInt(out, 0);

    const std::uint32_t crc = SaveCrc(out.Bytes());
    for (int b = 0; b < 4; ++b)
        out.WriteByte(static_cast<std::uint8_t>(crc >> (8 * b)));
    return out.TakeBytes();
}

TSaveRead ReadSaveGame(std::string_view bytes, const std::string& title, std::uint32_t databaseCheck,
                       bool headerOnly) {
    constexpr const char* kDamaged = "the save is damaged or is no save of this player";
    if (bytes.size() < 4)
        return Refused(TSaveProblem::Damaged, kDamaged);
    const std::string_view body = bytes.substr(0, bytes.size() - 4);
    TSaveRead read;
    TSaveGame& game = read.Game;
    try {
        TByteViewStream stream(body);
        ReadSignature(stream, kSaveSignature);
        THeaderRecord(game).LoadFromStream(stream);
        if (game.FormatVersion > kSaveFormatVersion)
            return Refused(TSaveProblem::Newer, "the save was made by a newer version of the player (format " +
                                                    std::to_string(game.FormatVersion) + ")");
        std::uint32_t stored = 0;
        for (int b = 3; b >= 0; --b)
            stored = stored << 8 | static_cast<std::uint8_t>(bytes[bytes.size() - 4 + static_cast<std::size_t>(b)]);
        if (game.FormatVersion < 1 || stored != SaveCrc(body))
            return Refused(TSaveProblem::Damaged, kDamaged);
        if (game.Title != title || game.DatabaseCheck != databaseCheck)
            return Refused(TSaveProblem::OtherGame, game.Title != title
                                                        ? "the save belongs to another game"
                                                        : "the save was made with another version of this game's database");
        if (headerOnly)
            return read;
        for (;;) {
            const std::int32_t number = ReadVarInt(stream);
            if (number == 0)
                break;
            const auto length = static_cast<std::uint32_t>(ReadVarInt(stream));
            stream.RequireRemaining(length);
            const std::int64_t end = stream.Position() + length;
            TByteViewStream section(body.substr(static_cast<std::size_t>(stream.Position()), length));
            try {
                // Read into a draft, so that a section failing half way leaves nothing of itself.
                TSaveGame draft = game;
                ReadSection(number, section, draft);
                game = std::move(draft);
            } catch (const std::exception& e) {
                // A section that cannot be read is left out; the rest of the save still counts.
                std::fprintf(stderr, "quillon-player: save section %d left out: %s\n", static_cast<int>(number), e.what());
            }
            stream.SetPosition(end);
        }
    } catch (const std::exception&) {
        return Refused(TSaveProblem::Damaged, kDamaged);
    }
    if (!game.Has(kSectionPlace) || game.MapId <= 0)
        return Refused(TSaveProblem::Damaged, "the save holds no place to continue from");
    return read;
}

}  // namespace quillon::runtime
