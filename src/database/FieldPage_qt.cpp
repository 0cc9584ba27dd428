#include "database/FieldPage_qt.h"

#include "data/LD_DataBase.h"
#include "events/EventChoosers_qt.h"

#include <QPushButton>

namespace quillon {

TPageChoosers::TPageChoosers(const TDataBaseContext& context, IEventChoosers* given, QWidget* owner) : Choosers(given) {
    if (!Choosers) {
        OwnChoosers = std::make_unique<TEventChoosersQt>(owner, *context.DataBase, context.MapTree);
        // The pages' switch boxes open the picker at one place in the frame.
        OwnChoosers->NamePickerOffset = QPoint(412, 48);
        Choosers = OwnChoosers.get();
    }
}

TPageChoosers::~TPageChoosers() = default;

void WrapLongRows(QWidget& fields) {
    for (QFormLayout* layout : fields.findChildren<QFormLayout*>())
        layout->setRowWrapPolicy(QFormLayout::WrapLongRows);
    if (auto* own = qobject_cast<QFormLayout*>(fields.layout()))
        own->setRowWrapPolicy(QFormLayout::WrapLongRows);
}

void WrapAllRows(QWidget& fields, const char* box) {
    if (QWidget* found = fields.findChild<QWidget*>(QString::fromLatin1(box)))
        if (auto* layout = qobject_cast<QFormLayout*>(found->layout()))
            layout->setRowWrapPolicy(QFormLayout::WrapAllRows);
}

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
    // Room for an ID and a name of twenty single-byte characters; the fields take the rest.
    list->setFixedWidth(list->fontMetrics().horizontalAdvance(QStringLiteral("0000:") + QString(20, QChar('n'))) + 24);
    column->addWidget(label);
    column->addWidget(list, 1);
    column->addWidget(count);
    return column;
}

}  // namespace quillon
