// The event dialogs' pickers through the window layer: the switch picker hands back the chosen
// ID and marks the database changed when names were applied; the route editor is whoever was
// handed in.
#include "events/EventChoosers_qt.h"

#include "controls/Cp932Edit_qt.h"
#include "controls/SelSwitch_qt.h"
#include "data/LD_DataBase.h"
#include "events/ScriptList.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace quillon {
namespace {

using widgetkit::App;

class EventChoosersQtTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        mDb.Switch.Clear();
        for (int id = 1; id <= 25; ++id)
            mDb.Switch.Obtain(id);
    }
    TKelDataBase mDb;
};

TEST_F(EventChoosersQtTest, SwitchChosenInThePickerAndTheDatabaseMarkedChanged) {
    TEventChoosersQt choosers(nullptr, mDb);
    std::int32_t id = 3;
    {
        // OK on another row without touching a name: the ID changes, the database does not.
        TScopedModalRunner runner([](TFormKelBase& dialog) {
            auto& form = dynamic_cast<TFormSelSwitch&>(dialog);
            EXPECT_EQ(form.DataList()->currentRow(), 2);
            form.DataList()->setCurrentRow(6);
            form.findChild<QPushButton*>("ButtonOk")->click();
            return form.result();
        });
        EXPECT_TRUE(choosers.ChooseSwitch(id));
    }
    EXPECT_EQ(id, 7);
    EXPECT_FALSE(choosers.DataBaseChanged());
    {
        // A name typed and applied, then Cancel: the ID stays, the database has changed.
        TScopedModalRunner runner([](TFormKelBase& dialog) {
            auto& form = dynamic_cast<TFormSelSwitch&>(dialog);
            form.GroupList()->setCurrentRow(1);
            QTest::keyClicks(form.OverEdit1(), "Bridge");
            form.ButtonApply()->click();
            form.findChild<QPushButton*>("ButtonCancel")->click();
            return form.result();
        });
        EXPECT_FALSE(choosers.ChooseSwitch(id));
    }
    EXPECT_EQ(id, 7);
    EXPECT_EQ(mDb.Switch.FindByID(21)->Name, "Bridge");
    EXPECT_TRUE(choosers.DataBaseChanged());
}

TEST_F(EventChoosersQtTest, TheRouteEditorIsTheOneHandedIn) {
    TEventChoosersQt choosers(nullptr, mDb);
    TMoveRouteRequest request;
    const TEventCommandContext context;
    EXPECT_FALSE(choosers.EditMoveRoute(request, context));
    choosers.RouteEditor = [](TMoveRouteRequest& r, const TEventCommandContext&) {
        r.Frequency = 8;
        return true;
    };
    EXPECT_TRUE(choosers.EditMoveRoute(request, context));
    EXPECT_EQ(request.Frequency, 8);
    // No map tree: no place to choose, and nothing opens.
    TMapPlaceRequest place{4, 1, 2};
    EXPECT_FALSE(choosers.ChoosePlace(place));
    EXPECT_EQ(place.MapId, 4);
}

}  // namespace
}  // namespace quillon
