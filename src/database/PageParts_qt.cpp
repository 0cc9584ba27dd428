#include "database/PageParts_qt.h"

#include "controls/CheckListBox_qt.h"
#include "controls/DashBox_qt.h"
#include "controls/FieldBinder_qt.h"
#include "platform/Cp932Text_qt.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace quillon {

namespace {

QFormLayout* BoxLayout(QWidget& fields, const char* box) {
    auto* found = fields.findChild<QGroupBox*>(QString::fromLatin1(box));
    return found ? qobject_cast<QFormLayout*>(found->layout()) : nullptr;
}

QLabel* Label(QWidget* widget, const QString& label) {
    if (label.isEmpty())
        return nullptr;
    auto* made = new QLabel(label, widget->parentWidget());
    made->setObjectName(widget->objectName() + QStringLiteral("Label"));
    made->setBuddy(widget);
    return made;
}

}  // namespace

void AddToBox(QWidget& fields, const char* box, QWidget* widget, const QString& label, const QString& name) {
    QFormLayout* layout = BoxLayout(fields, box);
    if (!layout)
        return;
    widget->setParent(layout->parentWidget());
    widget->setAccessibleName(name);
    if (QLabel* made = Label(widget, label))
        layout->addRow(made, widget);
    else
        layout->addRow(widget);
}

void AddToBoxAfter(QWidget& fields, const char* box, const char* after, QWidget* widget, const QString& label,
                   const QString& name) {
    QFormLayout* layout = BoxLayout(fields, box);
    if (!layout)
        return;
    int row = after ? layout->rowCount() : 0;
    if (QWidget* previous = after ? fields.findChild<QWidget*>(QString::fromLatin1(after)) : nullptr) {
        int found = -1;
        QFormLayout::ItemRole role;
        layout->getWidgetPosition(previous, &found, &role);
        if (found >= 0)
            row = found + 1;
    }
    widget->setParent(layout->parentWidget());
    widget->setAccessibleName(name);
    if (QLabel* made = Label(widget, label))
        layout->insertRow(row, made, widget);
    else
        layout->insertRow(row, widget);
}

void ShowBoxes(QWidget& fields, const std::vector<std::string>& boxes, bool shown) {
    for (const std::string& name : boxes)
        if (auto* box = fields.findChild<QWidget*>(QString::fromStdString(name)))
            box->setVisible(shown);
}

void SetCaption(QWidget& fields, const char* name, const std::string& caption) {
    QWidget* found = fields.findChild<QWidget*>(QString::fromLatin1(name));
    const QString text = QObject::tr(caption.c_str());
    if (auto* box = qobject_cast<QGroupBox*>(found))
        box->setTitle(text);
    else if (auto* check = qobject_cast<QCheckBox*>(found)) {
        if (AccessibleCaption(check->text()) != text) {
            check->setText(text);
            AddMissingMnemonics(*check->window(), {check});
        }
        // A reader says what the box shows, not the field's first caption.
        check->setAccessibleName(AccessibleCaption(check->text()));
    }
}

TCheckListBox* NewMarkList(QWidget* parent, const char* objectName) {
    auto* list = new TCheckListBox(parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setMinimumHeight(90);
    return list;
}

void ShowMarks(TCheckListBox& list, const std::vector<std::string>& names, const std::vector<bool>& marks) {
    bool same = list.count() == static_cast<int>(names.size());
    for (int i = 0; same && i < list.count(); ++i)
        same = list.item(i)->text() == Cp932ToQString(names[static_cast<std::size_t>(i)]);
    if (!same)
        list.SetRows(names);
    list.SetCheckedRows(marks);
}

TDashBox* AddDashBox(QHBoxLayout& row, QLabel* label, const char* objectName) {
    auto* box = new TDashBox(label ? AccessibleCaption(label->text()) : QString(), row.parentWidget());
    box->setObjectName(QString::fromLatin1(objectName));
    row.addWidget(box);
    if (label)
        label->setBuddy(box);
    return box;
}

void ConnectMarks(TCheckListBox& list, std::function<void(int id, bool on)> mark) {
    QObject::connect(&list, &TCheckListBox::CheckEdited, &list,
                     [mark = std::move(mark)](int row, bool on) { mark(row + 1, on); });
}

void AddPageMnemonics(QWidget& fields) {
    std::vector<QWidget*> captioned;
    for (QWidget* widget : fields.findChildren<QWidget*>()) {
        if (qobject_cast<TDashBox*>(widget))
            continue;  // its text is a value
        const auto* label = qobject_cast<QLabel*>(widget);
        if ((label && label->buddy()) || qobject_cast<QAbstractButton*>(widget) || qobject_cast<QGroupBox*>(widget))
            captioned.push_back(widget);
    }
    AddMissingMnemonics(*fields.window(), captioned);
}

}  // namespace quillon
