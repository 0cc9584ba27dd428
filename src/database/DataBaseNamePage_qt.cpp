#include "database/DataBaseNamePage_qt.h"

#include "controls/Cp932Edit_qt.h"
#include "database/DataBasePages_qt.h"
#include "platform/Cp932Text_qt.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

TFormDataBaseNamePage::TFormDataBaseNamePage(int tab, const TDataBaseContext& context, QWidget* parent)
    : TFormDataBaseBase(std::make_unique<TDataBaseListPage>(context, tab), parent) {
    setObjectName(QStringLiteral("FormDataBaseNamePage"));
    const QString caption = tr(DataBaseTabInfo(tab).Caption);
    auto* layout = new QHBoxLayout(this);
    if (!PageModel().List()) {
        auto* note = new QLabel(tr("The %1 settings have no page in this editor yet.").arg(caption), this);
        note->setObjectName(QStringLiteral("LabelNoPage"));
        note->setAlignment(Qt::AlignCenter);
        layout->addWidget(note);
        return;
    }
    auto* left = new QVBoxLayout;
    auto* listLabel = new QLabel(tr("&Entries"), this);
    listLabel->setObjectName(QStringLiteral("LabelDataList"));
    TDataBaseEntryList* list = MakeEntryList(this);
    list->setAccessibleName(caption);
    listLabel->setBuddy(list);
    list->setMinimumWidth(180);
    left->addWidget(listLabel);
    left->addWidget(list, 1);
    left->addWidget(MakeCountButton(this));
    layout->addLayout(left);

    auto* box = new QGroupBox(caption, this);
    box->setObjectName(QStringLiteral("GroupEntry"));
    auto* form = new QFormLayout(box);
    mName = new TCp932Edit(PageModel().NameMaxBytes(), box);
    mName->setObjectName(QStringLiteral("EditName"));
    auto* nameLabel = new QLabel(tr("&Name"), box);
    nameLabel->setObjectName(QStringLiteral("LabelName"));
    nameLabel->setBuddy(mName);
    mName->setAccessibleName(tr("Name"));
    form->addRow(nameLabel, mName);
    layout->addWidget(box, 1, Qt::AlignTop);
    connect(mName, &TCp932Edit::BytesEdited, this, &TFormDataBaseNamePage::EditNameChange);
}

void TFormDataBaseNamePage::LoadEntry() {
    if (!mName)
        return;
    const TDataBaseBlockSignals blocked{mName};
    mName->SetBytes(PageModel().CurrentName());
}

void TFormDataBaseNamePage::UpdateView() {
    if (mName)
        mName->setEnabled(PageModel().Current() != nullptr);
}

void TFormDataBaseNamePage::EditNameChange() {
    // A stored name the box cannot show as it is stays its bytes until the user edits it.
    if (mName->Edited())
        PageModel().SetCurrentName(mName->Bytes());
}

}  // namespace quillon
