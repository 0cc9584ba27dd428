// The CP932 line edit: the limit in bytes, characters the code page lacks refused as typed, and
// stored values it cannot show or hold kept as their bytes until the user edits.
#include "controls/Cp932Edit_qt.h"

#include "ControlsQtKit.h"

#include <QKeyEvent>
#include <QTest>

namespace quillon {
namespace {

using testkit::ControlsQtTest;

// Types each character as a key with that text (QTest only types ASCII).
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

TEST_F(ControlsQtTest, Cp932EditCountsBytesAndRefusesForeignCharacters) {
    TCp932Edit edit(6);
    edit.setAccessibleName("Name");
    int edits = 0;
    QObject::connect(&edit, &TCp932Edit::BytesEdited, [&] { ++edits; });
    edit.show();
    Type(&edit, QString::fromUtf8("ab\u3042\u3044"));  // 2 + 2 × 2 bytes: full
    QTest::keyClicks(&edit, "c");
    EXPECT_EQ(edit.text(), QString::fromUtf8("ab\u3042\u3044"));
    EXPECT_EQ(edit.Bytes(), "ab\x82\xa0\x82\xa2");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    Type(&edit, QString::fromUtf8("\uD55C"));  // a Hangul syllable: not in the code page
    QTest::keyClicks(&edit, "d");
    EXPECT_EQ(edit.Bytes(), "ab\x82\xa0" "d");
    EXPECT_GT(edits, 0);
    testkit::Grab(edit, "cp932-edit");
}

TEST_F(ControlsQtTest, Cp932EditKeepsStoredBytesItCannotShowUntilEdited) {
    struct Case {
        const char* What;
        std::string Stored;
    };
    const Case cases[] = {
        {"a lone lead byte", std::string("ab\x82", 3)},
        {"longer than the limit", "abcdefghij"},
        {"a byte that is no character", std::string("a\xa0\xff", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TCp932Edit edit(6);
        int edits = 0;
        QObject::connect(&edit, &TCp932Edit::BytesEdited, [&] { ++edits; });
        edit.SetBytes(c.Stored);
        edit.show();
        EXPECT_EQ(edits, 0);
        EXPECT_FALSE(edit.Edited());
        EXPECT_EQ(edit.Bytes(), c.Stored);
        edit.setFocus();
        edit.end(false);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        EXPECT_TRUE(edit.Edited());
        const std::string now = edit.Bytes();
        EXPECT_LE(now.size(), 6u);
        EXPECT_EQ(edit.text().contains(QChar(0xFFFD)), false);
        EXPECT_EQ(now.substr(0, 1), "a");
    }
}

}  // namespace
}  // namespace quillon
