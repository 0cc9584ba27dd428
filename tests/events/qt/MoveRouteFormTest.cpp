// The move route editor's window, headless: a command button fills the list, the 200-command
// limit greys the command buttons only, every input is named, and what it looks like.
#include "events/ED_MoveRoute_qt.h"
#include "events/MoveRouteFakes.h"

#include "data/LD_Map.h"
#include "platform/Clipboard.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace quillon;
using namespace quillon::routekit;

namespace {

class MoveRouteFormTest : public ::testing::Test, private widgetkit::TWithApp {
protected:
    void SetUp() override { TMoveRouteEditorModel::ForgetLastUsed(); }
    void TearDown() override { TMoveRouteEditorModel::ForgetLastUsed(); }

    QStringList ListTexts(QListWidget& list) const {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i)
            texts << list.item(i)->text();
        return texts;
    }

    TFakeChoosers choosers;
    TMemoryClipboard clipboard;
};

TEST_F(MoveRouteFormTest, ButtonsFillTheListAndTheLimitGreysOnlyTheCommandButtons) {
    TKelMap map;
    map.Events.Obtain(1).Name = "Signpost";
    TEventCommandContext context{.Map = &map, .Choosers = &choosers};
    TMoveRouteRequest request;
    request.CommandMode = true;
    request.Target = 1;
    TMoveRouteEditorModel model(request, context);
    model.SetClipboard(&clipboard);
    TFormEDMoveRoute form(model);
    widgetkit::ShowActive(form);

    EXPECT_EQ(form.windowTitle(), "Creation of the Movement Route");
    auto* list = widgetkit::Child<QListWidget>(form, "ListRoute");
    auto* target = widgetkit::Child<QComboBox>(form, "ComboTarget");
    auto* del = widgetkit::Child<QPushButton>(form, "ButtonDelete");
    auto* clear = widgetkit::Child<QPushButton>(form, "ButtonClearAll");
    ASSERT_TRUE(list && target && del && clear);
    EXPECT_EQ(target->currentText(), "Signpost");
    EXPECT_TRUE(target->isEnabled());
    EXPECT_EQ(ListTexts(*list), QStringList{"<,>"});
    EXPECT_FALSE(del->isEnabled());
    EXPECT_FALSE(clear->isEnabled());

    // The turn buttons show their degree sign.
    QPushButton* turn = form.CommandButton(18);
    ASSERT_NE(turn, nullptr);
    EXPECT_EQ(turn->text(), QString::fromUtf8("Turn Right 90\u00B0"));

    QTest::mouseClick(form.CommandButton(0), Qt::LeftButton);
    QTest::mouseClick(form.CommandButton(23), Qt::LeftButton);
    EXPECT_EQ(ListTexts(*list), (QStringList{"<,>Up ", "<,>Face Hero ", "<,>"}));
    EXPECT_EQ(list->currentRow(), 2);
    // Selecting a command, then a button, inserts in front of it.
    list->setCurrentRow(1);
    QTest::mouseClick(form.CommandButton(1), Qt::LeftButton);
    EXPECT_EQ(ListTexts(*list), (QStringList{"<,>Up ", "<,>Right ", "<,>Face Hero ", "<,>"}));
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_TRUE(del->isEnabled());

    // The menu's keys on the list: copy the selected command, paste it in front of it.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(list->count(), 5);
    EXPECT_EQ(list->item(2)->text(), "<,>Face Hero ");
    std::unique_ptr<QMenu> menu(form.BuildPopupMenu());
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << action->text() + (action->isEnabled() ? "" : " (off)");
    EXPECT_EQ(captions, (QStringList{"Cu&t", "&Copy", "&Paste", "&Delete"}));
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->count(), 4);

    EXPECT_TRUE(widgetkit::KeepPicture(widgetkit::Grab(form), "move_route_editor"));
    EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(&form), QStringList{});

    while (model.Route().Count() < kMoveRouteLimit)
        model.Insert({});
    for (int i = 0; i < static_cast<int>(MoveCommandButtons().size()); ++i)
        EXPECT_FALSE(form.CommandButton(i)->isEnabled()) << i;
    list->setCurrentRow(0);
    EXPECT_TRUE(del->isEnabled());
    EXPECT_TRUE(clear->isEnabled());
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_EQ(ListTexts(*list), QStringList{"<,>"});
    EXPECT_TRUE(form.CommandButton(41)->isEnabled());
}

}  // namespace
