#include "database/FieldPage_qt.h"

#include "data/LD_DataBase.h"
#include "events/EventChoosers_qt.h"

#include <QPushButton>

namespace quillon {

TPageChoosers::TPageChoosers(const TDataBaseContext& context, IEventChoosers* given, QWidget* owner) : Choosers(given) {
    if (!Choosers) {
        OwnChoosers = std::make_unique<TEventChoosersQt>(owner, *context.DataBase, context.MapTree);
        Choosers = OwnChoosers.get();
    }
}

TPageChoosers::~TPageChoosers() = default;

QScrollArea* ScrolledFields(QWidget* fields, QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setObjectName(fields->objectName() + QStringLiteral("Scroll"));
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(fields);
    return area;
}

QVBoxLayout* EntryColumn(TFormDataBaseBase& page, TDataBaseEntryList* list, QPushButton* count) {
    auto* column = new QVBoxLayout;
    auto* label = new QLabel(QObject::tr("&Entries"), &page);
    label->setObjectName(QStringLiteral("LabelDataList"));
    label->setBuddy(list);
    list->setAccessibleName(QObject::tr(DataBaseTabInfo(page.PageModel().Tab()).Caption));
    list->setMinimumWidth(list->fontMetrics().horizontalAdvance(QStringLiteral("0000:WWWWWWWWWW")) + 24);
    column->addWidget(label);
    column->addWidget(list, 1);
    column->addWidget(count);
    return column;
}

}  // namespace quillon
