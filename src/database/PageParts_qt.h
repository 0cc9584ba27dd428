// What the skill, item and monster page widgets share: the boxes of a binder-built page shown
// or hidden as the entry's classification says and retitled, and widgets of the page's own
// (mark lists, rank lists, previews) put into those boxes.
#pragma once

#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace quillon {

class TCheckListBox;

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

}  // namespace quillon
