// The dialog foundation without a window: change signals, field forms bound to records, and
// where dialogs open.
#include "controls/FieldForm.h"
#include "controls/FormPlacement.h"
#include "controls/LastUsed.h"
#include "platform/Signal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quillon {
namespace {

// --- change signals ---

TEST(SignalTest, ListenersJoinAndLeaveThroughTheirConnections) {
    TSignal<int> signal;
    std::vector<std::string> heard;
    TConnection a = signal.Connect([&](int v) { heard.push_back("a" + std::to_string(v)); });
    {
        TConnection b = signal.Connect([&](int v) { heard.push_back("b" + std::to_string(v)); });
        signal(1);
    }  // b leaves with its connection
    signal(2);
    TConnection moved = std::move(a);
    signal(3);  // the moved connection still holds a
    moved.Disconnect();
    signal(4);
    EXPECT_EQ(heard, (std::vector<std::string>{"a1", "b1", "a2", "a3"}));
    EXPECT_EQ(signal.ListenerCount(), 0u);
}

TEST(SignalTest, ListenersMayLeaveOrJoinWhileTheyAreCalledAndOutliveTheSignal) {
    auto signal = std::make_unique<TSignal<>>();
    std::vector<std::string> heard;
    TConnection second, third;
    TConnection first = signal->Connect([&] {
        heard.push_back("first");
        second.Disconnect();  // a later listener leaves before its turn
        if (!third.Connected())
            third = signal->Connect([&] { heard.push_back("third"); });
    });
    second = signal->Connect([&] { heard.push_back("second"); });
    signal->Emit();
    signal->Emit();
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "first", "third"}));
    signal.reset();
    first.Disconnect();  // leaving a signal that is gone does nothing
    EXPECT_FALSE(first.Connected());
}

// --- field forms ---

struct TSample {
    std::string Name = "Hero";
    std::int32_t Level = 1;
    bool Flying = false;
    std::uint8_t Kind = 0;
    std::int32_t Speed = 3;
    // A rule of the record's own: kind 2 needs flying.
    bool SetKind(std::uint8_t kind) {
        if (kind == 2 && !Flying)
            return false;
        Kind = kind;
        return true;
    }
};

const TFieldForm& SampleForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TSample> b;
        b.Field(TFieldKind::Text, "EditName", "&Name", &TSample::Name).Bytes(8).Key("name");
        b.Field(TFieldKind::Number, "SpinLevel", "&Level", &TSample::Level).Range(1, 99).Key("level");
        b.Field(TFieldKind::Check, "CheckFlying", "&Flying", &TSample::Flying).Key("flying");
        b.Field(TFieldKind::DropDown, "ComboKind", "&Kind", &TSample::Kind, &TSample::SetKind)
            .Choices({"Walk", "Swim", "Fly"}).Key("kind", "flying first");
        b.Field(TFieldKind::Number, "SpinSpeed", "&Speed", &TSample::Speed).Range(1, 6).Key("speed")
            .EnabledWhen([](const TSample& s) { return s.Flying; });
        return b.Build();
    }();
    return form;
}

TEST(FieldFormTest, ValuesAreKeptInRangeAndRecordRulesAndEnablingRefuse) {
    TSample sample;
    TFieldBinding binding(SampleForm(), sample);
    int changes = 0;
    const TConnection heard = binding.Changed.Connect([&](std::size_t) { ++changes; });
    struct TCase {
        std::size_t Field;
        TFieldValue Given;
        bool Accepted;
        TFieldValue Held;
    };
    const TCase cases[] = {
        {1, 250, true, 99},                            // clamped to the range
        {1, 99, false, 99},                            // no change
        {0, std::string("Adventurer"), true, std::string("Adventur")},  // cut to 8 bytes
        {0, std::string("\x82\xa0\x82\xa0\x82\xa0\x82\xa0\x82"), true, std::string("\x82\xa0\x82\xa0\x82\xa0\x82\xa0")},
        {3, 2, false, 0},                              // the record's own rule refuses
        {3, 7, false, 0},                              // no such choice
        {4, 5, false, 3},                              // disabled: not flying
        {2, 1, true, 1},
        {4, 5, true, 5},                               // enabled now
        {3, 2, true, 2},
        {0, 12, false, std::string("\x82\xa0\x82\xa0\x82\xa0\x82\xa0")},  // a number is no name
    };
    int expected = 0;
    for (const TCase& c : cases) {
        EXPECT_EQ(binding.SetValue(c.Field, c.Given), c.Accepted) << SampleForm().Fields[c.Field].Widget;
        EXPECT_EQ(binding.Value(c.Field), c.Held) << SampleForm().Fields[c.Field].Widget;
        expected += c.Accepted ? 1 : 0;
    }
    EXPECT_EQ(changes, expected);
    EXPECT_TRUE(binding.Modified());
    EXPECT_EQ(sample.Speed, 5);
    EXPECT_TRUE(sample.Flying);
}

TEST(FieldFormTest, SettingsByKeyAreCheckedAsTheControlsWouldAndIgnoreEnabling) {
    TSample sample;
    TFieldBinding binding(SampleForm(), sample);
    struct TCase {
        const char* Key;
        const char* Text;
        bool Accepted;
        const char* Error;  // a part of the refusal
    };
    const TCase cases[] = {
        {"level", "42", true, ""},
        {"level", "0", false, "is not a number from 1 to 99"},
        {"level", "4x", false, "is not a number"},
        {"speed", "6", true, ""},  // disabled in the dialog, still set by key
        {"kind", "2", false, "flying first"},
        {"kind", "3", false, "from 0 to 2"},
        {"flying", "on", true, ""},
        {"flying", "perhaps", false, "on or off"},
        {"kind", "2", true, ""},
        {"name", "Knight", true, ""},
        {"name", "Paladin of the north", false, "at most 8 bytes"},
        {"colour", "1", false, "unknown setting"},
    };
    for (const TCase& c : cases) {
        std::string error;
        EXPECT_EQ(binding.SetByKey(c.Key, c.Text, error), c.Accepted) << c.Key << "=" << c.Text;
        EXPECT_NE(error.find(c.Error), std::string::npos) << error;
    }
    EXPECT_EQ(sample.Level, 42);
    EXPECT_EQ(sample.Speed, 6);
    EXPECT_EQ(sample.Kind, 2);
    EXPECT_EQ(sample.Name, "Knight");
}

TEST(FieldFormTest, AFormBindsOnlyToItsOwnRecordType) {
    struct TOther {};
    TOther other;
    EXPECT_THROW(TFieldBinding(SampleForm(), other), std::logic_error);
}

// --- placement ---

TEST(FormPlacementTest, DialogsAreCentredOrPlacedAtTheirOffsetAndKeptOnTheScreen) {
    const TRect screen = MakeBounds(0, 0, 1280, 1024);
    struct TCase {
        TRect Placed, Expected;
    };
    const TCase cases[] = {
        {CenterOnOwner(200, 100, MakeBounds(100, 100, 800, 600), screen), MakeBounds(400, 350, 200, 100)},
        {CenterOnOwner(400, 300, MakeBounds(1100, 900, 300, 200), screen), MakeBounds(880, 724, 400, 300)},
        {CenterOnOwner(400, 300, MakeBounds(-200, -100, 100, 100), screen), MakeBounds(0, 0, 400, 300)},
        {PlaceAtClientOffset(300, 200, 50, 70, 16, 24, MakeBounds(46, 46, 800, 600), screen),
         MakeBounds(66, 94, 300, 200)},
        // An owner smaller than the dialog, near the screen's corner: the screen decides.
        {PlaceAtClientOffset(300, 200, 1200, 1000, 16, 24, MakeBounds(1196, 976, 84, 48), screen),
         MakeBounds(980, 824, 300, 200)},
        // Past the owner's right edge (the learning dialog at 540, 200): moved back over it.
        {PlaceAtClientOffset(278, 364, 0, 0, 540, 200, MakeBounds(0, 0, 784, 564), screen),
         MakeBounds(506, 200, 278, 364)},
        {PlaceAtClientOffset(278, 364, 304, 224, 540, 200, MakeBounds(300, 200, 784, 564), screen),
         MakeBounds(806, 400, 278, 364)},
        // Larger than the screen: the top left corner stays in sight.
        {PlaceAtClientOffset(1400, 1100, 10, 10, 0, 0, screen, screen), MakeBounds(0, 0, 1400, 1100)},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(c.Placed, c.Expected);
}

// --- last-used values ---

TEST(LastUsedTest, ValuesLiveForTheRunByKeyAndAreForgottenByPrefix) {
    TLastUsed::Forget();
    TLastUsed::Value<int>("Shift.Direction", 2) = 3;
    EXPECT_EQ(TLastUsed::Value<int>("Shift.Direction", 2), 3);  // the initial value counts only once
    TLastUsed::Value<std::string>("Music.Name") = "Town";
    EXPECT_THROW(TLastUsed::Value<double>("Shift.Direction"), std::logic_error);
    TLastUsed::Forget("Shift.");
    EXPECT_EQ(TLastUsed::Value<int>("Shift.Direction", 2), 2);
    EXPECT_EQ(TLastUsed::Value<std::string>("Music.Name"), "Town");
    TLastUsed::Forget();
}

}  // namespace
}  // namespace quillon
