#include "database/DataMultiCopy_qt.h"

#include "controls/NumberEdit_qt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon {

TFormDataMultiCopy::TFormDataMultiCopy(int most, QWidget* owner) : TFormKelBase(owner) {
    setObjectName(QStringLiteral("FormDataMultiCopy"));
    setWindowTitle(tr("Multi Copy"));
    most = std::max(most, 1);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("How &many"), this);
    label->setObjectName(QStringLiteral("LabelCount"));
    mNumber = new TNumberEdit(1, most, this);
    mNumber->setObjectName(QStringLiteral("EditCount"));
    mNumber->SetValue(most);
    mNumber->selectAll();
    label->setBuddy(mNumber);
    row->addWidget(label);
    row->addWidget(mNumber, 1);
    layout->addLayout(row);

    AddStandardButtons(*layout, tr("&OK"), false);
    mNumber->setFocus();
}

int TFormDataMultiCopy::Value() const {
    mNumber->interpretText();
    return mNumber->Value();
}

bool AskMultiCopyCount(QWidget* owner, int most, int& count, QPoint offset) {
    TFormDataMultiCopy dialog(most, owner);
    dialog.SetFixedOffset(offset);
    if (!dialog.Run())
        return false;
    count = dialog.Value();
    return true;
}

}  // namespace quillon
