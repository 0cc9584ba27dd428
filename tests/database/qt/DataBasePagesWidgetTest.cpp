// The database pages headless: one field of each page edited as the user edits it, found in the
// database record afterwards; every input named for assistive technology; a picture of each.
#include "data/LD_DataBase.h"
#include "database/ED_Attrib_qt.h"
#include "database/ED_CommonEvent_qt.h"
#include "database/ED_Ground_qt.h"
#include "database/ED_Status_qt.h"
#include "database/ED_System_qt.h"
#include "database/ED_Vocabulary_qt.h"
#include "events/FakeEventChoosers.h"
#include "events/ScriptList_qt.h"

#include "PageWidgetKit.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace quillon {
namespace {

using widgetkit::Child;

class DataBasePagesWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        widgetkit::App();
        DataBaseMemory() = {};
        context.DataBase = &db;
    }

    // Starts the page as the frame does, counts its changes, checks its inputs' names and keeps
    // its picture.
    void Look(TFormDataBaseBase& page, const std::string& name) {
        pagekit::StartPage(page, modified, {760, 560});
        EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(&page), QStringList()) << name;
        EXPECT_TRUE(widgetkit::KeepPicture(page.grab().toImage(), "database-page-" + name));
    }

    // The user types into an edit: the page announces one change.
    static void Type(QLineEdit* edit, const QString& text) {
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    TKelDataBase db;
    TDataBaseContext context;
    testkit::TFakeEventChoosers choosers;
    int modified = 0;
};

// Selects an entry row as a click does.
void ClickRow(TFormDataBaseBase& page, int row) {
    TDataBaseEntryList* list = page.EntryList();
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(list->model()->index(row, 0));
}

TEST_F(DataBasePagesWidgetTest, AttributePageEditsTheSelectedAttribute) {
    db.Attrib.Obtain(2).Name = "Fire";
    TFormEDAttrib page(context, &choosers);
    Look(page, "attributes");
    QAbstractItemModel* rows = page.EntryList()->model();
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->index(1, 0).data().toString(), "0002:Fire");
    ClickRow(page, 1);
    ASSERT_EQ(page.PageModel().CurrentId(), 2);
    Type(Child<QLineEdit>(page, "EditName"), "Blaze");
    Child<QRadioButton>(page, "RadioKind1")->click();
    QSpinBox* rate = Child<QSpinBox>(page, "EditRateC");
    rate->setValue(120);
        EXPECT_EQ(db.Attrib.FindByID(2)->Name, "Blaze");
    EXPECT_EQ(db.Attrib.FindByID(2)->Kind, TKelAttribItem::akMagic);
    EXPECT_EQ(db.Attrib.FindByID(2)->Rate[2], 120);
    EXPECT_EQ(rows->index(1, 0).data().toString(), "0002:Blaze");
    EXPECT_EQ(db.Attrib.FindByID(1)->Name, "");
    EXPECT_GE(modified, 3);
}

TEST_F(DataBasePagesWidgetTest, ConditionPageDisablesTheFixedMessagesOfConditionOne) {
    db.Status.Obtain(2);
    TFormEDStatus page(context, &choosers);
    Look(page, "conditions");
    QLineEdit* already = Child<QLineEdit>(page, "EditAlreadyMessage");
    ASSERT_NE(already, nullptr);
    EXPECT_FALSE(already->isEnabled());
    EXPECT_FALSE(Child<QLineEdit>(page, "EditAffectedMessage")->isEnabled());
    ClickRow(page, 1);
    EXPECT_TRUE(already->isEnabled());
    Type(already, QString(35, 'x'));
        EXPECT_EQ(db.Status.FindByID(2)->AlreadyMessage, std::string(30, 'x')) << "cut at 30 bytes";
}

TEST_F(DataBasePagesWidgetTest, TerrainPageChoosesTheBackdrop) {
    TFormEDGround page(context, &choosers);
    Look(page, "terrain");
    choosers.ChosenName = "Grass";
    QPushButton* dash = page.findChild<QPushButton*>("DashBackdrop");
    QAbstractButton* box = dash ? dash : page.findChild<QAbstractButton*>("DashBackdrop");
    ASSERT_NE(box, nullptr);
    box->click();
    Child<QCheckBox>(page, "CheckBoat")->click();
        EXPECT_EQ(db.Ground.FindByID(1)->BackdropName, "Grass");
    EXPECT_EQ(db.Ground.FindByID(1)->BoatPassable, 1);
    EXPECT_EQ(choosers.Kind, TSelKind::Backdrop);
}

TEST_F(DataBasePagesWidgetTest, VocabularyPageShowsEveryTabAndEditsAShopMessage) {
    db.Vocabulary.Shop(1).Text[0] = "Welcome";
    TFormEDVocabulary page(context);
    Look(page, "vocabulary");
    ASSERT_EQ(page.Tabs()->count(), 5);
    auto* greeting = qobject_cast<QLineEdit*>(page.TermEdit(54));
    ASSERT_NE(greeting, nullptr);
    EXPECT_EQ(greeting->text(), "Welcome");
    page.Tabs()->setCurrentIndex(1);
    widgetkit::KeepPicture(page.grab().toImage(), "database-page-vocabulary-shops");
    Type(greeting, "Hello there");
        EXPECT_EQ(db.Vocabulary.Shop(1).Text[0], "Hello there");
    EXPECT_GE(modified, 1);
}

TEST_F(DataBasePagesWidgetTest, SystemPagesPartyCompactsWhenAMiddleSlotIsCleared) {
    for (std::int32_t id = 1; id <= 3; ++id)
        db.Player.Obtain(id).Name = "Hero" + std::to_string(id);
    db.System.SetPartySize(3);
    db.System.SetPartyMember(1, 2);
    db.System.SetPartyMember(2, 3);
    TFormEDSystem page(context, &choosers);
    Look(page, "system");
    QComboBox* second = Child<QComboBox>(page, "ComboParty2");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->currentText(), "0002:Hero2");
    const int none = second->findData(0);
    ASSERT_GE(none, 0);
    second->setCurrentIndex(none);
    emit second->activated(none);
        ASSERT_EQ(db.System.PartySize, 2);
    EXPECT_EQ(db.System.PartyMember(0), 1);
    EXPECT_EQ(db.System.PartyMember(1), 3);
    EXPECT_EQ(second->currentText(), "0003:Hero3");
    EXPECT_FALSE(Child<QComboBox>(page, "ComboParty4")->isEnabled());
}

TEST_F(DataBasePagesWidgetTest, CommonEventPageStoresTheTriggerAndShowsTheScript) {
    db.CommonEvent.Obtain(2).Name = "Rain";
    TFormEDCommonEvent page(context, &choosers);
    Look(page, "common-events");
    ClickRow(page, 1);
    QComboBox* trigger = Child<QComboBox>(page, "ComboBox1");
    QCheckBox* check = Child<QCheckBox>(page, "CheckBox1");
    QAbstractButton* dash = page.findChild<QAbstractButton*>("DashBox1");
    ASSERT_TRUE(trigger && check && dash);
    EXPECT_EQ(trigger->currentText(), "Call");
    EXPECT_FALSE(check->isEnabled());
    trigger->setCurrentIndex(2);
    emit trigger->activated(2);
    EXPECT_TRUE(check->isEnabled());
    EXPECT_FALSE(dash->isEnabled());
    check->click();
    EXPECT_TRUE(dash->isEnabled());
    dash->click();  // the fake picker answers switch 7
        const TKelCommonEventItem& event = *db.CommonEvent.FindByID(2);
    EXPECT_EQ(event.Trigger, TKelCommonEventItem::ctParallel);
    EXPECT_EQ(event.SwitchCondition, 1);
    EXPECT_EQ(event.SwitchId, 7);
    EXPECT_EQ(page.CommandList().Model().Script(), &db.CommonEvent.FindByID(2)->Script);
    EXPECT_EQ(page.CommandList().Model().Count(), 1);
}

}  // namespace
}  // namespace quillon
