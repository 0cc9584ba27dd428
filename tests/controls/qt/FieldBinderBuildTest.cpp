// The field binder's built widgets: radio groups from their captions with the fields each
// button enables beside it, boxes in two columns, names shown for IDs, dash boxes that open
// their choosers, and an Alt letter for every caption.
#include "controls/DashBox_qt.h"
#include "controls/FieldBinder_qt.h"

#include "kit/WidgetKit.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

#include <set>

namespace quillon {
namespace {

using widgetkit::App;

struct TOrder {
    std::int32_t Kind = 1;  // 0 a constant amount, 1 a variable's
    std::int32_t Amount = 5;
    std::int32_t Variable = 1;
    std::int32_t Who = 10001;
    std::int32_t Switch = 3;
    std::string File = "Hero";
    bool Notify = false;
    std::int32_t Channel = 0;
};

const TFieldForm& OrderForm() {
    static const TFieldForm form = [] {
        TFieldFormBuilder<TOrder> b;
        b.Group("BoxAmount", "Amount");
        // Another kind of amount starts from nothing.
        b.Field(
             TFieldKind::RadioGroup, "RadioKind", "", [](const TOrder& o) { return o.Kind; },
             [](TOrder& o, std::int32_t kind) {
                 if (kind != o.Kind)
                     o.Amount = 0;
                 o.Kind = kind;
             })
            .Choices({"Constant", "Variable"});
        b.Field(TFieldKind::Number, "SpinAmount", "Amount", &TOrder::Amount).Range(0, 99)
            .EnabledWhen([](const TOrder& o) { return o.Kind == 0; });
        b.Field(TFieldKind::Variable, "DashVariable", "Amount Variable", &TOrder::Variable)
            .EnabledWhen([](const TOrder& o) { return o.Kind == 1; })
            .ItemsFrom([](const TOrder&) { return std::vector<TFieldChoice>{{1, "Gold"}}; });
        b.Group("BoxTarget", "Target");
        b.Field(TFieldKind::IdList, "ComboWho", "Character", &TOrder::Who).ItemsFrom([](const TOrder&) {
            return std::vector<TFieldChoice>{{10001, "Hero"}, {10005, "this Event"}, {3, "Door"}};
        });
        b.Field(TFieldKind::Switch, "DashSwitch", "Switch", &TOrder::Switch)
            .ItemsFrom([](const TOrder&) { return std::vector<TFieldChoice>{{3, "Open"}}; });
        b.Resource("DashFile", "Graphic", &TOrder::File, [](TOrder& o) {
            o.File = "Boat";
            return true;
        });
        b.Group("EndOfBoxes");
        b.Field(TFieldKind::Check, "CheckNotify", "Notify", &TOrder::Notify);
        b.Field(TFieldKind::RadioGroup, "RadioChannel", "Channel", &TOrder::Channel).Choices({"Left", "Right"})
            .EnabledWhen([](const TOrder& o) { return o.Notify; });
        return b.Build();
    }();
    return form;
}

// The Alt letter of a caption, lower case; a null character when it has none.
QChar Letter(const QString& caption) {
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toLower() : QChar();
}

TEST(FieldBinderBuildTest, BuildsRadioGroupsBoxesAndChoosersThatFollowTheRecord) {
    App();
    TOrder order;
    TFieldBinding binding(OrderForm(), order);
    QWidget form;
    auto* layout = new QFormLayout(&form);
    TFieldBinder binder(binding, form, layout);
    // Finding which button enables which field tried the choices on copies: the record is as
    // it was, the amount the kind's setter would have cleared included.
    EXPECT_EQ(order.Kind, 1);
    EXPECT_EQ(order.Amount, 5);
    EXPECT_FALSE(binding.Modified());

    auto* constant = widgetkit::Child<QRadioButton>(form, "RadioKind0");
    auto* variable = widgetkit::Child<QRadioButton>(form, "RadioKind1");
    auto* amount = widgetkit::Child<QSpinBox>(form, "SpinAmount");
    auto* amountVariable = widgetkit::Child<TDashBox>(form, "DashVariable");
    ASSERT_TRUE(constant && variable && amount && amountVariable);
    EXPECT_EQ(AccessibleCaption(constant->text()), "Constant");
    EXPECT_TRUE(variable->isChecked());
    // Each field stands beside the button that enables it, named by its label.
    EXPECT_EQ(amount->parentWidget(), constant->parentWidget());
    EXPECT_EQ(amountVariable->parentWidget(), variable->parentWidget());
    EXPECT_NEAR(amount->geometry().center().y(), constant->geometry().center().y(), amount->height());
    EXPECT_EQ(amount->accessibleName(), "Amount");
    EXPECT_FALSE(amount->isEnabled());
    EXPECT_EQ(amountVariable->Text(), "0001:Gold");
    constant->click();
    EXPECT_EQ(order.Kind, 0);
    EXPECT_TRUE(amount->isEnabled());
    EXPECT_FALSE(amountVariable->isEnabled());

    // Two boxes in a row stand side by side.
    auto* amountBox = widgetkit::Child<QGroupBox>(form, "BoxAmount");
    auto* targetBox = widgetkit::Child<QGroupBox>(form, "BoxTarget");
    ASSERT_TRUE(amountBox && targetBox);
    EXPECT_TRUE(amountBox->isAncestorOf(amount));
    form.adjustSize();
    form.show();
    EXPECT_LT(amountBox->geometry().right(), targetBox->geometry().left());
    EXPECT_EQ(amountBox->mapTo(&form, QPoint()).y(), targetBox->mapTo(&form, QPoint()).y());

    // Characters (IDs no list numbers) by name alone; switches and resources by what they hold.
    auto* who = widgetkit::Child<QComboBox>(form, "ComboWho");
    ASSERT_TRUE(who);
    EXPECT_EQ(who->itemText(0), "Hero");
    EXPECT_EQ(who->itemText(2), "Door");
    EXPECT_EQ(widgetkit::Child<TDashBox>(form, "DashSwitch")->Text(), "0003:Open");
    auto* file = widgetkit::Child<TDashBox>(form, "DashFile");
    EXPECT_EQ(file->Text(), "Hero");
    file->click();
    EXPECT_EQ(order.File, "Boat");
    EXPECT_EQ(file->Text(), "Boat");

    // A disabled group greys its buttons and its caption.
    auto* left = widgetkit::Child<QRadioButton>(form, "RadioChannel0");
    auto* channelLabel = widgetkit::Child<QLabel>(form, "RadioChannelLabel");
    ASSERT_TRUE(left && channelLabel);
    EXPECT_FALSE(targetBox->isAncestorOf(left));  // after the end of the boxes
    EXPECT_FALSE(left->isEnabled());
    EXPECT_FALSE(channelLabel->isEnabled());
    widgetkit::Child<QCheckBox>(form, "CheckNotify")->click();
    EXPECT_TRUE(left->isEnabled());
    EXPECT_TRUE(channelLabel->isEnabled());

    // Every input is named, and every caption has an Alt letter of its own.
    EXPECT_EQ(widgetkit::InputsWithoutAccessibleName(&form), QStringList());
    std::set<QChar> letters;
    int captions = 0;
    for (QLabel* label : form.findChildren<QLabel*>())
        if (label->buddy()) {
            ++captions;
            EXPECT_FALSE(Letter(label->text()).isNull()) << label->text().toStdString();
            letters.insert(Letter(label->text()));
        }
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>())
        if (!qobject_cast<TDashBox*>(button)) {
            ++captions;
            EXPECT_FALSE(Letter(button->text()).isNull()) << button->text().toStdString();
            letters.insert(Letter(button->text()));
        }
    EXPECT_EQ(static_cast<int>(letters.size()), captions);
    EXPECT_TRUE(widgetkit::KeepPicture(widgetkit::Grab(form), "field-binder-built"));
}

}  // namespace
}  // namespace quillon
