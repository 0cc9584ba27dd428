#include "controls/CheckListBox_qt.h"

#include "platform/Cp932Text_qt.h"

namespace quillon {

TCheckListBox::TCheckListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!mSetting)
            emit CheckEdited(row(item), item->checkState() == Qt::Checked);
    });
}

void TCheckListBox::SetRows(const std::vector<std::string>& names) {
    mSetting = true;
    clear();
    for (const std::string& name : names) {
        auto* item = new QListWidgetItem(Cp932ToQString(name), this);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    mSetting = false;
    if (count() > 0)
        setCurrentRow(0);
}

bool TCheckListBox::Checked(int row) const {
    const QListWidgetItem* it = item(row);
    return it && it->checkState() == Qt::Checked;
}

void TCheckListBox::SetChecked(int row, bool checked) {
    if (QListWidgetItem* it = item(row)) {
        mSetting = true;
        it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
        mSetting = false;
    }
}

std::vector<bool> TCheckListBox::CheckedRows() const {
    std::vector<bool> checked;
    for (int i = 0; i < count(); ++i)
        checked.push_back(Checked(i));
    return checked;
}

void TCheckListBox::SetCheckedRows(const std::vector<bool>& checked) {
    for (int i = 0; i < count(); ++i)
        SetChecked(i, i < static_cast<int>(checked.size()) && checked[static_cast<std::size_t>(i)]);
}

}  // namespace quillon
