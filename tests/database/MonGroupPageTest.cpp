// The troop page's rules: In Row, adding and deleting members with their arrangement, the
// automatic name with its double-byte cut, dragging in steps with snapping, hit-testing and the
// drawing order, the battle event pages with their clipboard, the start-condition texts and the
// dialog's range check, the terrain marks, and edits found again after a save and reload.
#include "database/ED_MonGroup.h"

#include "data/LD_DataBase.h"
#include "data/StreamUtils.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace quillon {
namespace {

class MonGroupPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        mPrevious = SetClipboard(&clipboard);
        DataBaseMemory() = {};
        context.DataBase = &db;
        const char* names[] = {"slime", "bat", "golem"};
        for (int i = 0; i < 3; ++i)
            db.Monster.Obtain(i + 1).Name = names[i];
        db.Monster.Obtain(2).Flying = 1;
        db.MonGroup.Obtain(1);
    }
    void TearDown() override { SetClipboard(mPrevious); }

    // A page whose monsters' images are `w` x `h` (golem 100 wide).
    std::unique_ptr<TMonGroupPageModel> Page(int w = 64, int h = 64) {
        return std::make_unique<TMonGroupPageModel>(context, nullptr, [w, h](const TKelMonsterItem* m) {
            if (!m)
                return TMemberShape{};
            return TMemberShape{m->ID == 3 ? 100 : w, h, m->Flying != 0};
        });
    }
    std::vector<TPoint> Places(const TMonGroupPageModel& page) {
        std::vector<TPoint> places;
        for (int i = 0; i < page.MemberCount(); ++i)
            places.push_back({page.Member(i).X, page.Member(i).Y});
        return places;
    }
    // The troop saved and read back.
    std::unique_ptr<TKelMonGroupItem> Reloaded(std::int32_t id = 1) {
        TMemoryStream stream;
        db.MonGroup.FindByID(id)->SaveToStream(stream);
        auto copy = std::make_unique<TKelMonGroupItem>();
        TByteViewStream in(reinterpret_cast<const std::uint8_t*>(stream.Bytes().data()), stream.Bytes().size());
        copy->LoadFromStream(in);
        return copy;
    }

    TMemoryClipboard clipboard;
    IClipboard* mPrevious = nullptr;
    TKelDataBase db;
    TDataBaseContext context;
};

TEST_F(MonGroupPageTest, InRowFollowsTheAlgorithm) {
    EXPECT_EQ(RowPlaces({{100, 100}, {100, 100}, {100, 100}}),
              (std::vector<TPoint>{{54, 98}, {160, 98}, {266, 98}}));
    EXPECT_EQ(RowPlaces({{64, 64, false}}), (std::vector<TPoint>{{160, 116}}));
    EXPECT_EQ(RowPlaces({{64, 64, true}}), (std::vector<TPoint>{{160, 64}}));
    // Two 64-pixel monsters: no overlap, centred.
    EXPECT_EQ(RowPlaces({{64, 64}, {64, 64}}), (std::vector<TPoint>{{124, 116}, {196, 116}}));
    // An image wider than the field stays at its left edge; a tall one within the field.
    EXPECT_EQ(RowPlaces({{400, 200}}), (std::vector<TPoint>{{200, 100}}));
}

TEST_F(MonGroupPageTest, AddingArrangesWhileArrangedAndStopsAtTen) {
    auto page = Page();
    EXPECT_TRUE(page->IsArranged()) << "an empty troop counts as arranged";
    ASSERT_TRUE(page->Add(0));
    EXPECT_EQ(Places(*page), (std::vector<TPoint>{{160, 116}}));
    ASSERT_TRUE(page->Add(1));
    EXPECT_EQ(Places(*page), (std::vector<TPoint>{{124, 116}, {196, 64}}));

    // Moved by hand: the next one goes 32 to the right of the last, on the ground line.
    page->Member(1).X = 300;
    ASSERT_TRUE(page->Add(2));
    EXPECT_FALSE(page->IsArranged());
    EXPECT_EQ(page->Member(2).X, 270) << "kept within the field: 320 - 100 / 2";
    EXPECT_EQ(page->Member(2).Y, 116);
    EXPECT_EQ(page->Member(2).MonsterId, 3);

    while (page->CanAdd())
        page->Add(0);
    EXPECT_EQ(page->MemberCount(), 10);
    EXPECT_FALSE(page->Add(0));
    EXPECT_EQ(page->MemberCount(), 10);
    EXPECT_EQ(Reloaded()->Members.Count(), 10);
}

TEST_F(MonGroupPageTest, DeletingKeepsTheRowAndMovesTheSelection) {
    auto page = Page();
    for (int row : {0, 2, 0})
        page->Add(row);
    ASSERT_TRUE(page->IsArranged());
    page->Select(2);
    ASSERT_TRUE(page->DeleteSelected());
    EXPECT_EQ(page->Selected(), 1) << "fell off the end";
    EXPECT_TRUE(page->IsArranged());
    EXPECT_EQ(Places(*page), RowPlaces({{64, 64}, {100, 64}}));
    EXPECT_EQ(page->Member(1).ID, 2);
    ASSERT_TRUE(page->ClearAll());
    EXPECT_EQ(page->Selected(), -1);
    EXPECT_FALSE(page->CanDelete());
    EXPECT_FALSE(page->CanArrange());
    EXPECT_EQ(Reloaded()->Members.Count(), 0);
}

TEST_F(MonGroupPageTest, AutoNameCountsEachMonsterOnceAndCutsWhole) {
    TKelMonGroupItem troop;
    for (std::int32_t id : {1, 1, 2, 1, 9})
        troop.Members.Append().MonsterId = id;
    EXPECT_EQ(AutoTroopName(troop, db.Monster, 20), "slimex3,bat") << "monster 9 does not exist";

    TKelMonGroupItem two;
    two.Members.Append().MonsterId = 1;
    two.Members.Append().MonsterId = 2;
    const std::string kana = "\x83\x58\x83\x89";  // two double-byte characters
    db.Monster.FindByID(2)->Name = kana;
    db.Monster.FindByID(1)->Name = "abcdefghijklmnopqr";  // 18 bytes: byte 19 is a lead byte
    EXPECT_EQ(AutoTroopName(two, db.Monster, 20), "abcdefghijklmnopqr,-");
    db.Monster.FindByID(1)->Name = "abcdefghijklmnopq";  // 17 bytes: byte 19 is a second byte
    EXPECT_EQ(AutoTroopName(two, db.Monster, 20), "abcdefghijklmnopq,-");
    db.Monster.FindByID(1)->Name = "abcdefghijklmnop";  // 16 + 1 + 4 = 21 bytes: cut after the first character
    EXPECT_EQ(AutoTroopName(two, db.Monster, 20), "abcdefghijklmnop,\x83\x58-");
    db.Monster.FindByID(1)->Name = "abcdefghijklmno";  // exactly 20 bytes: kept whole
    EXPECT_EQ(AutoTroopName(two, db.Monster, 20), "abcdefghijklmno," + kana);

    auto page = Page();
    page->Add(0);
    page->Add(0);
    ASSERT_TRUE(page->AutoName());
    EXPECT_EQ(Reloaded()->Name, "abcdefghijklmnox2");
}

TEST_F(MonGroupPageTest, DraggingStepsSnapsAndStopsAtTheEdges) {
    auto page = Page();
    page->Add(0);  // at (160, 116)
    ASSERT_TRUE(page->Press(160, 116, true));
    EXPECT_TRUE(page->DragTo(171, 116, false));
    EXPECT_EQ(Places(*page), (std::vector<TPoint>{{172, 116}}));
    EXPECT_EQ(page->HintText(), "1: slime\r172, 116");
    EXPECT_TRUE(page->DragTo(175, 117, true));
    EXPECT_EQ(Places(*page), (std::vector<TPoint>{{175, 117}}));
    // Back to steps of 4: 175 + 8 = 183 rounds up to 184, 117 rounds down to 116.
    EXPECT_TRUE(page->DragTo(183, 117, false));
    EXPECT_EQ(Places(*page), (std::vector<TPoint>{{184, 116}}));
    EXPECT_FALSE(page->DragTo(185, 117, false)) << "less than half a step away";
    // Far outside the field: it stops at the edges.
    EXPECT_TRUE(page->DragTo(5000, -5000, false));
    EXPECT_EQ(Places(*page), (std::vector<TPoint>{{320, 0}}));
    page->Release();
    EXPECT_FALSE(page->DragTo(100, 100, false));
    EXPECT_EQ(Reloaded()->Members.Items(0)->X, 320);
    // A right click selects without dragging; a miss clears the selection.
    EXPECT_TRUE(page->Press(315, 5, false));
    EXPECT_FALSE(page->DragTo(100, 100, false));
    EXPECT_FALSE(page->Press(10, 150, true));
    EXPECT_EQ(page->Selected(), -1);
}

TEST_F(MonGroupPageTest, FrontMembersAreHitFirstAndMissingImagesCount64) {
    // The real image look-up: monsters without an image (and a missing monster) are 64 x 64.
    TMonGroupPageModel page(context, nullptr);
    TKelMonGroupItem& troop = *db.MonGroup.FindByID(1);
    const struct {
        std::int32_t Monster, X, Y;
    } members[] = {{1, 100, 100}, {9, 120, 100}, {1, 140, 110}};
    for (const auto& m : members) {
        TKelMonGroupMonsterItem& member = troop.Members.Append();
        member.MonsterId = m.Monster;
        member.X = m.X;
        member.Y = m.Y;
    }
    page.ReloadImages();
    EXPECT_EQ(page.MemberShape(1), (TMemberShape{64, 64, false}));
    // Equal bottoms: the higher index is drawn first, so member 0 stands in front of member 1.
    EXPECT_EQ(page.DrawOrder(), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(page.HitTest(110, 100), 2);
    EXPECT_EQ(page.HitTest(100, 100), 0);
    EXPECT_EQ(page.HitTest(80, 100), 0);
    EXPECT_EQ(page.HitTest(151, 70), 1);
    EXPECT_EQ(page.HitTest(68, 100), 0) << "the left edge of a 64-pixel image";
    EXPECT_EQ(page.HitTest(67, 100), -1);

    db.Monster.FindByID(1)->Transparent = 1;
    page.Select(1);
    EXPECT_TRUE(page.ToggleInvisible());
    EXPECT_EQ(page.Opacity(0), 160);
    EXPECT_EQ(page.Opacity(1), 80);
    EXPECT_EQ(Reloaded()->Members.Items(1)->Hidden, 1);
}

// "Paste Page" follows the clipboard whoever fills it, also when another clipboard is installed.
TEST_F(MonGroupPageTest, PastePageFollowsTheClipboard) {
    auto page = Page();
    int heard = 0;
    const TConnection listening = page->PasteChanged.Connect([&] { ++heard; });
    EXPECT_FALSE(page->CanPastePage());
    clipboard.SetData(TKelBattleEventPageItem::kClipboardFormat, "elsewhere");
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(page->CanPastePage());
    clipboard.SetData(TKelEventPageItem::kClipboardFormat, "an event page");
    EXPECT_EQ(heard, 2);
    EXPECT_FALSE(page->CanPastePage());

    TMemoryClipboard other;
    other.SetData(TKelBattleEventPageItem::kClipboardFormat, "x");
    SetClipboard(&other);
    EXPECT_EQ(heard, 3);
    EXPECT_TRUE(page->CanPastePage());
    clipboard.Clear();  // no longer the one in use
    EXPECT_EQ(heard, 3);
    other.Clear();
    EXPECT_EQ(heard, 4);
    EXPECT_FALSE(page->CanPastePage());
    SetClipboard(&clipboard);
}

TEST_F(MonGroupPageTest, MembersFarOffTheFieldKeepTheirOrderAndAddBesideThem) {
    // Places a file or a pasted troop may hold: the sums with image sizes must not wrap.
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    TKelMonGroupItem& troop = *db.MonGroup.FindByID(1);
    const std::int32_t places[][2] = {{100, kMax}, {kMin, 50}, {kMax, kMin}};
    for (const auto& p : places) {
        TKelMonGroupMonsterItem& member = troop.Members.Append();
        member.X = p[0];
        member.Y = p[1];
    }
    auto page = Page();
    // The lowest bottom edge is drawn last, the highest first.
    EXPECT_EQ(page->DrawOrder(), (std::vector<int>{2, 1, 0}));
    for (int i = 0; i < 3; ++i) {
        const TRect r = page->MemberRect(i);
        EXPECT_EQ(r.Right - r.Left, 64);
        EXPECT_EQ(r.Bottom - r.Top, 64);
    }
    EXPECT_EQ(page->HitTest(100, 50), -1);
    // A new member goes 32 to the right of the last one, held on the field.
    ASSERT_TRUE(page->Add(0));
    EXPECT_EQ(page->Member(3).X, kBattleFieldWidth - 32);
}

TEST_F(MonGroupPageTest, ListsNumberedToTheTopGetNoIdBeyondIt) {
    // Members are numbered for their order only: adding renumbers them first. Page IDs are the
    // page numbers: with the last at the highest ID no page is inserted, and nothing changes.
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    TKelMonGroupItem& troop = *db.MonGroup.FindByID(1);
    troop.Members.Obtain(1).MonsterId = 2;
    troop.Members.Obtain(kMax).MonsterId = 3;
    troop.Pages.Obtain(1);
    troop.Pages.Obtain(kMax);
    auto page = Page();
    ASSERT_TRUE(page->Add(0));
    ASSERT_EQ(page->MemberCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(page->Member(i).ID, i + 1);
    EXPECT_EQ(page->Member(1).MonsterId, 3);
    EXPECT_EQ(page->Member(2).MonsterId, 1);
    EXPECT_FALSE(page->CanNewPage());
    EXPECT_FALSE(page->NewPage());
    EXPECT_EQ(troop.Pages.Count(), 2);
    EXPECT_EQ(troop.Pages.Items(1)->ID, kMax);
}

TEST_F(MonGroupPageTest, PagesInsertDeleteCopyAndPaste) {
    auto page = Page();
    ASSERT_EQ(page->PageCount(), 1);
    EXPECT_FALSE(page->CanDeletePage());
    EXPECT_FALSE(page->CanPastePage());
    page->Page()->Trigger.Flags = TKelBattleEventTrigger::btTurn;
    page->Page()->Trigger.TurnB = 3;
    ASSERT_TRUE(page->CopyPage());
    EXPECT_TRUE(page->CanPastePage());
    ASSERT_TRUE(page->NewPage());
    EXPECT_EQ(page->CurrentPage(), 1);
    ASSERT_TRUE(page->PastePage());
    EXPECT_EQ(page->PageCount(), 3);
    EXPECT_EQ(page->CurrentPage(), 2);
    EXPECT_EQ(page->TriggerText(), "Turn No[3]");
    page->SelectPage(1);
    EXPECT_EQ(page->TriggerText(), "(None)");
    ASSERT_TRUE(page->DeletePage());
    EXPECT_EQ(page->CurrentPage(), 1);
    EXPECT_EQ(page->TriggerText(), "Turn No[3]");
    auto saved = Reloaded();
    ASSERT_EQ(saved->Pages.Count(), 2);
    EXPECT_EQ(saved->Pages.FindByID(2)->Trigger.TurnB, 3);

    // A damaged block inserts nothing.
    clipboard.SetData(TKelBattleEventPageItem::kClipboardFormat, std::string("\x40\0\0\0\1\0\0\0\x02\x05", 10));
    EXPECT_FALSE(page->PastePage());
    EXPECT_EQ(page->PageCount(), 2);

    // At most 100 pages.
    while (page->CanNewPage())
        page->NewPage();
    EXPECT_EQ(page->PageCount(), 100);
    EXPECT_FALSE(page->NewPage());
}

TEST_F(MonGroupPageTest, ATroopWithoutPagesGetsPageOneOnCopy) {
    db.MonGroup.FindByID(1)->Pages.Clear();
    auto page = Page();
    EXPECT_EQ(page->PageCount(), 0);
    EXPECT_EQ(page->Page(), nullptr);
    ASSERT_TRUE(page->CopyPage());
    EXPECT_EQ(page->PageCount(), 1);
    EXPECT_TRUE(clipboard.HasFormat(TKelBattleEventPageItem::kClipboardFormat));
}

TEST_F(MonGroupPageTest, TriggerTexts) {
    db.Switch.Obtain(3).Name = "Door";
    db.Switch.Obtain(4);
    db.Variable.Obtain(2).Name = "Gold";
    db.Player.Obtain(1).Name = "Alex";
    TKelMonGroupItem& troop = *db.MonGroup.FindByID(1);
    troop.Members.Append().MonsterId = 2;
    troop.Members.Append().MonsterId = 9;
    using T = TKelBattleEventTrigger;
    const auto text = [&](std::uint8_t flags, const std::function<void(T&)>& set) {
        T t;
        t.Flags = flags;
        set(t);
        return TriggerSummary(t, db, troop);
    };
    EXPECT_EQ(text(0, [](T&) {}), "(None)");
    EXPECT_EQ(text(T::btTurn, [](T&) {}), "Turn No[0]");
    EXPECT_EQ(text(T::btTurn, [](T& t) { t.TurnB = 3; }), "Turn No[3]");
    EXPECT_EQ(text(T::btTurn, [](T& t) { t.TurnA = 2; }), "Turn No[2x]");
    EXPECT_EQ(text(T::btTurn, [](T& t) { t.TurnA = 2, t.TurnB = 1; }), "Turn No[2x+1]");
    EXPECT_EQ(text(T::btSwitchA | T::btSwitchB, [](T& t) { t.SwitchAId = 3, t.SwitchBId = 4; }),
              "Switch [0003:Door]-ON; Switch [0004]-ON");
    EXPECT_EQ(text(T::btSwitchA | T::btVariable, [](T& t) { t.SwitchAId = 99, t.VariableId = 2, t.VariableValue = -5; }),
              "?; Variable[0002:Gold]>=[-5]");
    EXPECT_EQ(text(T::btExhaustion, [](T& t) { t.ExhaustionMin = t.ExhaustionMax = 20; }), "Exhaustion[20]");
    EXPECT_EQ(text(T::btMonsterHp, [](T& t) { t.MonsterHpMin = 10, t.MonsterHpMax = 50; }), "Enemy[1:bat] HP%[10-50]");
    EXPECT_EQ(text(T::btMonsterHp, [](T& t) { t.MonsterIndex = 1; }), "Enemy[2:?] HP%[0-100]");
    EXPECT_EQ(text(T::btHeroHp | T::btExhaustion, [](T& t) { t.HeroHpMax = 30; }),
              "Exhaustion[0-100]; Hero [Alex] HP [0-30]");
    EXPECT_EQ(text(T::btHeroHp, [](T& t) { t.HeroId = 7; }), "Hero [?] HP [0-100]");
}

TEST_F(MonGroupPageTest, TriggerDialogRefusesReversedRangesOfTickedConditions) {
    TBattleTriggerEdit edit(TKelBattleEventTrigger{}, &db, db.MonGroup.FindByID(1), nullptr);
    TKelBattleEventTrigger& trigger = edit.Trigger;
    TFieldBinding binding(BattleTriggerForm(), edit);
    const auto index = [&](const std::string& widget) {
        for (std::size_t i = 0; i < binding.Count(); ++i)
            if (binding.Field(i).Widget == widget)
                return i;
        ADD_FAILURE() << widget;
        return std::size_t{0};
    };
    EXPECT_FALSE(binding.Enabled(index("EditExhaustionMin")));
    // What the window tries out on copies never reaches the edited trigger.
    binding.EnabledWith(index("CheckBox1"), 1);
    EXPECT_EQ(trigger.Flags, 0);
    EXPECT_TRUE(binding.SetValue(index("CheckBox5"), 1));
    EXPECT_EQ(trigger.Flags, TKelBattleEventTrigger::btExhaustion);
    ASSERT_TRUE(binding.Enabled(index("EditExhaustionMin")));
    binding.SetValue(index("EditExhaustionMin"), 50);
    binding.SetValue(index("EditExhaustionMax"), 20);
    EXPECT_EQ(edit.Refusal(), kTriggerRangeRefusal);
    binding.SetValue(index("EditExhaustionMax"), 50);
    binding.SetValue(index("EditExhaustionMin"), 20);
    binding.SetValue(index("EditExhaustionMax"), 20);
    EXPECT_EQ(edit.Refusal(), "");
    // A reversed range of a condition that is not ticked does not count.
    trigger.HeroHpMin = 90;
    trigger.HeroHpMax = 10;
    EXPECT_EQ(edit.Refusal(), "");
    binding.SetValue(index("CheckBox7"), 1);
    EXPECT_EQ(edit.Refusal(), kTriggerRangeRefusal);
    // Values are kept in their ranges.
    binding.SetValue(index("CheckBox4"), 1);
    binding.SetValue(index("EditTurnA"), 500);
    EXPECT_EQ(trigger.TurnA, 100);

    auto page = Page();
    ASSERT_TRUE(page->SetTrigger(trigger));
    EXPECT_EQ(Reloaded()->Pages.FindByID(1)->Trigger.Flags, trigger.Flags);
}

TEST_F(MonGroupPageTest, TerrainMarksRewriteTheFlagsForTheWholeList) {
    for (int id = 1; id <= 3; ++id)
        db.Ground.Obtain(id).Name = "T" + std::to_string(id);
    auto page = Page();
    EXPECT_TRUE(page->TerrainMark(2)) << "no entries: met everywhere";
    page->SetTerrainMark(1, false);
    auto saved = Reloaded();
    EXPECT_EQ(saved->TerrainCount, 3);
    EXPECT_EQ(saved->Terrain(1), 1);
    EXPECT_EQ(saved->Terrain(2), 0);
    EXPECT_EQ(saved->Terrain(3), 1);
}

TEST_F(MonGroupPageTest, WholeTroopsTravelThroughTheClipboard) {
    auto page = Page();
    page->Add(1);
    page->NewPage();
    page->SetName("Bats");
    ASSERT_TRUE(page->Copy());
    EXPECT_TRUE(clipboard.HasFormat(TKelMonGroupItem::kClipboardFormat));
    db.MonGroup.Obtain(2);
    page->Fill();
    ASSERT_TRUE(page->SelectId(2));
    EXPECT_EQ(page->Paste(), 1);
    const auto copy = Reloaded(2);
    EXPECT_EQ(copy->Name, "Bats");
    ASSERT_EQ(copy->Members.Count(), 1);
    EXPECT_EQ(copy->Members.Items(0)->MonsterId, 2);
    EXPECT_EQ(copy->Pages.Count(), 2);
}

TEST_F(MonGroupPageTest, BattleTestPartyIsWrittenBeforeTheRunner) {
    db.Player.Obtain(1).Name = "Alex";
    db.Player.Obtain(2).Name = "Brin";
    db.Player.Obtain(3).Name = "Alex";  // told apart from hero 1 by its ID
    TKelItemItem& sword = db.Item.Obtain(1);
    sword.Kind = TKelItemItem::ikWeapon;
    sword.Name = "Sword";
    db.Item.Obtain(2).Kind = TKelItemItem::ikHelmet;
    TBattleTestParty party;
    party.Load(db);
    const std::vector<TFieldChoice> heroes = party.HeroItems();
    ASSERT_EQ(heroes.size(), 4u);
    EXPECT_EQ(heroes[0].Name, "(None)");
    EXPECT_EQ(heroes[1].Name, "0001:Alex");
    EXPECT_EQ(heroes[3].Name, "0003:Alex");
    EXPECT_EQ(party.EquipmentItems(0).size(), 2u);
    EXPECT_EQ(party.EquipmentItems(0).back().Name, "0001:Sword");
    EXPECT_EQ(party.EquipmentItems(3).back().Id, 2);
    party.Slots[0] = {};
    party.Slots[1] = {2, 12, {1, 0, 0, 2, 0}};
    std::int32_t ranTroop = 0;
    int partySize = -1;
    SetBattleTestRunner([&](TKelDataBase& d, std::int32_t troop) {
        ranTroop = troop;
        partySize = d.System.TestPlayer.Count();
        return true;
    });
    EXPECT_TRUE(RunTroopBattleTest(db, party, 1));
    SetBattleTestRunner({});
    EXPECT_EQ(ranTroop, 1);
    EXPECT_EQ(partySize, 1) << "empty slots are left out";
    const TKelTestPlayerItem& member = *db.System.TestPlayer.Items(0);
    EXPECT_EQ(member.HeroId, 2);
    EXPECT_EQ(member.Level, 12);
    EXPECT_EQ(member.Equipment(3), 2);
    EXPECT_FALSE(RunTroopBattleTest(db, party, 1)) << "no runner installed";
}

}  // namespace
}  // namespace quillon
