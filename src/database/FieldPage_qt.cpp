#include "database/FieldPage_qt.h"

#include "events/EventChoosers_qt.h"

namespace quillon {

TPageChoosers::TPageChoosers(TKelDataBase& db, IEventChoosers* given, QWidget* owner) : Choosers(given) {
    if (!Choosers) {
        OwnChoosers = std::make_unique<TEventChoosersQt>(owner, db);
        Choosers = OwnChoosers.get();
    }
}

TPageChoosers::~TPageChoosers() = default;

TDataBasePageView::TDataBasePageView(QWidget* parent) : QWidget(parent) {}

void TDataBasePageView::Changed() {
    mModified = true;
    emit PageModified();
}

QScrollArea* TDataBasePageView::Scrolled(QWidget* content) {
    auto* area = new QScrollArea(content->parentWidget());
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(content);
    return area;
}

QListWidget* TDataBasePageView::NewEntryList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName("DataList");
    list->setAccessibleName(tr("Entries"));
    list->setUniformItemSizes(true);
    list->setMinimumWidth(list->fontMetrics().horizontalAdvance(QStringLiteral("0000:WWWWWWWWWWWW")) + 24);
    list->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return list;
}

void TDataBasePageView::FillEntryList(QListWidget& list, const std::vector<std::string>& rows, int current) {
    const QSignalBlocker blocker(&list);
    list.clear();
    for (const std::string& row : rows)
        list.addItem(Cp932ToQString(row));
    list.setCurrentRow(current);
}

}  // namespace quillon
