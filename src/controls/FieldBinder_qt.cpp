#include "controls/FieldBinder_qt.h"

#include "data/Catalog.h"
#include "platform/Cp932Text_qt.h"
#include "platform/Cp932Validator_qt.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <stdexcept>

namespace quillon {

namespace {

QString Caption(const std::string& label) { return QObject::tr(label.c_str()); }

QString ColourName(std::int32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb) & 0xFFFFFFu).name(); }

void ShowColour(QAbstractButton* button, std::int32_t rgb) {
    button->setStyleSheet(QStringLiteral("background-color: %1;").arg(ColourName(rgb)));
    button->setToolTip(ColourName(rgb));
}

}  // namespace

QString AccessibleCaption(const QString& caption) {
    QString name;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
            name += caption[++i];
            continue;
        }
        name += caption[i];
    }
    name = name.trimmed();
    while (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

TFieldBinder::TFieldBinder(TFieldBinding& binding, QWidget& root, QFormLayout* layout)
    : QObject(&root), mBinding(binding), mBound(binding.Count()) {
    for (std::size_t i = 0; i < binding.Count(); ++i) {
        const TFieldSpec& field = binding.Field(i);
        TBound& bound = mBound[i];
        if (field.Kind == TFieldKind::RadioGroup) {
            for (const std::string& name : field.Choices) {
                auto* button = root.findChild<QAbstractButton*>(QString::fromStdString(name));
                if (!button)
                    throw std::logic_error("no radio button \"" + name + "\" for the field " + field.Widget);
                bound.Buttons.push_back(button);
            }
            bound.Widget = root.findChild<QWidget*>(QString::fromStdString(field.Widget));
        } else {
            bound.Widget = root.findChild<QWidget*>(QString::fromStdString(field.Widget));
            if (!bound.Widget && layout)
                bound.Widget = Build(field, root, *layout);
            if (!bound.Widget)
                throw std::logic_error("no widget \"" + field.Widget + "\" for its field");
        }
        for (const std::string& name : field.Companions)
            if (auto* companion = root.findChild<QWidget*>(QString::fromStdString(name)))
                bound.Companions.push_back(companion);
        if (bound.Widget && !field.Label.empty() && bound.Widget->accessibleName().isEmpty())
            bound.Widget->setAccessibleName(AccessibleCaption(Caption(field.Label)));
        Connect(i);
    }
    mChanged = binding.Changed.Connect([this](std::size_t) {
        if (!mShowing)
            Refresh();
    });
    Refresh();
}

TFieldBinder::~TFieldBinder() = default;

QWidget* TFieldBinder::Build(const TFieldSpec& field, QWidget& root, QFormLayout& layout) {
    QWidget* widget = nullptr;
    switch (field.Kind) {
    case TFieldKind::Text: widget = new QLineEdit(&root); break;
    case TFieldKind::MultiLineText: widget = new QPlainTextEdit(&root); break;
    case TFieldKind::Number: widget = new QSpinBox(&root); break;
    case TFieldKind::Check: widget = new QCheckBox(Caption(field.Label), &root); break;
    case TFieldKind::DropDown:
    case TFieldKind::IdList: widget = new QComboBox(&root); break;
    case TFieldKind::Group: widget = new QLabel(Caption(field.Label), &root); break;
    default: widget = new QPushButton(&root); break;
    }
    widget->setObjectName(QString::fromStdString(field.Widget));
    if (field.Kind == TFieldKind::Check || field.Kind == TFieldKind::Group || field.Label.empty()) {
        layout.addRow(widget);
    } else {
        auto* label = new QLabel(Caption(field.Label), &root);
        label->setBuddy(widget);
        layout.addRow(label, widget);
    }
    return widget;
}

void TFieldBinder::Connect(std::size_t index) {
    const TFieldSpec& field = mBinding.Field(index);
    TBound& bound = mBound[index];
    QWidget* widget = bound.Widget;
    switch (field.Kind) {
    case TFieldKind::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (field.MaxBytes > 0)
                LimitCp932(edit, static_cast<int>(field.MaxBytes));
            // Any change but ours (typing, pasting, assistive technology setting the text).
            connect(edit, &QLineEdit::textChanged, this, [this, index](const QString& text) {
                // Characters the code page cannot hold are refused: the edit shows the record again.
                if (const auto bytes = QStringToCp932(text))
                    Take(index, *bytes);
                else
                    Show(index);
            });
        }
        break;
    case TFieldKind::MultiLineText:
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
            connect(edit, &QPlainTextEdit::textChanged, this, [this, index, edit] {
                if (const auto bytes = QStringToCp932(edit->toPlainText()))
                    Take(index, *bytes);
                else
                    Show(index);
            });
        break;
    case TFieldKind::Number:
        if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
            if (field.Min <= field.Max)
                spin->setRange(field.Min, field.Max);
            connect(spin, &QSpinBox::valueChanged, this, [this, index](int value) { Take(index, value); });
        }
        break;
    case TFieldKind::Check:
        if (auto* check = qobject_cast<QAbstractButton*>(widget)) {
            check->setCheckable(true);
            connect(check, &QAbstractButton::toggled, this, [this, index](bool on) { Take(index, on ? 1 : 0); });
        }
        break;
    case TFieldKind::RadioGroup: {
        auto* group = new QButtonGroup(this);
        for (std::size_t b = 0; b < bound.Buttons.size(); ++b)
            group->addButton(static_cast<QAbstractButton*>(bound.Buttons[b]), static_cast<int>(b));
        connect(group, &QButtonGroup::idClicked, this, [this, index](int id) { Take(index, id); });
        break;
    }
    case TFieldKind::DropDown:
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (const std::string& choice : field.Choices)
                combo->addItem(Caption(choice));
            connect(combo, &QComboBox::activated, this, [this, index](int row) { Take(index, row); });
        }
        break;
    case TFieldKind::IdList:
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            connect(combo, &QComboBox::activated, this, [this, index, combo](int row) {
                if (row >= 0)
                    Take(index, combo->itemData(row).toInt());
            });
        break;
    case TFieldKind::Colour:
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::clicked, this, [this, index, button] {
                const QColor chosen = QColorDialog::getColor(QColor(ColourName(mBinding.Number(index))), button->window());
                if (chosen.isValid())
                    Take(index, static_cast<std::int32_t>(chosen.rgb() & 0xFFFFFFu));
            });
        break;
    case TFieldKind::Resource:
    case TFieldKind::Switch:
    case TFieldKind::Variable:
    case TFieldKind::MapPlace:
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::clicked, this, [this, index] {
                if (mBinding.Choose(index))
                    emit FieldChanged(static_cast<int>(index));
            });
        break;
    case TFieldKind::Group: break;
    }
}

void TFieldBinder::Take(std::size_t index, TFieldValue value) {
    if (mShowing)
        return;
    if (!mBinding.SetValue(index, std::move(value))) {
        Show(index);  // refused or kept in range: show what the record holds
        return;
    }
    // The binding's change signal has shown every field again by now.
    emit FieldChanged(static_cast<int>(index));
}

void TFieldBinder::Refresh() {
    for (std::size_t i = 0; i < mBound.size(); ++i)
        Show(i);
}

void TFieldBinder::Show(std::size_t index) {
    const TFieldSpec& field = mBinding.Field(index);
    TBound& bound = mBound[index];
    const bool enabled = mBinding.Enabled(index);
    const bool showing = std::exchange(mShowing, true);
    QWidget* widget = bound.Widget;
    if (widget && field.Kind != TFieldKind::RadioGroup)
        widget->setEnabled(enabled);
    for (QWidget* companion : bound.Companions)
        companion->setEnabled(enabled);

    switch (field.Kind) {
    case TFieldKind::Text:
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            const std::string bytes = mBinding.Text(index);
            // A stored value the edit would change (it does not decode) stays as its bytes.
            if (!ShowsCp932(edit->text(), bytes)) {
                const QSignalBlocker blocker(edit);
                edit->setText(Cp932ToQString(bytes));
            }
        }
        break;
    case TFieldKind::MultiLineText:
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            const std::string bytes = mBinding.Text(index);
            if (!ShowsCp932(edit->toPlainText(), bytes)) {
                const QSignalBlocker blocker(edit);
                edit->setPlainText(Cp932ToQString(bytes));
            }
        }
        break;
    case TFieldKind::Number:
        if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
            const QSignalBlocker blocker(spin);
            spin->setValue(mBinding.Number(index));
            if (!enabled && field.BlankWhenDisabled)
                spin->clear();
        }
        break;
    case TFieldKind::Check:
        if (auto* check = qobject_cast<QAbstractButton*>(widget)) {
            const QSignalBlocker blocker(check);
            check->setChecked(mBinding.Number(index) != 0);
        }
        break;
    case TFieldKind::RadioGroup: {
        if (widget)
            widget->setEnabled(enabled);
        const int value = mBinding.Number(index);
        for (std::size_t b = 0; b < bound.Buttons.size(); ++b) {
            auto* button = static_cast<QAbstractButton*>(bound.Buttons[b]);
            const QSignalBlocker blocker(button);
            button->setEnabled(mBinding.ChoiceEnabled(index, static_cast<int>(b)));
            if (static_cast<int>(b) == value)
                button->setChecked(true);
        }
        break;
    }
    case TFieldKind::DropDown:
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            const QSignalBlocker blocker(combo);
            combo->setCurrentIndex(mBinding.Number(index));
        }
        break;
    case TFieldKind::IdList:
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            const QSignalBlocker blocker(combo);
            const std::vector<TFieldChoice> items = mBinding.Items(index);
            bool same = static_cast<int>(items.size()) == combo->count();
            for (std::size_t r = 0; same && r < items.size(); ++r)
                same = combo->itemData(static_cast<int>(r)).toInt() == items[r].Id;
            if (!same) {
                combo->clear();
                for (const TFieldChoice& item : items)
                    combo->addItem(Cp932ToQString(FormatIdName(item.Id, item.Name)), item.Id);
            }
            combo->setCurrentIndex(combo->findData(mBinding.Number(index)));
        }
        break;
    case TFieldKind::Colour:
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            ShowColour(button, mBinding.Number(index));
        break;
    case TFieldKind::Resource:
    case TFieldKind::Switch:
    case TFieldKind::Variable:
    case TFieldKind::MapPlace:
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && field.Get) {
            const TFieldValue value = mBinding.Value(index);
            if (const auto* text = std::get_if<std::string>(&value))
                button->setText(Cp932ToQString(*text));
            else
                button->setText(QString::number(std::get<std::int32_t>(value)));
        }
        break;
    case TFieldKind::Group: break;
    }
    mShowing = showing;
}

QWidget* TFieldBinder::Widget(const std::string& name) const {
    for (std::size_t i = 0; i < mBound.size(); ++i)
        if (mBinding.Field(i).Widget == name)
            return mBound[i].Widget;
    return nullptr;
}

}  // namespace quillon
