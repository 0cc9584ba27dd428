// The help window on pages of its own: opens a page, follows a link, goes back and forward and
// to the index; a missing page shows a notice.
#include "controls/HelpWindow_qt.h"

#include "ControlsQtKit.h"

#include <QDialog>
#include <QFile>
#include <QTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace quillon {
namespace {

using testkit::ControlsQtTest;

void Write(const QString& path, const char* html) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(html);
}

TEST_F(ControlsQtTest, HelpWindowFollowsLinksBackForwardAndIndex) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    Write(folder.filePath("index.html"), "<html><head><title>Contents</title></head><body><h1>Contents</h1>"
                                         "<a href=\"events.html\">Events</a></body></html>");
    Write(folder.filePath("events.html"), "<html><head><title>Events</title></head><body><h1>Events</h1>"
                                          "<a href=\"index.html\">Back to the contents</a></body></html>");
    Write(folder.filePath("database.html"), "<html><body><h1>Database</h1></body></html>");

    EXPECT_EQ(HelpPageFile(folder.path(), 201), folder.filePath("events.html"));
    ShowHelpPage(HelpPageFile(folder.path(), 5));
    TFormHelp* window = HelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    QTextBrowser* browser = window->Browser();
    EXPECT_TRUE(browser->toPlainText().contains("Database"));
    EXPECT_FALSE(window->ButtonBack()->isEnabled());

    window->ButtonIndex()->click();
    EXPECT_TRUE(browser->toPlainText().contains("Contents"));
    EXPECT_EQ(window->windowTitle(), "Help - Contents");
    // The link by keyboard: Tab to it, Enter follows it.
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    EXPECT_EQ(browser->source().fileName(), "events.html");
    testkit::Grab(*window, "help-window");

    ASSERT_TRUE(window->ButtonBack()->isEnabled());
    window->ButtonBack()->click();
    EXPECT_EQ(browser->source().fileName(), "index.html");
    ASSERT_TRUE(window->ButtonForward()->isEnabled());
    window->ButtonForward()->click();
    EXPECT_EQ(browser->source().fileName(), "events.html");
    EXPECT_FALSE(window->ButtonForward()->isEnabled());

    // The same window again, on a page that is not there.
    ShowHelpPage(folder.filePath("nothing.html"));
    EXPECT_EQ(HelpWindow(), window);
    EXPECT_TRUE(browser->toPlainText().contains("nothing.html"));
    window->close();
}

TEST_F(ControlsQtTest, HelpWindowShowsTheEditorsOwnPages) {
    const QString folder = QString(QUILLON_SOURCE_DIR) + "/src/app/help";
    TFormHelp window;
    window.OpenPage(HelpPageFile(folder, 171));
    window.show();
    EXPECT_EQ(window.Browser()->source().fileName(), "drawing-maps.html");
    EXPECT_FALSE(window.Browser()->toPlainText().trimmed().isEmpty());
    testkit::Grab(window, "help-window-maps");
}

// Help asked for from a modal dialog must not be blocked by it; asked for without one, the window
// blocks nothing.
TEST_F(ControlsQtTest, HelpFromAModalDialogCanBeUsed) {
    const QString page = HelpPageFile(QString(QUILLON_SOURCE_DIR) + "/src/app/help", 171);
    QDialog dialog;
    Qt::WindowModality inside = Qt::NonModal;
    QTimer::singleShot(0, &dialog, [&] {
        ShowHelpPage(page);
        inside = HelpWindow()->windowModality();
        HelpWindow()->close();
        dialog.reject();
    });
    dialog.exec();
    EXPECT_EQ(inside, Qt::ApplicationModal);
    ShowHelpPage(page);
    EXPECT_EQ(HelpWindow()->windowModality(), Qt::NonModal);
    HelpWindow()->close();
}

}  // namespace
}  // namespace quillon
