// What a checked paste changed, told to the user.
#pragma once

#include "mapedit/MapPasteCheck.h"

#include <QString>

class QWidget;

namespace quillon {

// One line per kind of change, after a line that says why; empty for an empty report.
QString PasteReportText(const TPasteReport& report);
// Shows the text in a warning box on the owner, once the current event has been handled.
void ShowPasteReportLater(QWidget* owner, const TPasteReport& report);

}  // namespace quillon
