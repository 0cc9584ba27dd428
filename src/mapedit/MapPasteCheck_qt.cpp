#include "mapedit/MapPasteCheck_qt.h"

#include "platform/Cp932Text_qt.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace quillon {

namespace {

QString Counted(const char* text, std::int64_t count) {
    const int n = static_cast<int>(std::min<std::int64_t>(count, std::numeric_limits<int>::max()));
    return QCoreApplication::translate("MapPasteCheck", text, nullptr, n);
}

}  // namespace

QString PasteReportText(const TPasteReport& report) {
    if (report.Empty())
        return {};
    QStringList lines;
    lines << QCoreApplication::translate("MapPasteCheck",
                                         "The pasted content held what this editor does not store:");
    if (report.LowerTilesReplaced > 0)
        lines << Counted("%n lower-layer tile(s) became the empty tile", report.LowerTilesReplaced);
    if (report.UpperTilesReplaced > 0)
        lines << Counted("%n upper-layer tile(s) became the empty tile", report.UpperTilesReplaced);
    if (report.EventsOutside > 0)
        lines << Counted("%n event(s) outside the map were dropped", report.EventsOutside);
    if (report.EventsOverLimit > 0)
        lines << QCoreApplication::translate("MapPasteCheck", "%1 event(s) beyond the %2th were dropped")
                     .arg(report.EventsOverLimit)
                     .arg(kMaxMapEvents);
    if (report.NamesCut > 0)
        lines << Counted("%n name(s) were cut to their field's length", report.NamesCut);
    return lines.join(QLatin1Char('\n'));
}

void ShowPasteReportLater(QWidget* owner, const TPasteReport& report) {
    const QString text = PasteReportText(report);
    if (text.isEmpty())
        return;
    QPointer<QWidget> guard(owner);
    QTimer::singleShot(0, owner, [guard, text] {
        ShowMessageBox(QStringToCp932(text).value_or(std::string()), mbOk | mbIconWarning, guard.data());
    });
}

}  // namespace quillon
