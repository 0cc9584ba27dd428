#include "data/LD_System.h"
#include "platform/SystemClipboard_qt.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace quillon;

namespace {

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

}  // namespace

TEST(SystemClipboard, PrivateFormatsAreMimeTypesHoldingTheBlock) {
    App();
    TSystemClipboard board;
    IClipboard* previous = SetClipboard(&board);
    TKelMusic music;
    music.Name = "Town";
    music.CopyToClipboard(569);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    if (!data->hasFormat("application/x-quillon-569")) {
        SetClipboard(previous);
        GTEST_SKIP() << "this platform plugin keeps no clipboard";
    }
    const QByteArray bytes = data->data("application/x-quillon-569");
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 1);  // record count
    TKelMusic back;
    EXPECT_TRUE(back.PasteFromClipboard(569));
    EXPECT_EQ(back.Name, "Town");
    EXPECT_FALSE(back.PasteFromClipboard(570));
    SetClipboard(previous);
}

// A change made outside the layer (another window or program) is announced, on the clipboard
// and program-wide while it is the one in use.
TEST(SystemClipboard, ChangesByAnyoneAreAnnounced) {
    App();
    TSystemClipboard board;
    IClipboard* previous = SetClipboard(&board);
    int heard = 0, heardProgramWide = 0;
    const TConnection own = board.Changed.Connect([&] { ++heard; });
    const TConnection programWide = ClipboardChanged().Connect([&] { ++heardProgramWide; });
    QGuiApplication::clipboard()->setText("from elsewhere");
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(heardProgramWide, 1);
    board.SetData(565, "page");
    EXPECT_EQ(heard, 2);
    SetClipboard(previous);
    QGuiApplication::clipboard()->setText("after");
    EXPECT_EQ(heardProgramWide, 3) << "once for the change back, not for the system clipboard any more";
}
