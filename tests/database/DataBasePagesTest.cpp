// The rules of the attribute, condition, terrain, vocabulary, system and common event pages,
// driven through their field descriptions as the window drives them.
#include "data/LD_DataBase.h"
#include "database/ED_Attrib.h"
#include "database/ED_CommonEvent.h"
#include "database/ED_Ground.h"
#include "database/ED_Status.h"
#include "database/ED_System.h"
#include "database/ED_Vocabulary.h"
#include "events/FakeEventChoosers.h"
#include "events/ScriptListTestKit.h"
#include "events/ScriptList.h"

#include "database/PageTestKit.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace quillon {
namespace {

using pagetest::Context;
using pagetest::IndexOf;

std::vector<std::int32_t> Party(const TKelSystem& system) {
    std::vector<std::int32_t> party;
    for (int i = 0; i < system.PartySize; ++i)
        party.push_back(system.PartyMember(i));
    return party;
}

TEST(SystemPageTest, PartySlotsCompactAndNeverHoldAHeroTwice) {
    struct TCase {
        const char* What;
        std::vector<std::int32_t> Start;
        int Slot;
        std::int32_t Hero;
        bool Taken;
        std::vector<std::int32_t> Party;
    };
    const TCase cases[] = {
        {"clearing the middle slot moves the later members up", {1, 2, 3, 4}, 1, 0, true, {1, 3, 4}},
        {"clearing the first slot", {1, 2, 3}, 0, 0, true, {2, 3}},
        {"clearing the last slot", {1, 2, 3}, 2, 0, true, {1, 2}},
        {"clearing an empty slot", {1, 2}, 2, 0, false, {1, 2}},
        {"the first empty slot appends", {1, 2}, 2, 5, true, {1, 2, 5}},
        {"a slot past the first empty one is closed", {1}, 2, 5, false, {1}},
        {"a hero in another slot is refused", {1, 2, 3}, 0, 3, false, {1, 2, 3}},
        {"replacing a member", {1, 2, 3}, 1, 6, true, {1, 6, 3}},
    };
    TKelDataBase db;
    for (std::int32_t id = 1; id <= 6; ++id)
        db.Player.Obtain(id).Name = "Hero" + std::to_string(id);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TKelSystem& system = db.System;
        system.SetPartySize(static_cast<std::int32_t>(c.Start.size()));
        for (std::size_t i = 0; i < c.Start.size(); ++i)
            system.SetPartyMember(static_cast<int>(i), c.Start[i]);
        TSystemPageModel model(Context(db), nullptr);
        int modified = 0;
        const TConnection counted = model.Modified.Connect([&] { ++modified; });
        TFieldBinding binding(SystemPageForm(), model);
        const bool taken = binding.SetValue(IndexOf(SystemPageForm(), "ComboParty" + std::to_string(c.Slot + 1)), c.Hero);
        EXPECT_EQ(taken, c.Taken);
        EXPECT_EQ(Party(system), c.Party);
        EXPECT_EQ(modified, c.Taken ? 1 : 0);
    }
}

TEST(SystemPageTest, PartyChoicesLeaveOutTheOtherSlotsHeroes) {
    TKelDataBase db;
    for (std::int32_t id = 1; id <= 4; ++id)
        db.Player.Obtain(id).Name = "H" + std::to_string(id);
    TKelSystem& system = db.System;
    system.SetPartySize(2);
    system.SetPartyMember(0, 2);
    system.SetPartyMember(1, 4);
    TSystemPageModel model(Context(db), nullptr);
    const auto ids = [](const std::vector<TFieldChoice>& choices) {
        std::vector<std::int32_t> out;
        for (const TFieldChoice& c : choices)
            out.push_back(c.Id);
        return out;
    };
    EXPECT_EQ(ids(model.PartyChoices(0)), (std::vector<std::int32_t>{0, 1, 2, 3}));  // its own hero stays
    EXPECT_EQ(ids(model.PartyChoices(2)), (std::vector<std::int32_t>{0, 1, 3}));
    EXPECT_EQ(model.PartyChoices(2)[1].Name, "0001:H1");
    TFieldBinding binding(SystemPageForm(), model);
    EXPECT_TRUE(binding.Enabled(IndexOf(SystemPageForm(), "ComboParty3")));
    EXPECT_FALSE(binding.Enabled(IndexOf(SystemPageForm(), "ComboParty4")));
    system.SetPartySize(4);
    for (int slot = 0; slot < 4; ++slot)
        system.SetPartyMember(slot, slot + 1);
    EXPECT_FALSE(model.SetPartySlot(4, 5)) << "there is no fifth slot";
    EXPECT_EQ(system.PartySize, 4);
}

TEST(SystemPageTest, SelectorsAndListsReachTheRecord) {
    TKelDataBase db;
    TKelSystem& system = db.System;
    testkit::TFakeEventChoosers choosers;
    TSystemPageModel model(Context(db), &choosers);
    TFieldBinding binding(SystemPageForm(), model);
    const TFieldForm& form = SystemPageForm();

    choosers.ChosenName = "Boat1";
    ASSERT_TRUE(binding.Choose(IndexOf(form, "DashShip")));
    EXPECT_EQ(system.ShipGraphic, "Boat1");
    EXPECT_EQ(choosers.Kind, TSelKind::Char);
    EXPECT_EQ(binding.Text(IndexOf(form, "DashShip")), "Boat1 #1");
    ASSERT_TRUE(binding.Choose(IndexOf(form, "DashGameOver")));
    EXPECT_EQ(choosers.Kind, TSelKind::GameOver);
    EXPECT_EQ(system.GameOverGraphic, "Boat1");

    choosers.EditMusic = [](TKelMusic& m) { m.Name = "Battle2"; m.Volume = 70; };
    ASSERT_TRUE(binding.Choose(IndexOf(form, "DashMusic1")));
    EXPECT_EQ(system.Music[1].Name, "Battle2");
    EXPECT_EQ(system.Music[1].Volume, 70);
    EXPECT_EQ(choosers.Caption, "Battle");
    EXPECT_FALSE(binding.Choose(IndexOf(form, "DashMusic1"))) << "the same music again is no change";
    choosers.Answer = false;
    choosers.EditSound = [](TKelSound& s) { s.Name = "Never"; };
    EXPECT_FALSE(binding.Choose(IndexOf(form, "DashSound11")));
    EXPECT_EQ(system.Sound[11].Name, kSoundOff);

    // Erase transitions have 21 entries, show transitions 20.
    EXPECT_TRUE(binding.SetValue(IndexOf(form, "ComboTransition0"), 20));
    EXPECT_EQ(system.Transition[0], 20);
    model.SetTransition(1, 25);
    EXPECT_EQ(system.Transition[1], 19);
    EXPECT_TRUE(binding.SetValue(IndexOf(form, "RadioWallpaper"), 1));
    EXPECT_EQ(system.Wallpaper, 1);
    EXPECT_TRUE(binding.SetValue(IndexOf(form, "RadioFont"), 1));
    EXPECT_EQ(system.Font, 1);
}

TEST(StatusPageTest, TheIncapacitationConditionsFixedMessagesCannotBeEdited) {
    TKelDataBase db;
    db.Status.Obtain(2);
    TStatusPageModel model(Context(db));
    TFieldBinding binding(StatusPageForm(), model);
    const std::size_t already = IndexOf(StatusPageForm(), "EditAlreadyMessage");
    const std::size_t affected = IndexOf(StatusPageForm(), "EditAffectedMessage");
    const std::size_t recovery = IndexOf(StatusPageForm(), "EditRecoveryMessage");

    ASSERT_EQ(model.Item().ID, 1);
    EXPECT_FALSE(binding.Enabled(already));
    EXPECT_FALSE(binding.Enabled(affected));
    EXPECT_TRUE(binding.Enabled(recovery));
    EXPECT_FALSE(binding.SetValue(already, std::string("x")));
    std::string error;
    EXPECT_FALSE(binding.SetByKey("affected-message", "y", error)) << "not by its key either";
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(db.Status.FindByID(1)->AlreadyMessage.empty());
    EXPECT_TRUE(db.Status.FindByID(1)->AffectedMessage.empty());
    EXPECT_TRUE(binding.SetValue(recovery, std::string("Recovered")));

    ASSERT_TRUE(model.SelectRow(1));
    EXPECT_TRUE(binding.Enabled(already));
    EXPECT_TRUE(binding.SetValue(already, std::string("Already")));
    EXPECT_TRUE(binding.SetByKey("affected-message", "Regular", error)) << error;
    EXPECT_EQ(db.Status.FindByID(2)->AlreadyMessage, "Already");
    EXPECT_EQ(db.Status.FindByID(2)->AffectedMessage, "Regular");
}

// One field of each page: the value typed, and what the record holds afterwards.
TEST(DataBasePagesTest, FieldsKeepTheirLimits) {
    TKelDataBase db;
    testkit::TFakeEventChoosers choosers;
    TAttribPageModel attrib(Context(db));
    TStatusPageModel status(Context(db));
    TGroundPageModel ground(Context(db), &choosers);
    TCommonEventPageModel common(Context(db), &choosers);
    TFieldBinding attribBinding(AttribPageForm(), attrib);
    TFieldBinding statusBinding(StatusPageForm(), status);
    TFieldBinding groundBinding(GroundPageForm(), ground);
    TFieldBinding commonBinding(CommonEventPageForm(), common);
    struct TCase {
        TFieldBinding* Binding;
        const char* Widget;
        TFieldValue Typed;
        TFieldValue Stored;
    };
    const TCase cases[] = {
        {&attribBinding, "EditName", std::string("Lightning"), std::string("Lightnin")},
        {&attribBinding, "EditRateA", 5000, kAttribRateMax},
        {&attribBinding, "EditRateE", -5, 0},
        {&attribBinding, "RadioKind", 1, 1},
        {&statusBinding, "EditName", std::string("Poisoned!"), std::string("Poisoned")},
        {&statusBinding, "EditChanceB", 150, 100},
        {&statusBinding, "EditColor", 40, kStatusColorMax},
        {&statusBinding, "EditAllyMessage", std::string(40, 'm'), std::string(30, 'm')},
        {&statusBinding, "RadioRestriction", 3, 3},
        {&groundBinding, "EditName", std::string("Deep Forest Floor!"), std::string("Deep Forest Floo")},
        {&groundBinding, "EditDamage", -5000, kGroundDamageMin},
        {&groundBinding, "RadioDisplay", 2, 2},
        {&commonBinding, "OverEdit1", std::string("A very long common event"), std::string("A very long common e")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Widget);
        const std::size_t index = IndexOf(c.Binding->Form(), c.Widget);
        c.Binding->SetValue(index, c.Typed);
        EXPECT_EQ(c.Binding->Value(index), c.Stored);
    }
    // A name cut in the middle of a double-byte character keeps the whole character out.
    const std::size_t name = IndexOf(AttribPageForm(), "EditName");
    attribBinding.SetValue(name, std::string("ABCDEFG\x82\xA0"));
    EXPECT_EQ(db.Attrib.Items(0)->Name, "ABCDEFG");
    EXPECT_EQ(db.Attrib.Items(0)->Rate[0], kAttribRateMax);
    EXPECT_EQ(db.Ground.Items(0)->DisplayMethod, 2);
}

TEST(DataBasePagesTest, ChangesAreAnnouncedOnceAndRowsFollowTheName) {
    TKelDataBase db;
    db.Ground.Obtain(2).Name = "Sea";
    testkit::TFakeEventChoosers choosers;
    TGroundPageModel model(Context(db), &choosers);
    int modified = 0, reloads = 0, rowChanged = -1;
    const TConnection a = model.Modified.Connect([&] { ++modified; });
    const TConnection b = model.CurrentChanged.Connect([&] { ++reloads; });
    const TConnection c = model.RowsChanged.Connect([&](int row) { rowChanged = row; });
    TFieldBinding binding(GroundPageForm(), model);

    EXPECT_TRUE(model.SelectRow(1));
    model.SelectRow(1);  // the current row again reloads nothing
    EXPECT_FALSE(model.SelectRow(2));
    EXPECT_EQ(reloads, 1);
    EXPECT_TRUE(binding.SetValue(IndexOf(GroundPageForm(), "EditName"), std::string("Ocean")));
    EXPECT_EQ(rowChanged, 1);
    EXPECT_EQ(model.RowText(1), "0002:Ocean");
    EXPECT_FALSE(binding.SetValue(IndexOf(GroundPageForm(), "EditName"), std::string("Ocean")));
    EXPECT_TRUE(binding.SetValue(IndexOf(GroundPageForm(), "CheckShip"), 1));
    EXPECT_EQ(db.Ground.FindByID(2)->ShipPassable, 1);
    choosers.ChosenName = "Sea1";
    EXPECT_TRUE(binding.Choose(IndexOf(GroundPageForm(), "DashBackdrop")));
    EXPECT_EQ(choosers.Kind, TSelKind::Backdrop);
    EXPECT_EQ(db.Ground.FindByID(2)->BackdropName, "Sea1");
    EXPECT_EQ(modified, 3);
}

TEST(VocabularyPageTest, EveryTermOnceWithItsLimitAndTheShopAndInnGroupsInOrder) {
    std::map<int, std::size_t> limits;  // field number -> limit, from the record's tables
    int count = 0;
    const TKelVocabularyField* plain = TKelVocabulary::PlainFields(count);
    for (int i = 0; i < count; ++i)
        limits[plain[i].FieldNumber] = static_cast<std::size_t>(plain[i].MaxBytes);
    for (int s = 0; s < TKelVocabulary::kShopCount; ++s)
        for (const auto& f : TKelVocabularyShop::kFields)
            limits[TKelVocabulary::kShopFirstField[s] + f.FieldNumber] = static_cast<std::size_t>(f.MaxBytes);
    for (int s = 0; s < TKelVocabulary::kInnCount; ++s)
        for (const auto& f : TKelVocabularyInn::kFields)
            limits[TKelVocabulary::kInnFirstField[s] + f.FieldNumber] = static_cast<std::size_t>(f.MaxBytes);
    ASSERT_EQ(limits.size(), 77u + 33u + 10u);

    std::map<int, int> seen;
    std::map<std::string, std::vector<int>> groups;  // group widget -> its field numbers
    for (const TVocabularyTab& tab : VocabularyTabs()) {
        std::string group;
        for (const TFieldSpec& field : tab.Form.Fields) {
            if (field.Kind == TFieldKind::Group) {
                group = field.Widget;
                continue;
            }
            const int number = std::stoi(field.Widget.substr(std::string("EditVocab").size()));
            ++seen[number];
            groups[group].push_back(number);
            EXPECT_EQ(field.MaxBytes, limits[number]) << number;
        }
    }
    for (const auto& [number, limit] : limits)
        EXPECT_EQ(seen[number], 1) << "field " << number;
    EXPECT_EQ(seen.size(), limits.size());
    EXPECT_EQ(groups["GroupShopB"], (std::vector<int>{54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64}));
    EXPECT_EQ(groups["GroupInnB"], (std::vector<int>{85, 86, 87, 88, 89}));

    TKelDataBase db;
    TKelVocabulary& vocabulary = db.Vocabulary;
    TVocabularyPageModel model(Context(db));
    int modified = 0;
    const TConnection counted = model.Modified.Connect([&] { ++modified; });
    const TVocabularyTab& shops = VocabularyTabs()[1];
    TFieldBinding binding(shops.Form, model);
    EXPECT_TRUE(binding.SetValue(IndexOf(shops.Form, "EditVocab69"), std::string(20, 'p')));
    EXPECT_EQ(vocabulary.Shop(2).Text[2], std::string(12, 'p')) << "\"Purchase\" of style C holds 12 bytes";
    EXPECT_EQ(modified, 1);
}

TEST(CommonEventPageTest, TriggerRowsAndTheSwitchGroupsEnabling) {
    TKelDataBase db;
    db.Switch.Obtain(3).Name = "Night";
    TKelCommonEventItem& event = db.CommonEvent.Obtain(1);
    event.SwitchId = 3;
    testkit::TFakeEventChoosers choosers;
    TCommonEventPageModel model(Context(db), &choosers);
    TFieldBinding binding(CommonEventPageForm(), model);
    const TFieldForm& form = CommonEventPageForm();
    const std::size_t trigger = IndexOf(form, "ComboBox1"), group = IndexOf(form, "GroupBox1"),
                      check = IndexOf(form, "CheckBox1"), box = IndexOf(form, "DashBox1");

    // "Call" disables the group whatever the switch condition holds.
    event.SwitchCondition = 1;
    EXPECT_EQ(binding.Number(trigger), 0);
    EXPECT_FALSE(binding.Enabled(group));
    EXPECT_FALSE(binding.Enabled(check));
    EXPECT_FALSE(binding.Enabled(box));
    event.SwitchCondition = 0;
    EXPECT_TRUE(binding.SetValue(trigger, 1));
    EXPECT_EQ(event.Trigger, TKelCommonEventItem::ctAutoStart);
    EXPECT_TRUE(binding.Enabled(check));
    EXPECT_FALSE(binding.Enabled(box)) << "until the check box is ticked";
    EXPECT_TRUE(binding.SetValue(check, 1));
    EXPECT_TRUE(binding.Enabled(box));
    EXPECT_EQ(binding.Text(box), "0003:Night");
    EXPECT_TRUE(binding.SetValue(trigger, 2));
    EXPECT_EQ(event.Trigger, TKelCommonEventItem::ctParallel);

    // A switch that no longer exists shows nothing; the picker's choice is stored.
    event.SwitchId = 40;
    EXPECT_EQ(binding.Text(box), "");
    ASSERT_TRUE(binding.Choose(box));
    EXPECT_EQ(event.SwitchId, 7);
    EXPECT_EQ(choosers.Opened.back(), "switch");
    event.Trigger = 9;  // not one of the three: shown as "Call"
    EXPECT_EQ(binding.Number(trigger), 0);
}

// Names applied in the picker count as a change, also when the picker was cancelled.
TEST(CommonEventPageTest, ThePickersAppliedNamesAreAChangeEvenWhenCancelled) {
    TKelDataBase db;
    struct TApplying final : IEventChoosers {
        bool Applied = false;
        bool ChooseSwitch(std::int32_t&) override {
            Applied = true;
            return false;
        }
        bool ChooseVariable(std::int32_t&) override { return false; }
        bool ChooseResource(TSelKind, std::string&, std::int32_t*, const std::string&) override { return false; }
        bool ChooseEventGraphic(std::string&, std::int32_t&, std::int32_t&, std::int32_t&) override { return false; }
        bool ChooseMusic(TKelMusic&, const std::string&) override { return false; }
        bool ChooseSound(TKelSound&, const std::string&) override { return false; }
        void ListenToMusic() override {}
        bool EditMoveRoute(TMoveRouteRequest&, const TEventCommandContext&) override { return false; }
        bool ChoosePlace(TMapPlaceRequest&) override { return false; }
        bool DataBaseChanged() const override { return Applied; }
    } choosers;
    TKelCommonEventItem& event = db.CommonEvent.Obtain(1);
    event.Trigger = TKelCommonEventItem::ctAutoStart;
    event.SwitchCondition = 1;
    TCommonEventPageModel model(Context(db), &choosers);
    int modified = 0;
    const TConnection counted = model.Modified.Connect([&] { ++modified; });
    EXPECT_TRUE(model.ChooseSwitch());
    EXPECT_EQ(event.SwitchId, 1);
    EXPECT_EQ(modified, 1);
    EXPECT_FALSE(model.ChooseSwitch()) << "only the first apply is news";
}

TEST(CommonEventPageTest, TheCommandListFollowsTheCurrentEventAndItsEditsAreChanges) {
    TKelDataBase db;
    db.CommonEvent.Obtain(2);
    TCommonEventPageModel model(Context(db), nullptr);
    int modified = 0;
    const TConnection counted = model.Modified.Connect([&] { ++modified; });
    TScriptListModel list(scriptkit::FakeRender);
    scriptkit::TFakeDialogs dialogs;
    dialogs.Choose = [](TKelEventScriptList& result) {
        scriptkit::Fill(result, {{10110, 0, {}, "Hello"}});
        return true;
    };
    list.SetDialogs(&dialogs);
    model.AttachScriptList(&list);
    EXPECT_EQ(list.Script(), &db.CommonEvent.FindByID(1)->Script);
    ASSERT_TRUE(model.SelectRow(1));
    EXPECT_EQ(list.Script(), &db.CommonEvent.FindByID(2)->Script);

    list.SetItemIndex(0);
    ASSERT_TRUE(list.Insert());
    EXPECT_EQ(dialogs.LastKind, TScriptEditorKind::CommonEvent);
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(scriptkit::Shape(db.CommonEvent.FindByID(2)->Script), (std::vector<std::pair<int, int>>{{10110, 0}, {0, 0}}));
    EXPECT_EQ(db.CommonEvent.FindByID(1)->Script.Count(), 1) << "the other event's script is left alone";

    model.AttachScriptList(nullptr);
    EXPECT_EQ(list.Script(), nullptr);
}

}  // namespace
}  // namespace quillon
