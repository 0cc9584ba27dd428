#include "controls/FieldBinder_qt.h"

#include "controls/DashBox_qt.h"
#include "data/Catalog.h"
#include "platform/Cp932Text_qt.h"
#include "platform/Cp932Validator_qt.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <map>
#include <set>
#include <algorithm>
#include <functional>
#include <stdexcept>

namespace quillon {

namespace {

QString Caption(const std::string& label) { return QObject::tr(label.c_str()); }

QString ColourName(std::int32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb) & 0xFFFFFFu).name(); }

void ShowColour(QAbstractButton* button, std::int32_t rgb) {
    button->setStyleSheet(QStringLiteral("background-color: %1;").arg(ColourName(rgb)));
    button->setToolTip(ColourName(rgb));
}

// A caption without its Alt letter ("&&" stays a single "&").
QString WithoutMnemonic(const QString& caption) {
    QString plain;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

// The Alt letter of a caption (lower case), or a null character.
QChar MnemonicOf(const QString& caption) {
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toLower();
        ++i;  // "&&" is a plain "&"
    }
    return {};
}

QString CaptionText(const QWidget* widget) {
    if (qobject_cast<const TDashBox*>(widget))
        return {};  // its text is a value, not a caption
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* box = qobject_cast<const QGroupBox*>(widget))
        return box->title();
    return {};
}

void SetCaptionText(QWidget* widget, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(text);
}

// Radio buttons side by side when they are few and short, else one under the other.
bool RadioGroupAcross(const std::vector<std::string>& captions) {
    std::size_t letters = 0;
    for (const std::string& caption : captions)
        letters += caption.size();
    return (captions.size() <= 3 && letters <= 28) || (captions.size() == 4 && letters <= 24);
}

// Rows of a form layout that grow only where a field wants the room (lists, names, texts).
QFormLayout* NewFormLayout() {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    return form;
}

// Where to split a run in two columns: the boundary k (items 0 .. k-1 on the left) that makes
// the taller column shortest, among the allowed ones; 0 when none is allowed.
std::size_t BestSplit(const std::vector<int>& weights, const std::function<bool(std::size_t)>& allowed) {
    int total = 0;
    for (const int w : weights)
        total += w;
    std::size_t best = 0;
    int bestHeight = total + 1;
    int left = 0;
    for (std::size_t k = 1; k < weights.size(); ++k) {
        left += weights[k - 1];
        const int height = std::max(left, total - left);
        // Columns of very different heights look like one column with a stray beside it.
        const bool balanced = 3 * std::min(left, total - left) >= total;
        if (allowed(k) && balanced && height < bestHeight) {
            best = k;
            bestHeight = height;
        }
    }
    return best;
}

// A run of loose rows longer than this is set in two columns.
constexpr int kLongRun = 9;

}  // namespace

// The widgets made for the fields not found, before they are laid out: runs of loose rows and
// boxes of rows, in field order.
struct TFieldBinder::TBuild {
    struct TRow {
        QLabel* Label = nullptr;  // beside the field; nullptr: the widget takes the whole row
        QWidget* Widget = nullptr;
        TFieldKind Kind = TFieldKind::Group;
        int Weight = 1;     // about how many lines it takes
        bool Wide = false;  // fields in several columns of their own: not set beside another column
    };
    struct TBlock {
        QGroupBox* Box = nullptr;  // nullptr: loose rows
        std::vector<TRow> Rows;
    };
    // A field that a radio button enables, shown beside that button.
    struct TFollower {
        QGridLayout* Grid = nullptr;
        int Row = 0;
        bool Labelled = false;  // the button has several: each shows its label
        int Span = 1;           // the columns a field alone beside its button takes
    };
    std::vector<TBlock> Blocks;
    bool InBox = false;
    std::vector<QWidget*> Captioned;  // what may want an Alt letter
    std::map<std::size_t, TFollower> Followers;  // by field index
    std::map<QGridLayout*, std::map<int, int>> NextColumn;  // of each button's row

    // The fields after `index` stand beside the buttons (grid rows) `owners` names. True when a
    // button has several beside it (the grid is wide).
    bool Follow(QGridLayout* grid, std::size_t index, const std::vector<int>& owners) {
        std::map<int, int> perRow;
        int most = 0;
        for (const int owner : owners)
            most = std::max(most, ++perRow[owner]);
        for (std::size_t f = 0; f < owners.size(); ++f)
            Followers[index + 1 + f] = {grid, owners[f], perRow[owners[f]] > 1, most > 1 ? 2 * most : 1};
        return most > 1;
    }

    void Add(TRow row) {
        if (Blocks.empty() || (!InBox && Blocks.back().Box) || (InBox && !Blocks.back().Box))
            Blocks.emplace_back();
        Blocks.back().Rows.push_back(row);
    }
};

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
    TBuild build;
    for (std::size_t i = 0; i < binding.Count(); ++i) {
        const TFieldSpec& field = binding.Field(i);
        TBound& bound = mBound[i];
        if (field.Kind == TFieldKind::RadioGroup) {
            // A Designer form names every button; a built group makes them from their captions.
            bound.Widget = root.findChild<QWidget*>(QString::fromStdString(field.Widget));
            for (const std::string& name : field.Choices) {
                auto* button = root.findChild<QAbstractButton*>(QString::fromStdString(name));
                if (!button)
                    break;
                bound.Buttons.push_back(button);
            }
            if (bound.Buttons.size() != field.Choices.size()) {
                bound.Buttons.clear();
                if (!layout || bound.Widget)
                    throw std::logic_error("no radio button \"" +
                                           (field.Choices.empty() ? field.Widget : field.Choices.front()) +
                                           "\" for the field " + field.Widget);
                bound.Widget = Build(i, root, build);
            }
        } else {
            bound.Widget = root.findChild<QWidget*>(QString::fromStdString(field.Widget));
            if (!bound.Widget && layout)
                bound.Widget = Build(i, root, build);
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
    if (layout && !build.Blocks.empty()) {
        LayOut(build, *layout);
        AddMissingMnemonics(*root.window(), build.Captioned);
    }
    mChanged = binding.Changed.Connect([this](std::size_t) {
        if (!mShowing)
            Refresh();
    });
    Refresh();
}

TFieldBinder::~TFieldBinder() = default;

std::vector<int> TFieldBinder::Followers(std::size_t index) const {
    const TFieldSpec& field = mBinding.Field(index);
    const bool check = field.Kind == TFieldKind::Check;
    const int choices = check ? 2 : static_cast<int>(field.Choices.size());
    if (choices < 2 || !mBinding.Enabled(index))
        return {};
    // Which of the fields after the choice each value enables, tried on copies of the record.
    constexpr std::size_t kLookAhead = 16;
    const std::size_t last = std::min(mBinding.Count(), index + 1 + kLookAhead);
    std::vector<std::vector<bool>> enabled(static_cast<std::size_t>(choices));
    int probed = 0;
    for (int c = 0; c < choices; ++c) {
        if (!check && !mBinding.ChoiceEnabled(index, c))
            continue;
        const std::vector<bool> states = mBinding.EnabledWith(index, c);
        if (states.size() != mBinding.Count())
            continue;
        ++probed;
        enabled[static_cast<std::size_t>(c)].assign(states.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                                                    states.begin() + static_cast<std::ptrdiff_t>(last));
    }

    std::vector<int> owners;
    for (std::size_t j = index + 1; j < last; ++j) {
        const TFieldKind kind = mBinding.Field(j).Kind;
        if (kind == TFieldKind::Group || kind == TFieldKind::RadioGroup || kind == TFieldKind::Check ||
            kind == TFieldKind::MultiLineText)
            break;
        const auto on = [&](int c) {
            const std::vector<bool>& states = enabled[static_cast<std::size_t>(c)];
            return j - index - 1 < states.size() && states[j - index - 1];
        };
        // A field some values enable and others not stands beside the first that enables it; a
        // check box's fields are the ones it enables when it is on.
        int owner = -1;
        int count = 0;
        for (int c = choices - 1; c >= 0; --c)
            if (on(c)) {
                owner = c;
                ++count;
            }
        // A field no button that could be tried enables belongs to the one that could not (a
        // button disabled for now), when there is just one.
        if (!check && count == 0 && probed == choices - 1)
            for (int c = 0; c < choices; ++c)
                if (enabled[static_cast<std::size_t>(c)].empty()) {
                    owner = c;
                    count = 1;
                }
        if (check ? !(on(1) && !on(0)) : (count == 0 || count >= probed))
            break;
        owners.push_back(check ? 0 : owner);
    }
    return owners;
}

QWidget* TFieldBinder::Build(std::size_t index, QWidget& root, TBuild& build) {
    const TFieldSpec& field = mBinding.Field(index);
    TBound& bound = mBound[index];
    const QString name = QString::fromStdString(field.Widget);
    const QString caption = Caption(field.Label);
    TBuild::TRow row;
    row.Kind = field.Kind;
    bool labelled = !field.Label.empty();
    QWidget* widget = nullptr;
    QWidget* rowWidget = nullptr;  // what the row shows, when it is not the field's own widget
    switch (field.Kind) {
    case TFieldKind::Group:
        if (field.Label.empty()) {
            // The end of a box: the fields after it are loose again.
            build.InBox = false;
            widget = new QWidget(&root);
            widget->setObjectName(name);
            widget->hide();
            return widget;
        } else {
            auto* box = new QGroupBox(caption, &root);
            box->setObjectName(name);
            box->setLayout(NewFormLayout());
            build.InBox = true;
            build.Blocks.push_back({box, {}});
            return box;
        }
    case TFieldKind::Text: widget = new QLineEdit(&root); break;
    case TFieldKind::MultiLineText:
        widget = new QPlainTextEdit(&root);
        row.Weight = 3;
        break;
    case TFieldKind::Number:
        widget = new QSpinBox(&root);
        widget->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);  // a number needs no more room
        break;
    case TFieldKind::Check: {
        widget = new QCheckBox(caption, &root);
        build.Captioned.push_back(widget);
        labelled = false;
        const std::vector<int> owners = Followers(index);
        if (!owners.empty()) {
            // The check box with the fields it enables beside it.
            rowWidget = new QWidget(&root);
            auto* grid = new QGridLayout(rowWidget);
            grid->setContentsMargins(0, 0, 0, 0);
            widget->setParent(rowWidget);
            grid->addWidget(widget, 0, 0);
            build.NextColumn[grid][0] = 1;
            row.Wide = build.Follow(grid, index, owners);
        }
        break;
    }
    case TFieldKind::RadioGroup: {
        widget = new QWidget(&root);
        const std::vector<int> owners = Followers(index);
        if (!owners.empty()) {
            // Each button with the fields it enables beside it.
            auto* grid = new QGridLayout(widget);
            grid->setContentsMargins(0, 0, 0, 0);
            for (std::size_t b = 0; b < field.Choices.size(); ++b) {
                auto* button = new QRadioButton(Caption(field.Choices[b]), widget);
                button->setObjectName(name + QString::number(b));
                grid->addWidget(button, static_cast<int>(b), 0);
                bound.Buttons.push_back(button);
                build.Captioned.push_back(button);
                build.NextColumn[grid][static_cast<int>(b)] = 1;
            }
            row.Wide = build.Follow(grid, index, owners);
            row.Weight = static_cast<int>(field.Choices.size());
            break;
        }
        const bool across = RadioGroupAcross(field.Choices);
        QBoxLayout* buttons = across ? static_cast<QBoxLayout*>(new QHBoxLayout(widget))
                                     : static_cast<QBoxLayout*>(new QVBoxLayout(widget));
        buttons->setContentsMargins(0, 0, 0, 0);
        for (std::size_t b = 0; b < field.Choices.size(); ++b) {
            auto* button = new QRadioButton(Caption(field.Choices[b]), widget);
            button->setObjectName(name + QString::number(b));
            buttons->addWidget(button);
            bound.Buttons.push_back(button);
            build.Captioned.push_back(button);
        }
        if (across)
            buttons->addStretch(1);
        row.Weight = across ? 1 : std::max<int>(1, static_cast<int>(field.Choices.size()));
        break;
    }
    case TFieldKind::DropDown:
    case TFieldKind::IdList: {
        auto* combo = new QComboBox(&root);
        combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(10);
        widget = combo;
        break;
    }
    case TFieldKind::Resource:
        if (!field.Get) {
            // A button that only opens its chooser ("Set..."): the caption is the button's.
            widget = new QPushButton(caption, &root);
            build.Captioned.push_back(widget);
            labelled = false;
            break;
        }
        [[fallthrough]];
    case TFieldKind::Switch:
    case TFieldKind::Variable:
    case TFieldKind::MapPlace: widget = new TDashBox(AccessibleCaption(caption), &root); break;
    case TFieldKind::Colour: widget = new QPushButton(&root); break;
    }
    widget->setObjectName(name);
    row.Widget = rowWidget ? rowWidget : widget;
    if (const auto follower = build.Followers.find(index); follower != build.Followers.end()) {
        // Beside its radio button, which names it: a label only when the button has several.
        const TBuild::TFollower& place = follower->second;
        int& column = build.NextColumn[place.Grid][place.Row];
        if (!place.Labelled) {
            // Alone beside its button: across the columns the others' labels and fields take.
            place.Grid->addWidget(widget, place.Row, column, 1, place.Span, Qt::AlignVCenter);
            column += place.Span;
            return widget;
        }
        if (labelled) {
            auto* label = new QLabel(caption, &root);
            label->setObjectName(name + QStringLiteral("Label"));
            label->setBuddy(widget);
            build.Captioned.push_back(label);
            bound.Companions.push_back(label);
            place.Grid->addWidget(label, place.Row, column, Qt::AlignVCenter);
        }
        place.Grid->addWidget(widget, place.Row, column + 1, Qt::AlignVCenter);
        column += 2;
        return widget;
    }
    if (labelled) {
        auto* label = new QLabel(caption, &root);
        if (field.Kind == TFieldKind::RadioGroup) {
            // Each button has its own letter; the group's caption only tells what they choose.
            label->setText(WithoutMnemonic(caption));
        } else {
            label->setBuddy(widget);
            build.Captioned.push_back(label);
        }
        label->setObjectName(name + QStringLiteral("Label"));
        bound.Companions.push_back(label);  // greys with its field
        row.Label = label;
    }
    build.Add(row);
    return widget;
}

void TFieldBinder::LayOut(TBuild& build, QFormLayout& layout) {
    const auto addRows = [](QFormLayout& form, const std::vector<TBuild::TRow>& rows, std::size_t from,
                            std::size_t to) {
        for (std::size_t r = from; r < to; ++r) {
            if (rows[r].Label)
                form.addRow(rows[r].Label, rows[r].Widget);
            else
                form.addRow(rows[r].Widget);
        }
    };
    // Two columns side by side in one row of the layout, their contents at the top.
    const auto twoColumns = [&layout](QLayout* left, QLayout* right) {
        auto* columns = new QWidget;
        auto* across = new QHBoxLayout(columns);
        across->setContentsMargins(0, 0, 0, 0);
        for (QLayout* column : {left, right}) {
            auto* stack = new QVBoxLayout;
            stack->addLayout(column);
            stack->addStretch(1);
            across->addLayout(stack);
        }
        layout.addRow(columns);
    };

    for (std::size_t b = 0; b < build.Blocks.size();) {
        TBuild::TBlock& block = build.Blocks[b];
        if (!block.Box) {
            const std::vector<TBuild::TRow>& rows = block.Rows;
            // A long run is set in two columns; a wide row takes the whole width between runs.
            const auto flush = [&](std::size_t from, std::size_t to) {
                std::vector<int> weights;
                int total = 0;
                for (std::size_t r = from; r < to; ++r) {
                    weights.push_back(rows[r].Weight);
                    total += rows[r].Weight;
                }
                // A choice and what it enables stay together: no split between a radio group or a
                // check box and a field after it.
                const auto choosing = [](TFieldKind kind) {
                    return kind == TFieldKind::RadioGroup || kind == TFieldKind::Check;
                };
                const std::size_t split =
                    total > kLongRun ? BestSplit(weights, [&](std::size_t k) {
                        return !choosing(rows[from + k - 1].Kind) || choosing(rows[from + k].Kind);
                    })
                                     : 0;
                if (split == 0) {
                    addRows(layout, rows, from, to);
                    return;
                }
                QFormLayout* left = NewFormLayout();
                QFormLayout* right = NewFormLayout();
                addRows(*left, rows, from, from + split);
                addRows(*right, rows, from + split, to);
                twoColumns(left, right);
            };
            std::size_t from = 0;
            for (std::size_t r = 0; r < rows.size(); ++r)
                if (rows[r].Wide) {
                    flush(from, r);
                    addRows(layout, rows, r, r + 1);
                    from = r + 1;
                }
            flush(from, rows.size());
            ++b;
            continue;
        }
        // A run of boxes: filled, then set in two columns when there are several.
        std::size_t end = b;
        std::vector<int> weights;
        for (; end < build.Blocks.size() && build.Blocks[end].Box; ++end) {
            TBuild::TBlock& box = build.Blocks[end];
            auto* form = static_cast<QFormLayout*>(box.Box->layout());
            addRows(*form, box.Rows, 0, box.Rows.size());
            int weight = 2;  // the title and the frame
            for (const TBuild::TRow& row : box.Rows)
                weight += row.Weight;
            weights.push_back(weight);
        }
        const std::size_t split = BestSplit(weights, [](std::size_t) { return true; });
        if (split == 0) {
            for (std::size_t k = b; k < end; ++k)
                layout.addRow(build.Blocks[k].Box);
        } else {
            auto* left = new QVBoxLayout;
            auto* right = new QVBoxLayout;
            for (std::size_t k = b; k < end; ++k)
                (k - b < split ? left : right)->addWidget(build.Blocks[k].Box);
            twoColumns(left, right);
        }
        b = end;
    }
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
                // Lists of characters and troop members hold IDs no list numbers: names alone.
                const bool byName = std::any_of(items.begin(), items.end(), [](const TFieldChoice& item) {
                    return item.Id < 1 || item.Id > 9999;
                });
                for (const TFieldChoice& item : items)
                    combo->addItem(Cp932ToQString(byName ? item.Name : FormatIdName(item.Id, item.Name)), item.Id);
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
            QString text;
            if (const auto* bytes = std::get_if<std::string>(&value)) {
                text = Cp932ToQString(*bytes);
            } else if (field.Kind == TFieldKind::Switch || field.Kind == TFieldKind::Variable) {
                // An ID with its name from the field's list, when it has one.
                const std::int32_t id = std::get<std::int32_t>(value);
                std::string name;
                if (field.Items)
                    for (const TFieldChoice& item : mBinding.Items(index))
                        if (item.Id == id)
                            name = item.Name;
                text = Cp932ToQString(FormatIdName(id, name));
            } else {
                text = QString::number(std::get<std::int32_t>(value));
            }
            if (auto* dash = qobject_cast<TDashBox*>(button))
                dash->SetText(text);
            else
                button->setText(text);
        }
        break;
    case TFieldKind::Group: break;
    }
    mShowing = showing;
}

void AddMissingMnemonics(QWidget& window, const std::vector<QWidget*>& captioned) {
    std::set<QChar> used;
    const auto note = [&used](const QWidget* widget) {
        if (const QChar letter = MnemonicOf(CaptionText(widget)); !letter.isNull())
            used.insert(letter);
    };
    note(&window);
    for (const QWidget* widget : window.findChildren<QWidget*>())
        note(widget);
    const auto free = [&used](QChar c) {
        return c.unicode() < 128 && c.isLetterOrNumber() && !used.count(c.toLower());
    };
    for (QWidget* widget : captioned) {
        const QString text = CaptionText(widget);
        if (text.isEmpty() || !MnemonicOf(text).isNull())
            continue;
        int at = -1;
        for (int i = 0; i < text.size() && at < 0; ++i)
            if ((i == 0 || !text[i - 1].isLetterOrNumber()) && free(text[i]))
                at = i;
        for (int i = 0; i < text.size() && at < 0; ++i)
            if (free(text[i]))
                at = i;
        if (at < 0)
            continue;
        used.insert(text[at].toLower());
        QString marked = text;
        marked.insert(at, QLatin1Char('&'));
        SetCaptionText(widget, marked);
    }
}

QWidget* TFieldBinder::Widget(const std::string& name) const {
    for (std::size_t i = 0; i < mBound.size(); ++i)
        if (mBinding.Field(i).Widget == name)
            return mBound[i].Widget;
    return nullptr;
}

}  // namespace quillon
