// The move route editor without its window: rows and insertion, enabling, the 200-command
// limit, the pickers and what is remembered, the character list, the 567 block and the
// "Move Character" line.
#include "events/ED_MoveRoute.h"
#include "events/MoveRouteFakes.h"

#include "data/LD_Map.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <set>

using namespace quillon;
using namespace quillon::routekit;

namespace {

// Button indexes of a few commands (the layout order of the table).
int ButtonOf(std::int32_t code) {
    const auto buttons = MoveCommandButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].Code == code)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::int32_t> Codes(const TKelMoveRoute& route) {
    std::vector<std::int32_t> codes;
    for (const TKelMoveRouteItem& item : route.ItemList())
        codes.push_back(item.Code);
    return codes;
}

TKelMoveRouteItem Item(std::int32_t code) {
    TKelMoveRouteItem item;
    item.Code = code;
    return item;
}

std::string Block(std::initializer_list<int> bytes) {
    std::string block;
    for (int b : bytes)
        block.push_back(static_cast<char>(b));
    return block;
}

class MoveRouteEditorTest : public ::testing::Test {
protected:
    void SetUp() override { TMoveRouteEditorModel::ForgetLastUsed(); }
    void TearDown() override { TMoveRouteEditorModel::ForgetLastUsed(); }

    std::unique_ptr<TMoveRouteEditorModel> Open(TMoveRouteRequest& request) {
        auto model = std::make_unique<TMoveRouteEditorModel>(request, context);
        model->SetClipboard(&clipboard);
        return model;
    }

    TFakeChoosers choosers;
    TEventCommandContext context{.Choosers = &choosers};
    TMemoryClipboard clipboard;
};

TEST(MoveRouteTable, EveryMoveCommandHasOneButtonAndTheTurnsEndInTheDegreeByte) {
    const auto buttons = MoveCommandButtons();
    ASSERT_EQ(buttons.size(), 42u);
    std::set<std::int32_t> codes;
    for (const TMoveCommandButton& b : buttons)
        codes.insert(b.Code);
    EXPECT_EQ(codes.size(), 42u);
    EXPECT_EQ(*codes.begin(), 0);
    EXPECT_EQ(*codes.rbegin(), mcLastCode);
    EXPECT_STREQ(buttons[0].Caption, "Step Up");
    EXPECT_STREQ(buttons[static_cast<std::size_t>(ButtonOf(18))].Caption, "Turn 180\xB0");
    for (std::int32_t turn = 16; turn <= 19; ++turn)
        EXPECT_EQ(std::string(buttons[static_cast<std::size_t>(ButtonOf(turn))].Caption).back(), '\xB0') << turn;
    EXPECT_STREQ(buttons.back().Caption, "Play Sound Effect...");
}

TEST(MoveRouteTable, RowTexts) {
    TKelMoveRouteItem on = Item(mcSwitchOn), off = Item(mcSwitchOff), graphic = Item(mcChangeGraphic),
                      sound = Item(mcPlaySound);
    on.SwitchId = 7;
    off.SwitchId = 12;
    graphic.GraphicName = "Hero1";
    graphic.GraphicIndex = 3;
    sound.SoundName = "Door";
    const std::pair<TKelMoveRouteItem, std::string> cases[] = {
        {Item(0), "<,>Up "},
        {Item(41), "<,>TranslucencyDown"},
        {on, "<>Switch [0007]-ON"},
        {off, "<>Switch [0012]-OFF"},
        {graphic, "<>Change Hero1-4"},
        {sound, "<>Sound Effect:Door"},
        {Item(99), "<,>"},
    };
    for (const auto& [item, text] : cases)
        EXPECT_EQ(MoveRouteLineText(item), text) << item.Code;
}

TEST_F(MoveRouteEditorTest, AnEmptyRouteShowsOnlyTheEndLineAndNothingToDelete) {
    TMoveRouteRequest request;
    auto model = Open(request);
    EXPECT_EQ(model->Rows(), std::vector<std::string>{"<,>"});
    EXPECT_EQ(model->Selected(), 0);
    EXPECT_FALSE(model->CanDelete());
    EXPECT_FALSE(model->CanClearAll());
    EXPECT_FALSE(model->Delete());
    EXPECT_EQ(model->MenuState(), TMoveRouteMenuState{});
    EXPECT_TRUE(model->CommandButtonsEnabled());
}

TEST_F(MoveRouteEditorTest, ButtonsInsertInFrontOfTheSelectionAndDeleteKeepsTheRowNumber) {
    TMoveRouteRequest request;
    auto model = Open(request);
    int heard = 0;
    TConnection connection = model->OnChanged.Connect([&] { ++heard; });

    ASSERT_TRUE(model->PressButton(ButtonOf(0)));
    ASSERT_TRUE(model->PressButton(ButtonOf(0)));
    EXPECT_EQ(Codes(model->Route()), (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(model->Rows(), (std::vector<std::string>{"<,>Up ", "<,>Up ", "<,>"}));
    EXPECT_TRUE(model->IsEndLine(model->Selected()));

    // In front of a selected command, which stays selected, so presses follow each other.
    model->Select(1);
    ASSERT_TRUE(model->PressButton(ButtonOf(13)));
    ASSERT_TRUE(model->PressButton(ButtonOf(23)));
    EXPECT_EQ(Codes(model->Route()), (std::vector<std::int32_t>{0, 13, 23, 0}));
    EXPECT_EQ(model->Selected(), 3);
    EXPECT_GT(heard, 0);

    ASSERT_TRUE(model->Delete());
    EXPECT_EQ(Codes(model->Route()), (std::vector<std::int32_t>{0, 13, 23}));
    EXPECT_EQ(model->Selected(), 3);
    EXPECT_TRUE(model->IsEndLine(3));
    EXPECT_FALSE(model->Delete());  // the end line stays

    ASSERT_TRUE(model->ClearAll());
    EXPECT_EQ(model->Rows(), std::vector<std::string>{"<,>"});
    EXPECT_FALSE(model->CanClearAll());
    // Nothing reaches the caller's route before OK.
    EXPECT_EQ(request.Route.Count(), 0);
}

TEST_F(MoveRouteEditorTest, TwoHundredCommandsStopTheCommandButtonsOnly) {
    TMoveRouteRequest request;
    for (int i = 0; i < kMoveRouteLimit; ++i)
        request.Route.Add(Item(i % 12));
    auto model = Open(request);
    clipboard.SetData(kMoveCommandClipboardFormat, EncodeMoveCommandClipboard(Item(2)));
    choosers.Switch = 4;

    EXPECT_FALSE(model->CommandButtonsEnabled());
    EXPECT_FALSE(model->PressButton(ButtonOf(0)));
    EXPECT_FALSE(model->PressButton(ButtonOf(mcSwitchOn)));
    EXPECT_EQ(choosers.Asked, 0);
    EXPECT_FALSE(model->MenuState().Paste);
    EXPECT_FALSE(model->Paste());
    EXPECT_EQ(model->Route().Count(), kMoveRouteLimit);

    EXPECT_TRUE(model->CanClearAll());
    model->Select(5);
    EXPECT_TRUE(model->CanDelete());
    ASSERT_TRUE(model->Delete());
    EXPECT_TRUE(model->CommandButtonsEnabled());
    EXPECT_TRUE(model->Paste());
    EXPECT_FALSE(model->CommandButtonsEnabled());
}

TEST_F(MoveRouteEditorTest, PickersAddOnlyWhatIsChosenAndAreRememberedForTheRun) {
    TMoveRouteRequest request;
    {
        auto model = Open(request);
        // Cancelled, or switch 0: nothing.
        EXPECT_FALSE(model->PressButton(ButtonOf(mcSwitchOn)));
        EXPECT_EQ(choosers.SwitchOffered, 1);
        choosers.Switch = 0;
        EXPECT_FALSE(model->PressButton(ButtonOf(mcSwitchOff)));
        EXPECT_FALSE(model->PressButton(ButtonOf(mcChangeGraphic)));
        EXPECT_EQ(choosers.KindAsked, TSelKind::Char);
        EXPECT_EQ(choosers.CaptionAsked, "Change Graphic");
        EXPECT_FALSE(model->PressButton(ButtonOf(mcPlaySound)));
        EXPECT_EQ(choosers.CaptionAsked, "Sound Effect");
        EXPECT_EQ(choosers.SoundOffered, "(OFF)");
        EXPECT_EQ(model->Route().Count(), 0);

        choosers.Switch = 7;
        choosers.Graphic = {{"Hero2", 5}};
        choosers.SoundName = "Bell";
        EXPECT_TRUE(model->PressButton(ButtonOf(mcSwitchOn)));
        EXPECT_TRUE(model->PressButton(ButtonOf(mcChangeGraphic)));
        EXPECT_TRUE(model->PressButton(ButtonOf(mcPlaySound)));
        EXPECT_EQ(model->Rows(), (std::vector<std::string>{"<>Switch [0007]-ON", "<>Change Hero2-6",
                                                           "<>Sound Effect:Bell", "<,>"}));
        EXPECT_EQ(model->Route().Items(2).SoundVolume, 80);
    }
    // A later editor, even without OK in the first, offers the last choices.
    TMoveRouteRequest next;
    auto model = Open(next);
    model->PressButton(ButtonOf(mcSwitchOff));
    EXPECT_EQ(choosers.SwitchOffered, 7);
    model->PressButton(ButtonOf(mcChangeGraphic));
    EXPECT_EQ(choosers.GraphicOffered, "Hero2");
    EXPECT_EQ(choosers.GraphicIndexOffered, 5);
    model->PressButton(ButtonOf(mcPlaySound));
    EXPECT_EQ(choosers.SoundOffered, "Bell");

    // Without pickers nothing can be asked, and nothing is added.
    TEventCommandContext bare;
    TMoveRouteRequest alone;
    TMoveRouteEditorModel lonely(alone, bare);
    EXPECT_FALSE(lonely.PressButton(ButtonOf(mcSwitchOn)));
    EXPECT_EQ(lonely.Route().Count(), 0);
}

TEST_F(MoveRouteEditorTest, CharacterListNamesTheMapsEventsAndKeepsADeletedTarget) {
    TKelMap map;
    map.Events.Obtain(2).Name = "Door";
    map.Events.Obtain(5).Name = "Guard";
    TKelEventItem edited;
    edited.Name = "Guard (typing)";
    context.Map = &map;
    context.EventId = 5;
    context.EventItem = &edited;

    struct TCase {
        std::int32_t Target;
        std::vector<std::string> Names;
        int Index;
    };
    const std::vector<std::string> fixed = {"Hero", "Boat", "Ship", "Airship", "this Event"};
    const auto with = [&fixed](std::vector<std::string> events) {
        std::vector<std::string> all = fixed;
        all.insert(all.end(), events.begin(), events.end());
        return all;
    };
    const TCase cases[] = {
        {kCharacterShip, with({"Door", "Guard (typing)"}), 2},
        {5, with({"Door", "Guard (typing)"}), 6},
        {3, with({"Door", "0003:?", "Guard (typing)"}), 6},  // deleted: kept by ID
        {9, with({"Door", "Guard (typing)", "0009:?"}), 7},
    };
    for (const TCase& c : cases) {
        TMoveRouteRequest request;
        request.CommandMode = true;
        request.Target = c.Target;
        auto model = Open(request);
        std::vector<std::string> names;
        for (const TFieldChoice& choice : model->Targets())
            names.push_back(choice.Name);
        EXPECT_EQ(names, c.Names) << c.Target;
        EXPECT_EQ(model->TargetIndex(), c.Index) << c.Target;
        EXPECT_EQ(model->Target(), c.Target);
        EXPECT_TRUE(model->TargetEnabled());
        model->Confirm();
        EXPECT_EQ(request.Target, c.Target) << "the target survives OK";
    }

    TMoveRouteRequest page;
    auto pageModel = Open(page);
    EXPECT_FALSE(pageModel->TargetEnabled());
    ASSERT_EQ(pageModel->Targets().size(), 1u);
    EXPECT_EQ(pageModel->Targets()[0].Name, "this Event");
    EXPECT_EQ(pageModel->HelpContext(), 26);
}

TEST_F(MoveRouteEditorTest, ANewCommandTakesTheTargetAndFrequencyOfTheLastOk) {
    TMoveRouteRequest first;
    first.CommandMode = true;
    first.Target = 0;
    auto model = Open(first);
    EXPECT_EQ(model->Target(), kCharacterHero);
    EXPECT_EQ(model->HelpContext(), 11330);
    model->SetTargetIndex(3);
    model->SetFrequency(12);
    EXPECT_EQ(model->Frequency(), 8);
    model->SetRepeat(false);
    model->SetSkippable(true);
    model->PressButton(ButtonOf(24));
    model->Confirm();
    EXPECT_EQ(first.Target, kCharacterAirship);
    EXPECT_EQ(first.Frequency, 8);
    EXPECT_EQ(Codes(first.Route), std::vector<std::int32_t>{24});
    EXPECT_EQ(first.Route.Repeat, 0);
    EXPECT_EQ(first.Route.Skippable, 1);

    TMoveRouteRequest second;
    second.CommandMode = true;
    second.Target = 0;
    auto again = Open(second);
    EXPECT_EQ(again->Target(), kCharacterAirship);
    EXPECT_EQ(again->Frequency(), 8);
    // A page's route is not a command: it keeps its own frequency.
    TMoveRouteRequest page;
    page.Frequency = 2;
    EXPECT_EQ(Open(page)->Frequency(), 2);
}

TEST_F(MoveRouteEditorTest, CopyCutAndPasteGoThroughTheBlockAndDamagedBlocksAreRefused) {
    TMoveRouteRequest request;
    TKelMoveRouteItem sound = Item(mcPlaySound);
    sound.SoundName = "Bell";
    sound.SoundTempo = 120;
    request.Route.Add(Item(1));
    request.Route.Add(sound);
    auto model = Open(request);

    model->Select(1);
    const TMoveRouteMenuState onCommand{.Cut = true, .Copy = true, .Paste = false, .Delete = true};
    EXPECT_EQ(model->MenuState(), onCommand);
    ASSERT_TRUE(model->Cut());
    EXPECT_EQ(Codes(model->Route()), std::vector<std::int32_t>{1});
    EXPECT_EQ(*clipboard.GetData(kMoveCommandClipboardFormat), EncodeMoveCommandClipboard(sound));
    model->Select(0);
    EXPECT_TRUE(model->MenuState().Paste);
    ASSERT_TRUE(model->Paste());
    EXPECT_EQ(model->Route().Items(0), sound);
    EXPECT_EQ(model->Route().Items(1).Code, 1);
    model->Select(model->RowCount() - 1);
    EXPECT_FALSE(model->Copy());  // nothing to copy from the end line

    const std::pair<const char*, std::string> damaged[] = {
        {"count past the end", Block({5, 0, 0, 0, 0x17})},
        {"negative count", Block({0xFF, 0xFF, 0xFF, 0xFF, 0x17})},
        {"no header", Block({1, 0})},
        {"empty payload", Block({0, 0, 0, 0})},
        {"switch without its ID", Block({1, 0, 0, 0, 0x20})},
        {"sound name cut", Block({4, 0, 0, 0, 0x23, 0x05, 'B', 'e'})},
        {"code 42", Block({1, 0, 0, 0, 42})},
        {"code 41 then cut", Block({3, 0, 0, 0, 41, 0x21, 0x85})},
    };
    for (const auto& [why, block] : damaged) {
        std::vector<TKelMoveRouteItem> items{Item(3)};
        EXPECT_FALSE(DecodeMoveCommandBlock(block, items)) << why;
        EXPECT_TRUE(items.empty()) << why;
        clipboard.SetData(kMoveCommandClipboardFormat, block);
        EXPECT_FALSE(model->Paste()) << why;
        EXPECT_EQ(model->Route().Count(), 2) << why;
    }
    // Global memory may be longer than the count says: the bytes after it are not read.
    std::vector<TKelMoveRouteItem> items;
    EXPECT_TRUE(DecodeMoveCommandBlock(Block({1, 0, 0, 0, 0x17, 0x20}), items));
    EXPECT_EQ(items, std::vector<TKelMoveRouteItem>{Item(23)});
}

TEST(MoveCharacterLine, RoundTripAndDamagedRoute) {
    TMoveRouteRequest request;
    request.CommandMode = true;
    request.Target = 7;
    request.Frequency = 6;
    request.Route.Repeat = 0;
    request.Route.Skippable = 1;
    TKelMoveRouteItem on = Item(mcSwitchOn);
    on.SwitchId = 5;
    request.Route.Add(on);
    request.Route.Add(Item(23));
    TKelMoveRouteItem sound = Item(mcPlaySound);
    sound.SoundName = "Se";
    sound.SoundVolume = 300;  // two bytes in the encoding
    request.Route.Add(sound);

    TKelEventScriptLine line;
    line.Indent = 2;
    line.Text = "stale";
    MoveRouteRequestToLine(request, line);
    EXPECT_EQ(line.Code, 11330);
    EXPECT_EQ(line.Text, "");
    EXPECT_EQ(line.Indent, 2);
    const std::vector<std::int32_t> expected = {7, 6, 0, 1, 0x20, 0x05, 0x17, 0x23, 0x02, 'S', 'e', 0x82, 0x2C, 0, 0};
    EXPECT_EQ(line.Params(), expected);

    TMoveRouteRequest back;
    ASSERT_TRUE(MoveRouteRequestFromLine(line, back));
    EXPECT_TRUE(back.CommandMode);
    EXPECT_EQ(back.Target, 7);
    EXPECT_EQ(back.Frequency, 6);
    EXPECT_EQ(back.Route.Repeat, 0);
    EXPECT_EQ(back.Route.Skippable, 1);
    EXPECT_EQ(back.Route.ItemList(), request.Route.ItemList());

    // Cut inside "Play SE": the commands before it stay, the frequency is kept in range.
    TKelEventScriptLine cut;
    cut.Code = 11330;
    cut.SetParamCount(9);
    for (int i = 0; i < 9; ++i)
        cut.SetParam(i, std::vector<std::int32_t>{10005, 0, 1, 0, 0x17, 0x23, 0x05, 'a', 'b'}[static_cast<std::size_t>(i)]);
    TMoveRouteRequest damaged;
    damaged.Route.Add(Item(11));
    EXPECT_FALSE(MoveRouteRequestFromLine(cut, damaged));
    EXPECT_EQ(damaged.Target, 10005);
    EXPECT_EQ(damaged.Frequency, 1);
    EXPECT_EQ(Codes(damaged.Route), std::vector<std::int32_t>{23});
}

}  // namespace
