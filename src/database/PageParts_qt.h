// What the skill, item and monster page widgets share: the boxes of a binder-built page shown
// or hidden as the entry's classification says and retitled, and widgets of the page's own
// (mark lists, rank lists, previews) put into those boxes.
#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QHBoxLayout;
class QLabel;
class QWidget;

namespace quillon {

class TCheckListBox;
class TDashBox;

// Adds a widget to the box named `box` under `fields`, below the box's rows (with a label as its
// buddy when `label` is not empty). The widget is named for assistive technology by `name`.
void AddToBox(QWidget& fields, const char* box, QWidget* widget, const QString& label, const QString& name);
// Adds a widget to a box right after the row of the widget named `after` (nullptr: first).
void AddToBoxAfter(QWidget& fields, const char* box, const char* after, QWidget* widget, const QString& label,
                   const QString& name);
// Shows or hides the boxes named.
void ShowBoxes(QWidget& fields, const std::vector<std::string>& boxes, bool shown);
// Gives the box or check box named a caption of the page's own (translated here).
void SetCaption(QWidget& fields, const char* name, const std::string& caption);
// A mark list named `objectName`.
TCheckListBox* NewMarkList(QWidget* parent, const char* objectName);
// Shows names and marks without signals (the rows are made again only when the names changed).
void ShowMarks(TCheckListBox& list, const std::vector<std::string>& names, const std::vector<bool>& marks);

// For pages laid out in a form: a dash box named `objectName` put into a placeholder row of the
// form, the label beside it its buddy (the label's caption names it for assistive technology).
TDashBox* AddDashBox(QHBoxLayout& row, QLabel* label, const char* objectName);
// The user's ticks in a mark list reach `mark` with the row's ID (its position + 1).
void ConnectMarks(TCheckListBox& list, std::function<void(int id, bool on)> mark);
// Gives the labels with a buddy, the buttons and the boxes under `fields` whose captions have no
// Alt letter one that the window does not use yet.
void AddPageMnemonics(QWidget& fields);

}  // namespace quillon
