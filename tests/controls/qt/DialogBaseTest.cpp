// The dialog base and the field binder on the offscreen platform: results, keys, placement, and
// a form's widgets built, filled and read back.
#include "controls/FieldBinder_qt.h"
#include "controls/Help.h"
#include "controls/KelBase_qt.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon {
namespace {

using widgetkit::App;

// A dialog with the three standard buttons; OK is refused while `Refuse` is set.
class TSampleDialog : public TFormKelBase {
public:
    explicit TSampleDialog(QWidget* parent = nullptr) : TFormKelBase(parent) {
        auto* layout = new QVBoxLayout(this);
        for (const char* name : {"ButtonOk", "ButtonCancel", "ButtonHelp"}) {
            auto* button = new QPushButton(QString::fromLatin1(name), this);
            button->setObjectName(QString::fromLatin1(name));
            layout->addWidget(button);
        }
        ConnectStandardButtons();
        SetHelpContext(171);
    }
    bool Refuse = false;
    int Asked = 0;

protected:
    bool CanConfirm() override {
        ++Asked;
        return !Refuse;
    }
};

// Types text that QTest's key tables do not hold (characters beyond ASCII).
void Type(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// Ends a modal loop from inside it.
void Soon(std::function<void()> step) { QTimer::singleShot(0, step); }

TEST(DialogBaseTest, OkCancelEscAndTheCloseBoxEndWithTheDesignsResults) {
    App();
    struct TCase {
        const char* What;
        std::function<void(TSampleDialog&)> Act;
        int Result;
    };
    const TCase cases[] = {
        {"OK", [](TSampleDialog& d) { d.findChild<QPushButton*>("ButtonOk")->click(); }, mrOk},
        {"Cancel", [](TSampleDialog& d) { d.findChild<QPushButton*>("ButtonCancel")->click(); }, mrCancel},
        {"Esc", [](TSampleDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, mrCancel},
        {"close box", [](TSampleDialog& d) { d.close(); }, mrCancel},
    };
    for (const TCase& c : cases) {
        TSampleDialog dialog;
        Soon([&] { c.Act(dialog); });
        EXPECT_EQ(dialog.RunModal(), c.Result) << c.What;
    }
    // A refused OK keeps the dialog open; the next one closes it.
    TSampleDialog dialog;
    dialog.Refuse = true;
    Soon([&] {
        dialog.findChild<QPushButton*>("ButtonOk")->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.Refuse = false;
        dialog.findChild<QPushButton*>("ButtonOk")->click();
    });
    EXPECT_TRUE(dialog.Run());
    EXPECT_EQ(dialog.Asked, 2);
}

TEST(DialogBaseTest, F1AndHelpShowTheContextOnlyWhileHelpIsThereAndEnabled) {
    App();
    std::vector<int> shown;
    THelpHandler previous = SetHelpHandler([&](int context) { shown.push_back(context); });
    TSampleDialog dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_F1);
    dialog.findChild<QPushButton*>("ButtonHelp")->click();
    dialog.findChild<QPushButton*>("ButtonHelp")->setEnabled(false);
    QTest::keyClick(&dialog, Qt::Key_F1);
    EXPECT_EQ(shown, (std::vector<int>{171, 171}));
    SetHelpHandler(std::move(previous));
}

TEST(DialogBaseTest, OpensCentredOnItsOwnerOrAtItsOffsetInsideTheScreen) {
    App();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner;
    owner.setGeometry(area.left() + 100, area.top() + 80, 600, 400);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));

    TSampleDialog centred(&owner);
    centred.resize(200, 120);
    centred.show();
    const QPoint expected = owner.frameGeometry().center() - QPoint(centred.frameGeometry().width() / 2,
                                                                     centred.frameGeometry().height() / 2);
    EXPECT_LE((centred.frameGeometry().topLeft() - expected).manhattanLength(), 2);
    centred.hide();

    TSampleDialog fixed(&owner);
    fixed.SetFixedOffset(QPoint(16, 24));
    fixed.resize(200, 120);
    fixed.show();
    EXPECT_EQ(fixed.frameGeometry().topLeft(), owner.mapToGlobal(QPoint(16, 24)));
    fixed.hide();

    // An owner at the screen's bottom right: the dialog stays inside.
    owner.move(area.right() - 100, area.bottom() - 50);
    TSampleDialog clamped(&owner);
    clamped.resize(300, 200);
    clamped.show();
    EXPECT_TRUE(area.contains(clamped.frameGeometry())) << clamped.frameGeometry().x() << "," << clamped.frameGeometry().y();
}

TEST(DialogBaseTest, TheModalRunnerStandsInForTheModalLoopAndNests) {
    App();
    std::vector<std::string> ran;
    TScopedModalRunner outer([&](TFormKelBase&) {
        ran.push_back("outer");
        return mrOk;
    });
    {
        TScopedModalRunner inner([&](TFormKelBase&) {
            ran.push_back("inner");
            return mrCancel;
        });
        TSampleDialog dialog;
        EXPECT_FALSE(dialog.Run());
    }
    TSampleDialog dialog;
    EXPECT_TRUE(dialog.Run());
    EXPECT_EQ(ran, (std::vector<std::string>{"inner", "outer"}));
}

// --- the field binder ---

struct TPerson {
    std::string Name;
    std::int32_t Age = 30;
    bool Married = false;
    std::int32_t Years = 0;  // of marriage: only when married
};

const TFieldForm& PersonForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TPerson> b;
        b.Field(TFieldKind::Text, "EditName", "&Name:", &TPerson::Name).Bytes(6);
        b.Field(TFieldKind::Number, "SpinAge", "&Age:", &TPerson::Age).Range(0, 120);
        b.Field(TFieldKind::Check, "CheckMarried", "&Married", &TPerson::Married);
        b.Field(TFieldKind::Number, "SpinYears", "&Years:", &TPerson::Years).Range(0, 99).BlankWhenDisabled()
            .EnabledWhen([](const TPerson& p) { return p.Married; });
        return b.Build();
    }();
    return form;
}

TEST(FieldBinderTest, BuildsLabelledWidgetsAndFollowsEveryChangeWithItsEnabling) {
    App();
    TPerson person;
    person.Name = "\x83\x65";  // katakana TE
    person.Years = 7;
    TFieldBinding binding(PersonForm(), person);
    QWidget form;
    auto* layout = new QFormLayout(&form);
    TFieldBinder binder(binding, form, layout);
    int changed = 0;
    QObject::connect(&binder, &TFieldBinder::FieldChanged, [&] { ++changed; });

    auto* name = form.findChild<QLineEdit*>("EditName");
    auto* age = form.findChild<QSpinBox*>("SpinAge");
    auto* married = form.findChild<QCheckBox*>("CheckMarried");
    auto* years = form.findChild<QSpinBox*>("SpinYears");
    ASSERT_TRUE(name && age && married && years);
    // Each input has its label as buddy and a name for assistive technology.
    EXPECT_EQ(qobject_cast<QLabel*>(layout->labelForField(name))->buddy(), name);
    EXPECT_EQ(name->accessibleName(), "Name");
    EXPECT_EQ(years->accessibleName(), "Years");
    EXPECT_EQ(name->text(), QString::fromUtf8("\xe3\x83\x86"));
    EXPECT_FALSE(years->isEnabled());
    EXPECT_EQ(years->text(), "");
    EXPECT_FALSE(binding.Modified());  // showing wrote nothing

    married->click();
    EXPECT_TRUE(person.Married);
    EXPECT_TRUE(years->isEnabled());
    EXPECT_EQ(years->value(), 7);
    age->setValue(500);
    EXPECT_EQ(person.Age, 120);
    EXPECT_EQ(age->value(), 120);
    QTest::keyClicks(name, "ab");
    EXPECT_EQ(person.Name, "\x83\x65" "ab");
    // A character the code page cannot hold is refused as it is typed.
    Type(name, QString::fromUtf8("\xf0\x9f\x98\x80"));
    EXPECT_EQ(person.Name, "\x83\x65" "ab");
    // The byte limit counts code page bytes: "テab" is 4 of 6, two more fit.
    QTest::keyClicks(name, "cde");
    EXPECT_EQ(person.Name, "\x83\x65" "abcd");
    EXPECT_EQ(changed, 6);  // married, age, two letters and two more
    // Text set through the accessibility interface arrives as a plain change of the edit.
    name->setText("Zed");
    EXPECT_EQ(person.Name, "Zed");

    // A change made behind the widgets shows after a refresh.
    person.Married = false;
    binder.Refresh();
    EXPECT_FALSE(years->isEnabled());
    EXPECT_FALSE(married->isChecked());
}

TEST(FieldBinderTest, AStoredNameThatDoesNotDecodeIsKeptUntilTheUserEditsIt) {
    App();
    TPerson person;
    person.Name = std::string("A\x81", 2);  // a lead byte without its pair
    TFieldBinding binding(PersonForm(), person);
    QWidget form;
    TFieldBinder binder(binding, form, new QFormLayout(&form));
    person.Age = 31;
    binder.Refresh();
    EXPECT_EQ(person.Name, std::string("A\x81", 2));
    EXPECT_FALSE(binding.Modified());
    auto* name = form.findChild<QLineEdit*>("EditName");
    name->selectAll();
    QTest::keyClicks(name, "Bo");
    EXPECT_EQ(person.Name, "Bo");
}

TEST(FieldBinderTest, AFieldWithoutItsWidgetIsNamedWhenNothingMayBeBuilt) {
    App();
    TPerson person;
    TFieldBinding binding(PersonForm(), person);
    QWidget empty;
    try {
        TFieldBinder binder(binding, empty);
        FAIL() << "bound without widgets";
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find("EditName"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace quillon
