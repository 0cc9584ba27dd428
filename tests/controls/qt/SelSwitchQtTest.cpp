// The switch and variable pickers on the offscreen platform, opened through their entry points
// the way every caller opens them: the rows, the keys, the name box, the popup's short-cuts, the
// count dialog and what reaches the database on OK, Cancel and a double click.
#include "controls/DataMaxChange_qt.h"
#include "controls/NumberEdit_qt.h"
#include "controls/SelSwitch_qt.h"

#include "controls/Cp932Edit_qt.h"
#include "data/LD_DataBase.h"
#include "platform/MessageBox.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <string>
#include <vector>

namespace quillon {
namespace {

using widgetkit::App;

class TYesBox final : public IMessageBox {
public:
    TYesBox() : mPrevious(SetMessageBox(this)) {}
    ~TYesBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int, const void*) override {
        Texts.push_back(text);
        return mrYes;
    }
    std::vector<std::string> Texts;

private:
    IMessageBox* mPrevious;
};

QStringList Rows(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

// The count dialog, when it opens, is given `count` and OK.
TScopedModalRunner CountAnswer(int count) {
    return TScopedModalRunner([count](TFormKelBase& dialog) {
        auto& form = dynamic_cast<TFormDataMaxChange&>(dialog);
        EXPECT_EQ(form.windowTitle(), "Data Maximum (30,000)");
        EXPECT_EQ(form.NumberEdit()->value(), 45);
        form.NumberEdit()->setValue(count);
        widgetkit::KeepPicture(widgetkit::Grab(form), "controls-data-max-change");
        form.findChild<QPushButton*>("ButtonOk")->click();
        return form.result();
    });
}

class SelSwitchDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        mDb.Switch.Clear();
        mDb.Variable.Clear();
        for (int id = 1; id <= 45; ++id) {
            mDb.Switch.Obtain(id).Name = "Sw" + std::to_string(id);
            mDb.Variable.Obtain(id).Name = "Var" + std::to_string(id);
        }
    }
    TKelDataBase mDb;
    TYesBox mBox;
};

TEST_F(SelSwitchDialogTest, RenameMoveAndShrinkThenOkReachTheDatabase) {
    std::int32_t id = 41;
    bool changed = false;
    TScopedModalRunner runner([&](TFormKelBase& dialog) {
        auto& form = dynamic_cast<TFormSelSwitch&>(dialog);
        widgetkit::ShowActive(form);
        EXPECT_EQ(form.windowTitle(), "Select Switch");
        EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(&form), QStringList());
        QListWidget* groups = form.GroupList();
        QListWidget* data = form.DataList();
        EXPECT_EQ(Rows(groups), (QStringList{"[ 0001 - 0020 ]", "[ 0021 - 0040 ]", "[ 0041 - 0045 ]"}));
        EXPECT_EQ(groups->currentRow(), 2);
        EXPECT_EQ(Rows(data), (QStringList{"0041:Sw41", "0042:Sw42", "0043:Sw43", "0044:Sw44", "0045:Sw45"}));
        EXPECT_EQ(data->currentRow(), 0);
        EXPECT_EQ(form.Label1()->text(), "0041:");
        EXPECT_EQ(form.OverEdit1()->text(), "Sw41");
        EXPECT_FALSE(form.ButtonApply()->isEnabled());

        // F4 across the group boundary, Ctrl+F5 back, then a click on a row.
        QTest::keyClick(&form, Qt::Key_F4);
        EXPECT_EQ(groups->currentRow(), 1);
        EXPECT_EQ(data->currentRow(), 19);
        EXPECT_EQ(form.Label1()->text(), "0040:");
        QTest::keyClick(&form, Qt::Key_F5, Qt::ControlModifier);
        EXPECT_EQ(form.Label1()->text(), "0041:");
        data->setCurrentRow(2);
        EXPECT_EQ(form.Label1()->text(), "0043:");

        // Typing renames the row in place.
        form.OverEdit1()->selectAll();
        QTest::keyClicks(form.OverEdit1(), "Gate open");
        EXPECT_EQ(data->item(2)->text(), "0043:Gate open");
        EXPECT_TRUE(form.ButtonApply()->isEnabled());
        form.ButtonApply()->click();
        EXPECT_FALSE(form.ButtonApply()->isEnabled());
        EXPECT_EQ(mDb.Switch.FindByID(43)->Name, "Gate open");

        // The popup's short-cuts on the list: copy as plain text, clear, paste back.
        data->setFocus();
        QTest::keyClick(data, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "Gate open");
        QTest::keyClick(data, Qt::Key_Delete);
        EXPECT_EQ(data->item(2)->text(), "0043:");
        EXPECT_EQ(form.OverEdit1()->text(), "");

        // Fewer entries: the third group goes, the selection stays in the second.
        {
            const TScopedModalRunner count = CountAnswer(30);
            form.findChild<QPushButton*>("ButtonMax")->click();
        }
        EXPECT_EQ(Rows(groups), (QStringList{"[ 0001 - 0020 ]", "[ 0021 - 0030 ]"}));
        EXPECT_EQ(data->count(), 10);
        EXPECT_EQ(mDb.Switch.Count(), 45);  // not yet applied
        EXPECT_EQ(form.Label1()->text(), "0023:");
        QGuiApplication::clipboard()->setText("Lever\nignored");
        QTest::keyClick(data, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(form.OverEdit1()->text(), "Lever");
        EXPECT_EQ(data->item(2)->text(), "0023:Lever");
        widgetkit::KeepPicture(widgetkit::Grab(form), "controls-select-switch");
        form.findChild<QPushButton*>("ButtonOk")->click();
        return form.result();
    });
    EXPECT_TRUE(ChooseSwitch(nullptr, mDb, id, changed));
    EXPECT_EQ(id, 23);
    EXPECT_TRUE(changed);
    EXPECT_EQ(mDb.Switch.Count(), 30);
    EXPECT_EQ(mDb.Switch.FindByID(23)->Name, "Lever");
    EXPECT_EQ(mBox.Texts, (std::vector<std::string>{kDataCountLossQuestion}));
    EXPECT_EQ(mDb.Variable.Count(), 45);
}

TEST_F(SelSwitchDialogTest, CancelKeepsTheListAndADoubleClickChooses) {
    std::int32_t id = 99;  // beyond the list: the first row
    bool changed = false;
    {
        TScopedModalRunner runner([&](TFormKelBase& dialog) {
            auto& form = dynamic_cast<TFormSelVariable&>(dialog);
            EXPECT_EQ(form.windowTitle(), "Select Variable");
            EXPECT_EQ(form.GroupList()->currentRow(), 0);
            EXPECT_EQ(form.DataList()->currentRow(), 0);
            const TScopedModalRunner count = CountAnswer(30);
            form.findChild<QPushButton*>("ButtonMax")->click();
            EXPECT_EQ(form.GroupList()->count(), 2);
            form.findChild<QPushButton*>("ButtonCancel")->click();
            return form.result();
        });
        EXPECT_FALSE(ChooseVariable(nullptr, mDb, id, changed));
    }
    EXPECT_EQ(id, 99);
    EXPECT_FALSE(changed);
    EXPECT_EQ(mDb.Variable.Count(), 45);

    TScopedModalRunner runner([&](TFormKelBase& dialog) {
        auto& form = dynamic_cast<TFormSelVariable&>(dialog);
        widgetkit::ShowActive(form);
        form.GroupList()->setCurrentRow(1);
        QListWidget* data = form.DataList();
        EXPECT_EQ(data->item(0)->text(), "0021:Var21");
        const QRect row = data->visualItemRect(data->item(4));
        QTest::mouseClick(data->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(data->viewport(), Qt::LeftButton, {}, row.center());
        return form.result();
    });
    EXPECT_TRUE(ChooseVariable(nullptr, mDb, id, changed));
    EXPECT_EQ(id, 25);
    EXPECT_FALSE(changed);
}

}  // namespace
}  // namespace quillon
