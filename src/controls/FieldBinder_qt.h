// The widgets of a field form: finds each field's widget by its object name under a root (a
// Designer form) or builds it into a form layout, fills it from the bound record, takes what the
// user changes back into the record, and after every change shows every field again with its
// enabled state. Controls are filled with their signals blocked, so showing a record never
// writes to it.
//
// Built widgets: a labelled row per field (the label is the input's buddy and greys with it);
// radio groups as their captions' buttons, named the field's widget name plus 0, 1 ...; switches
// and variables, resources and places as dash boxes showing "%.4d:%s" or the name, with "..."
// opening the chooser; ID lists as "%.4d:%s", or by name alone when a list holds IDs that are
// not list IDs (characters 10001 .., troop members from 0). The fields right after a radio group
// that some of its buttons enable stand beside the first of them, those a check box enables
// beside it (the button's letter leads to them). A group field with a label opens a box that holds the fields after it
// (up to the next group field; one without a label closes it); boxes in a row, and a long run
// of loose fields, are set in two columns. Every built input gets a name for assistive
// technology from its label, and a caption without an Alt letter gets one no other caption of
// the window uses.
#pragma once

#include "controls/FieldForm.h"

#include <QObject>

#include <string>
#include <vector>

class QFormLayout;
class QWidget;

namespace quillon {

class TFieldBinder : public QObject {
    Q_OBJECT
public:
    // Binds every field of the binding to the widget named like it under `root`. A field whose
    // widget is not there is built into `layout` when one is given (with its label as the
    // widget's buddy); without one it is an error naming the widget.
    TFieldBinder(TFieldBinding& binding, QWidget& root, QFormLayout* layout = nullptr);
    ~TFieldBinder() override;

    // Shows every field from the record, with its enabled state.
    void Refresh();
    // The widget of a field, by the field's widget name (nullptr when none).
    QWidget* Widget(const std::string& name) const;
    TFieldBinding& Binding() const { return mBinding; }

signals:
    // The user changed a field (its index), after the record took it and the fields were shown.
    void FieldChanged(int index);

private:
    struct TBound {
        QWidget* Widget = nullptr;
        std::vector<QWidget*> Buttons;     // a radio group's buttons
        std::vector<QWidget*> Companions;  // widgets that follow the field's enabling
    };
    struct TBuild;
    QWidget* Build(std::size_t index, QWidget& root, TBuild& build);
    // For a radio group or a check box: the button beside which each of the fields right after
    // it stands (the first that enables it; 0 for a check box's), as long as each is enabled by
    // some values and not by others (empty: none is).
    std::vector<int> Followers(std::size_t index) const;
    void LayOut(TBuild& build, QFormLayout& layout);
    void Connect(std::size_t index);
    void Show(std::size_t index);
    void Take(std::size_t index, TFieldValue value);

    TFieldBinding& mBinding;
    std::vector<TBound> mBound;
    TConnection mChanged;
    bool mShowing = false;
};

// A mnemonic caption as a name for assistive technology ("&Name:" -> "Name").
QString AccessibleCaption(const QString& caption);

// Gives each of the captioned widgets (labels, buttons, group boxes) that has no Alt letter one
// that no caption of `window` uses yet: the first free initial of a word, else the first free
// letter or digit. A caption with no free letter is left as it is.
void AddMissingMnemonics(QWidget& window, const std::vector<QWidget*>& captioned);

}  // namespace quillon
