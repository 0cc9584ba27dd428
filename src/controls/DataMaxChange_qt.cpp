#include "controls/DataMaxChange_qt.h"

#include "controls/NumberEdit_qt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPoint>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

TFormDataMaxChange::TFormDataMaxChange(TDataMaxChangeModel& model, QWidget* owner)
    : TFormKelBase(owner), mModel(model) {
    setObjectName("FormDataMaxChange");
    setWindowTitle(tr("Data Maximum (30,000)"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("&Max Data Num."), this);
    label->setObjectName("LabelMax");
    mNumber = new TNumberEdit(kMinDataCount, kMaxDataCount, this);
    mNumber->setObjectName("EditMax");
    mNumber->SetValue(model.Value());
    mNumber->selectAll();
    label->setBuddy(mNumber);
    row->addWidget(label);
    row->addWidget(mNumber, 1);
    layout->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setObjectName("ButtonOk");
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName("ButtonCancel");
    cancel->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    ConnectStandardButtons();
    mNumber->setFocus();
}

bool TFormDataMaxChange::CanConfirm() {
    mNumber->interpretText();
    mModel.SetValue(mNumber->Value());
    return mModel.Confirm(static_cast<const QWidget*>(this));
}

bool ChangeDataCount(QWidget* owner, int current, int& count, std::optional<QPoint> offset) {
    TDataMaxChangeModel model(current);
    TFormDataMaxChange dialog(model, owner);
    if (offset)
        dialog.SetFixedOffset(*offset);
    if (!dialog.Run())
        return false;
    count = model.Value();
    return true;
}

}  // namespace quillon
