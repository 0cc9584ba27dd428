// The "DataBase" window headless on the sample project: tabs, an edit applied and found again,
// Cancel and OK against the file, a failed save, the keys, and the names inputs announce.
#include "PageWidgetKit.h"

#include "controls/Cp932Edit_qt.h"
#include "controls/DataMaxChange_qt.h"
#include "controls/NumberEdit_qt.h"
#include "database/DataBasePages_qt.h"
#include "database/ED_PlayerParameter_qt.h"
#include "database/ED_Player_qt.h"
#include "database/DataBaseNamePage_qt.h"
#include "database/DataMultiCopy_qt.h"
#include "platform/Cp932Text_qt.h"
#include "platform/FileUtils.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace quillon {
namespace {

using namespace widgetkit;

// A page of its own for a tab, made as every page is: a model, a widget over it, a factory.
class TTestSkillPage : public TFormDataBaseBase {
public:
    TTestSkillPage(const TDataBaseContext& context, QWidget* parent)
        : TFormDataBaseBase(std::make_unique<TDataBaseListPage>(context, dtSkills), parent) {
        setObjectName("TestSkillPage");
        MakeEntryList(this)->setAccessibleName("Skills");
    }
    void LoadEntry() override { ++Loads; }
    void UpdateView() override { ++Updates; }
    int Loads = 0;
    int Updates = 0;
};

TFormDataBaseBase* CreateTestSkillPage(const TDataBaseContext& context, QWidget* parent) {
    return new TTestSkillPage(context, parent);
}

class DataBaseFormWidgetTest : public pagekit::TSampleDataBaseTest {
protected:
    std::string File() const { return mSample + TKelDataBase::kFileName; }
    std::string NameOnDisk(int tab, std::int32_t id) const {
        const auto read = OnDisk();
        const TCatalogItem* item = DataBaseTabList(*read, tab)->FindByID(id);
        return item ? item->Name : "(none)";
    }
    static TCp932Edit* NameEdit(TFormDataBase& form) { return form.Page()->findChild<TCp932Edit*>("EditName"); }
    static TDataBaseEntryList* List(TFormDataBase& form) { return form.Page()->EntryList(); }
    // The user picks a row of the list.
    static void PickRow(TFormDataBase& form, int row) {
        List(form)->setCurrentIndex(List(form)->model()->index(row, 0));
    }
    static void TypeName(TFormDataBase& form, const QString& text) {
        TCp932Edit* edit = NameEdit(form);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(DataBaseFormWidgetTest, AnEditAppliedIsInTheFileAndShowsOnReopening) {
    const char* captions[] = {"Hero", "Skills", "Items", "Monsters", "Monsters Party", "Attributes", "Conditions",
                              "Battle Animation", "Terrain", "ChipSets", "Vocabulary", "System", "Common Events"};
    {
        TFormDataBase form(mContext);
        EXPECT_EQ(form.Page(), nullptr);  // no page before the window opens
        ShowActive(form);
        EXPECT_EQ(form.windowTitle(), "DataBase");
        ASSERT_EQ(form.TabControl().count(), kDataBaseTabCount);
        for (int tab = 0; tab < kDataBaseTabCount; ++tab)
            EXPECT_EQ(form.TabControl().tabText(tab), captions[tab]);
        EXPECT_EQ(form.TabControl().currentIndex(), dtHero);
        ASSERT_NE(form.Page(), nullptr);
        ASSERT_NE(NameEdit(form), nullptr);
        EXPECT_EQ(List(form)->model()->rowCount(), mDataBase.Player.Count());

        // Looking at an entry writes nothing.
        PickRow(form, 1);
        EXPECT_EQ(form.Page()->PageModel().CurrentId(), mDataBase.Player.Items(1)->ID);
        EXPECT_EQ(NameEdit(form)->Bytes(), mDataBase.Player.Items(1)->Name);
        EXPECT_FALSE(form.ButtonApply().isEnabled());

        TypeName(form, "Zed");
        EXPECT_TRUE(form.ButtonApply().isEnabled());
        EXPECT_EQ(mDataBase.Player.Items(1)->Name, "Zed");
        EXPECT_EQ(List(form)->model()->index(1, 0).data().toString(), "0002:Zed");
        KeepWidget(form, "database-form-hero");
        QTest::mouseClick(&form.ButtonApply(), Qt::LeftButton);
        EXPECT_FALSE(form.ButtonApply().isEnabled());
        EXPECT_EQ(NameOnDisk(dtHero, 2), "Zed");
        form.ButtonCancelClick();
        EXPECT_TRUE(mBox.Texts.empty());  // nothing unsaved: no question
    }
    EXPECT_EQ(mDataBase.Player.FindByID(2)->Name, "Zed");
    TFormDataBase again(mContext);
    ShowActive(again);
    EXPECT_EQ(again.Page()->PageModel().CurrentId(), 2);
    EXPECT_EQ(NameEdit(again)->Bytes(), "Zed");
    EXPECT_TRUE(List(again)->selectionModel()->isSelected(List(again)->model()->index(1, 0)));
}

TEST_F(DataBaseFormWidgetTest, CancelLeavesTheFileAsItWas) {
    const std::string before = ReadWholeFile(File());
    const std::string itemName = mDataBase.Item.FindByID(1)->Name;
    {
        TFormDataBase form(mContext);
        ShowActive(form);
        for (int tab = 0; tab < kDataBaseTabCount; ++tab)
            form.SelectNextTab();  // every page made and released once
        EXPECT_EQ(form.TabControl().currentIndex(), dtHero);
        form.ButtonCancelClick();
        EXPECT_TRUE(mBox.Texts.empty());
    }
    EXPECT_EQ(ReadWholeFile(File()), before);

    // A change not applied goes, asking nothing, whichever way the window closes: never on disk.
    struct TWay {
        const char* Name;
        std::function<void(TFormDataBase&)> Close;
    };
    const TWay ways[] = {
        {"Cancel", [](TFormDataBase& form) { QTest::mouseClick(form.findChild<QPushButton*>("ButtonCancel"), Qt::LeftButton); }},
        {"Escape", [](TFormDataBase& form) { QTest::keyClick(&form, Qt::Key_Escape); }},
        {"close box", [](TFormDataBase& form) { form.close(); }},
    };
    for (const TWay& way : ways) {
        SCOPED_TRACE(way.Name);
        TFormDataBase form(mContext);
        ASSERT_NE(OpenTab(form, dtItems), nullptr);
        TypeName(form, "Elixir");
        EXPECT_EQ(mDataBase.Item.FindByID(1)->Name, "Elixir");
        mBox.Answers = {mrYes};  // a question answered by Enter would write the change
        way.Close(form);
        EXPECT_FALSE(form.isVisible());
        EXPECT_TRUE(mBox.Texts.empty());
        EXPECT_EQ(mDataBase.Item.FindByID(1)->Name, itemName);
        EXPECT_EQ(ReadWholeFile(File()), before);
        mBox.Answers.clear();
    }
}

TEST_F(DataBaseFormWidgetTest, OkSavesFirstAndAFailedSaveKeepsTheWindow) {
    mContext.ProjectPath = mRoot + "/gone/";
    TFormDataBase form(mContext);
    ShowActive(form);
    TypeName(form, "Unsaved");
    QTest::mouseClick(form.findChild<QPushButton*>("ButtonOk"), Qt::LeftButton);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.ButtonApply().isEnabled());
    EXPECT_EQ(mBox.Texts.size(), 1u);
    EXPECT_EQ(mDataBase.Player.FindByID(1)->Name, "Unsaved");

    // The folder comes back: OK writes, closes and reads the file back.
    std::filesystem::create_directories(mRoot + "/gone");
    QTest::mouseClick(form.findChild<QPushButton*>("ButtonOk"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), mrOk);
    TKelDataBase read;
    read.LoadFromFile(mRoot + "/gone/" + TKelDataBase::kFileName);
    EXPECT_EQ(read.Player.FindByID(1)->Name, "Unsaved");
    EXPECT_EQ(mDataBase.Player.FindByID(1)->Name, "Unsaved");
}

TEST_F(DataBaseFormWidgetTest, KeysActWhereTheyBelong) {
    TFormDataBase form(mContext);
    ASSERT_NE(OpenTab(form, dtCommonEvents), nullptr);
    QTest::keyClick(&form, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(form.TabControl().currentIndex(), dtHero);
    QTest::keyClick(&form, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.TabControl().currentIndex(), dtCommonEvents);
    QTest::keyClick(&form, Qt::Key_Tab, Qt::ControlModifier);

    TDataBasePage& page = form.Page()->PageModel();
    ASSERT_GE(page.RowCount(), 3);
    QTest::keyClick(&form, Qt::Key_F5);
    QTest::keyClick(&form, Qt::Key_F5, Qt::ControlModifier);
    EXPECT_EQ(page.CurrentRow(), 2);
    QTest::keyClick(&form, Qt::Key_F4);
    EXPECT_EQ(page.CurrentRow(), 1);
    EXPECT_EQ(NameEdit(form)->Bytes(), mDataBase.Player.Items(1)->Name);

    // Delete, Ctrl+X and Ctrl+V in the name box edit the text, not the entry.
    const std::string second = mDataBase.Player.Items(1)->Name;
    ASSERT_GE(second.size(), 2u);
    TCp932Edit* edit = NameEdit(form);
    edit->setFocus();
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(mDataBase.Player.Items(1)->Name, second.substr(1));
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(mClipboard.HasFormat(574));
    EXPECT_EQ(mDataBase.Player.Items(1)->Name, second.substr(1));

    // On the focused list they act on the entry.
    List(form)->setFocus();
    QTest::keyClick(List(form), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(mClipboard.HasFormat(574));
    PickRow(form, 2);
    QTest::keyClick(List(form), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(mDataBase.Player.Items(2)->Name, second.substr(1));
    QTest::keyClick(List(form), Qt::Key_Delete);
    EXPECT_EQ(mDataBase.Player.Items(2)->Name, "");
    EXPECT_EQ(List(form)->model()->index(2, 0).data().toString(), "0003:");
    List(form)->UpdatePopup();
    EXPECT_TRUE(List(form)->PasteAction()->isEnabled());
    EXPECT_TRUE(form.ButtonApply().isEnabled());
}

TEST_F(DataBaseFormWidgetTest, NamesTheBoxCannotShowStayTheirBytes) {
    const std::string longName(60, 'L');       // longer than the hero name box's 50 bytes
    const std::string undecodable("A\x81\x20Z", 4);  // a lead byte without its second byte
    mDataBase.Player.Obtain(1).Name = longName;
    mDataBase.Player.Obtain(2).Name = undecodable;
    TFormDataBase form(mContext);
    ShowActive(form);
    PickRow(form, 1);
    EXPECT_EQ(NameEdit(form)->Bytes(), undecodable);
    QTest::keyClick(&form, Qt::Key_F4);
    EXPECT_EQ(NameEdit(form)->Bytes(), longName);
    QTest::keyClick(&form, Qt::Key_F5);
    EXPECT_EQ(mDataBase.Player.FindByID(1)->Name, longName);
    EXPECT_EQ(mDataBase.Player.FindByID(2)->Name, undecodable);
    EXPECT_FALSE(form.ButtonApply().isEnabled());
    TypeName(form, "Bo");
    EXPECT_EQ(mDataBase.Player.FindByID(2)->Name, "Bo");
    EXPECT_EQ(mDataBase.Player.FindByID(1)->Name, longName);
}

TEST_F(DataBaseFormWidgetTest, TheCountAndMultiCopyDialogsChangeTheList) {
    mDataBase.Player.Clear();
    for (int id = 1; id <= 8; ++id)
        mDataBase.Player.Obtain(id).Name = "H" + std::to_string(id);
    TFormDataBase form(mContext);
    ShowActive(form);
    PickRow(form, 6);
    // 8 down to 5: the loss question, answered No (back in the dialog), then Yes.
    mBox.Answers = {mrNo, mrYes};
    int asked = 0;
    {
        const TScopedModalRunner runner([&](TFormKelBase& dialog) {
            auto& count = dynamic_cast<TFormDataMaxChange&>(dialog);
            EXPECT_EQ(count.NumberEdit()->value(), 8);
            count.NumberEdit()->setValue(5);
            auto* ok = count.findChild<QPushButton*>("ButtonOk");
            ok->click();
            EXPECT_EQ(count.result(), 0);  // No: still open
            ok->click();
            ++asked;
            return count.result();
        });
        form.Page()->findChild<QPushButton*>("ButtonMaxChange")->click();
    }
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(mBox.Texts, (std::vector<std::string>{kDataCountLossQuestion, kDataCountLossQuestion}));
    EXPECT_EQ(mDataBase.Player.Count(), 5);
    EXPECT_EQ(List(form)->model()->rowCount(), 5);
    EXPECT_EQ(form.Page()->PageModel().CurrentId(), 5);
    EXPECT_EQ(NameEdit(form)->Bytes(), "H5");
    EXPECT_TRUE(form.ButtonApply().isEnabled());

    // MultiCopy from row 3: at most the three to the end; two taken.
    PickRow(form, 2);
    {
        const TScopedModalRunner runner([&](TFormKelBase& dialog) {
            auto& multi = dynamic_cast<TFormDataMultiCopy&>(dialog);
            EXPECT_EQ(multi.windowTitle(), "Multi Copy");
            EXPECT_EQ(multi.NumberEdit()->maximum(), 3);
            EXPECT_EQ(multi.NumberEdit()->value(), 3);
            multi.NumberEdit()->setValue(2);
            multi.findChild<QPushButton*>("ButtonOk")->click();
            return multi.result();
        });
        List(form)->MultiCopyAction()->trigger();
    }
    std::int32_t count = 0;
    std::string payload;
    ASSERT_TRUE(SplitClipboardBlock(mClipboard.GetData(574).value_or(""), count, payload));
    EXPECT_EQ(count, 2);
}

TEST_F(DataBaseFormWidgetTest, ARegisteredPageTakesItsTab) {
    TDataBasePageRegistry pages;
    QUILLON_DATABASE_PAGE(pages, dtSkills, CreateTestSkillPage);
    EXPECT_EQ(pages.Find(dtSkills), &CreateTestSkillPage);
    EXPECT_EQ(pages.Find(dtItems), nullptr);

    const TDataBasePageFactory before = DataBasePages().Find(dtSkills);
    DataBasePages().Add(dtSkills, &CreateTestSkillPage);
    {
        TFormDataBase form(mContext);
        auto* page = OpenTab<TTestSkillPage>(form, dtSkills);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->parentWidget(), &form.Foundation());
        EXPECT_EQ(page->Loads, 1);
        EXPECT_FALSE(form.ButtonApply().isEnabled());
        const int updates = page->Updates;
        PickRow(form, 1);
        EXPECT_EQ(page->Loads, 2);
        EXPECT_TRUE(page->PageModel().SetCurrentName("Zzyx"));
        EXPECT_TRUE(form.ButtonApply().isEnabled());
        EXPECT_EQ(page->Updates, updates + 2);  // the new entry, then the change
        form.SelectNextTab();
        EXPECT_EQ(dynamic_cast<TTestSkillPage*>(form.Page()), nullptr);
        EXPECT_EQ(form.Page()->PageModel().Tab(), dtItems);
    }
    DataBasePages().Add(dtSkills, before);
}

TEST_F(DataBaseFormWidgetTest, EveryInputOfEveryPageHasAName) {
    TFormDataBase form(mContext);
    ShowActive(form);
    for (int tab = 0; tab < kDataBaseTabCount; ++tab) {
        form.TabControl().setCurrentIndex(tab);
        ASSERT_NE(form.Page(), nullptr) << tab;
        EXPECT_EQ(InputsWithoutAccessibleName(&form), QStringList()) << tab;
    }
    form.TabControl().setCurrentIndex(dtSystem);
    KeepWidget(form, "database-form-system");
}

// At 800 x 600 the window shows every tab with its buttons, and the dialogs of the hero page
// (the learning dialog placed at its fixed offset) lie on the screen, wholly.
TEST_F(DataBaseFormWidgetTest, TheWindowAndItsDialogsFitTheSmallestScreen) {
    TFormDataBase form(mContext);
    form.move(0, 0);
    ASSERT_NE(OpenTab(form, dtHero), nullptr);
    for (int tab = 0; tab < kDataBaseTabCount; ++tab) {
        SCOPED_TRACE(form.TabControl().tabText(tab).toStdString());
        form.TabControl().setCurrentIndex(tab);
        EXPECT_EQ(DoesNotFitSmallestScreen(form), "");
    }
    form.TabControl().setCurrentIndex(dtHero);
    auto* hero = dynamic_cast<TFormEDPlayer*>(form.Page());
    ASSERT_NE(hero, nullptr);
    std::vector<std::string> seen;
    const TScopedModalRunner runner([&](TFormKelBase& dialog) {
        dialog.show();
        Settle();
        seen.push_back(dialog.windowTitle().toStdString());
        SCOPED_TRACE(seen.back());
        EXPECT_EQ(DoesNotFitSmallestScreen(dialog), "");
        const QRect onScreen = dialog.frameGeometry();
        EXPECT_TRUE(QRect(QPoint(0, 0), kSmallestScreen).contains(onScreen))
            << onScreen.x() << "," << onScreen.y() << " " << onScreen.width() << " x " << onScreen.height();
        EXPECT_TRUE(form.frameGeometry().contains(onScreen))
            << onScreen.x() << "," << onScreen.y() << " " << onScreen.width() << " x " << onScreen.height() << " over "
            << form.frameGeometry().width() << " x " << form.frameGeometry().height();
        if (auto* curves = dynamic_cast<TFormEDPlayerParameter*>(&dialog))
            Child<QPushButton>(*curves, "ButtonCreate")->click();  // "Create Curve" from there
        dialog.hide();
        return static_cast<int>(mrCancel);
    });
    hero->ButtonExpClick();
    hero->GraphOpen(0);
    hero->LearningEdit(0);
    EXPECT_EQ(seen.size(), 4u);
    form.ButtonCancelClick();
}

}  // namespace
}  // namespace quillon
