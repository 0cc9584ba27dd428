#include "database/ED_MonGroup_qt.h"

#include "controls/DashBox_qt.h"
#include "controls/FloatingHint_qt.h"
#include "controls/MarkListBox_qt.h"
#include "data/LD_DataBase.h"
#include "database/FieldDialog_qt.h"
#include "events/EventChoosers.h"
#include "events/ScriptList_qt.h"
#include "graphics/OrlenSheet_qt.h"
#include "platform/Cp932Text_qt.h"
#include "project/Resources.h"

#include "ui_ED_MonGroup.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace quillon {

// --- the field ---

TMonGroupField::TMonGroupField(QWidget* parent) : QWidget(parent) {
    setFixedSize(kBattleFieldWidth, kBattleViewHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    mPopup = new QMenu(this);
    mInvisible = mPopup->addAction(tr("&Invisible"));
    mInvisible->setObjectName("Menu_Invisible");
    mInvisible->setCheckable(true);
    connect(mInvisible, &QAction::triggered, this, [this] {
        if (mModel)
            mModel->ToggleInvisible();
    });
    mHint = new TFloatingHint(this);
    mBackdrop.AutoSize = true;
}

TMonGroupField::~TMonGroupField() = default;

void TMonGroupField::Attach(TMonGroupPageModel* model) {
    mModel = model;
    update();
}

void TMonGroupField::SetBackdrop(const std::string& name) {
    try {
        LoadSheetResource(mBackdrop, ProjectImageFinder(), "Backdrop", name, false);
    } catch (const std::exception&) {
        mBackdrop.FreeImage();
    }
    update();
}

QImage TMonGroupField::Picture() const {
    TOrlenBoard board;
    board.SetSize(kBattleFieldWidth, kBattleViewHeight);
    board.Clear();
    auto& backdrop = const_cast<TOrlenSheet&>(mBackdrop);
    if (backdrop.Width() > 0)
        board.DrawSheet(0, 0, TRect{0, 0, backdrop.Width(), backdrop.Height()}, backdrop);
    if (!mModel)
        return BoardImage(board);
    for (int index : mModel->DrawOrder()) {
        TOrlenSheet& sheet = mModel->Images().Image(mModel->MemberMonster(index));
        const TRect r = mModel->MemberRect(index);
        sheet.Opacity = mModel->Opacity(index);
        board.DrawSheet(r.Left, r.Top, TRect{0, 0, sheet.Width(), sheet.Height()}, sheet);
        sheet.Opacity = 255;
    }
    QImage image = BoardImage(board).convertToFormat(QImage::Format_RGB32);
    if (mModel->CanDelete()) {
        QPainter p(&image);
        const TRect r = mModel->MemberRect(mModel->Selected());
        p.setPen(Qt::white);
        p.drawRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
    }
    return image;
}

void TMonGroupField::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, Picture());
}

void TMonGroupField::mousePressEvent(QMouseEvent* event) {
    if (!mModel || (event->button() != Qt::LeftButton && event->button() != Qt::RightButton))
        return;
    const bool left = event->button() == Qt::LeftButton;
    const QPoint at = event->position().toPoint();
    const bool hit = mModel->Press(at.x(), at.y(), left);
    if (!left && hit) {
        mInvisible->setChecked(mModel->Member(mModel->Selected()).Hidden != 0);
        mPopup->popup(event->globalPosition().toPoint());
    }
}

void TMonGroupField::mouseMoveEvent(QMouseEvent* event) {
    if (!mModel || !mModel->Dragging())
        return;
    const QPoint at = event->position().toPoint();
    if (mModel->DragTo(at.x(), at.y(), event->modifiers() & Qt::ShiftModifier))
        mHint->ShowHint(event->globalPosition().toPoint(),
                        Cp932ToQString(mModel->HintText()).replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

void TMonGroupField::mouseReleaseEvent(QMouseEvent* event) {
    if (mModel && event->button() == Qt::LeftButton) {
        mModel->Release();
        mHint->HideHint();
    }
}

// --- the page ---

namespace {

TFieldForm BuildPageForm() {
    TFieldFormBuilder<TMonGroupPageModel> form;
    form.Field(TFieldKind::Text, "OverEdit1", "&Name:", &TMonGroupPageModel::Name, &TMonGroupPageModel::SetName)
        .Bytes(TKelMonGroupItem::kNameMaxBytes)
        .Key("name");
    return form.Build();
}

const TFieldForm& PageForm() {
    static const TFieldForm form = BuildPageForm();
    return form;
}

}  // namespace

TFormEDMonGroup::TFormEDMonGroup(const TDataBaseContext& context, IEventChoosers* choosers, QWidget* parent,
                                 TMonsterImageSize sizes)
    : TPageChoosers(context, choosers, parent),
      TFormDataBaseBase(std::make_unique<TMonGroupPageModel>(context, Choosers, std::move(sizes)), parent),
      mModel(static_cast<TMonGroupPageModel&>(PageModel())),
      mUi(std::make_unique<Ui::FormEDMonGroup>()) {
    mUi->setupUi(this);
    setObjectName("FormEDMonGroup");
    mUi->ListLayout->addLayout(EntryColumn(*this, MakeEntryList(this), MakeCountButton(this)));
    mTriggerBox = new TDashBox(tr("Trigger"), this);
    mTriggerBox->setObjectName("DashBox1");
    mUi->TriggerLayout->addWidget(mTriggerBox, 1);
    mUi->LabelTrigger->setBuddy(mTriggerBox);

    for (int row = 0; row < mModel.MonsterRows(); ++row)
        mUi->MonsterList->addItem(Cp932ToQString(mModel.MonsterRowText(row)));
    if (mModel.MonsterRows() > 0)
        mUi->MonsterList->setCurrentRow(0);
    for (int row = 0; row < mModel.TerrainRows(); ++row)
        mUi->MarkListBox1->AddRow(Cp932ToQString(mModel.TerrainRowText(row)));

    Field().Attach(&mModel);
    Field().SetBackdrop(mModel.DataBase().System.BattleTestBackdrop);

    mConverter.DataBase = context.DataBase;
    mConverter.MapTree = context.MapTree;
    mConverter.Map = context.Map;
    CommandList().Model().SetRenderer([this](const TKelEventScriptLine& line) { return mConverter.RenderSafely(line); });
    mModel.AttachScriptList(&CommandList().Model());

    connect(mUi->ButtonAdd, &QPushButton::clicked, this, [this] { ButtonAddClick(); });
    connect(mUi->MonsterList, &QListWidget::itemDoubleClicked, this, [this] { ButtonAddClick(); });
    connect(mUi->ButtonDelete, &QPushButton::clicked, this, [this] { ButtonDeleteClick(); });
    connect(mUi->ButtonDeleteAll, &QPushButton::clicked, this, [this] { ButtonDeleteAllClick(); });
    connect(mUi->ButtonDress, &QPushButton::clicked, this, [this] { ButtonDressClick(); });
    connect(mUi->ButtonAutoName, &QPushButton::clicked, this, [this] { ButtonAutoNameClick(); });
    connect(mUi->ButtonBattleTest, &QPushButton::clicked, this, [this] { ButtonBattleTestClick(); });
    connect(mUi->ButtonChangeBackdrop, &QPushButton::clicked, this, [this] { ButtonChangeBackdropClick(); });
    connect(mUi->ButtonNewPage, &QPushButton::clicked, this, [this] { mModel.NewPage(); });
    connect(mUi->ButtonDeletePage, &QPushButton::clicked, this, [this] { mModel.DeletePage(); });
    connect(mUi->ButtonCopyPage, &QPushButton::clicked, this, [this] { mModel.CopyPage(); });
    connect(mUi->ButtonPastePage, &QPushButton::clicked, this, [this] { mModel.PastePage(); });
    connect(mUi->TabControl1, &QTabBar::currentChanged, this, [this](int index) { mModel.SelectPage(index); });
    connect(mTriggerBox, &TDashBox::ChooseRequested, this, [this] { DashBox1Click(); });
    connect(mUi->MarkListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = mUi->MarkListBox1->row(item);
        mModel.SetTerrainMark(row, !mModel.TerrainMark(row));
        ShowTerrains();
    });

    mHeard.push_back(mModel.FieldChanged.Connect([this] {
        Field().update();
        ShowButtons();
    }));
    mHeard.push_back(mModel.PagesChanged.Connect([this] { ShowPages(); }));
    mHeard.push_back(mModel.PasteChanged.Connect([this] { ShowButtons(); }));

    mBinding = std::make_unique<TFieldBinding>(PageForm(), mModel);
    mBinder = new TFieldBinder(*mBinding, *this);
    ShowPages();
    ShowTerrains();
    ShowButtons();
}

TFormEDMonGroup::~TFormEDMonGroup() {
    mHeard.clear();
    mModel.AttachScriptList(nullptr);
    delete mBinder;
}

TMonGroupField& TFormEDMonGroup::Field() const { return *mUi->MainArea; }
TScriptListBox& TFormEDMonGroup::CommandList() const { return *mUi->ListBox1; }

void TFormEDMonGroup::ShowButtons() {
    mUi->ButtonAdd->setEnabled(mModel.CanAdd());
    mUi->ButtonDelete->setEnabled(mModel.CanDelete());
    mUi->ButtonDeleteAll->setEnabled(mModel.CanClear());
    mUi->ButtonDress->setEnabled(mModel.CanArrange());
    mUi->ButtonNewPage->setEnabled(mModel.CanNewPage());
    mUi->ButtonPastePage->setEnabled(mModel.CanPastePage());
    mUi->ButtonDeletePage->setEnabled(mModel.CanDeletePage());
    mTriggerBox->setEnabled(mModel.Page() != nullptr);
}

void TFormEDMonGroup::ShowPages() {
    {
        TDataBaseBlockSignals blocked({mUi->TabControl1});
        QTabBar* tabs = mUi->TabControl1;
        while (tabs->count() > mModel.PageCount())
            tabs->removeTab(tabs->count() - 1);
        while (tabs->count() < mModel.PageCount())
            tabs->addTab(QString::number(tabs->count() + 1));
        tabs->setCurrentIndex(mModel.CurrentPage());
    }
    mTriggerBox->SetText(Cp932ToQString(mModel.TriggerText()));
    CommandList().Model().Refresh();
    ShowButtons();
}

void TFormEDMonGroup::ShowTerrains() {
    for (int row = 0; row < mUi->MarkListBox1->count(); ++row)
        mUi->MarkListBox1->SetMark(row, mModel.TerrainMark(row) ? TListMark::Check : TListMark::None);
}

void TFormEDMonGroup::LoadEntry() {
    if (!mBinder)
        return;
    mBinder->Refresh();
    ShowTerrains();
    ShowPages();
    Field().update();
}

void TFormEDMonGroup::UpdateView() {
    if (!mBinder)
        return;
    mBinder->Refresh();
    ShowButtons();
    mTriggerBox->SetText(Cp932ToQString(mModel.TriggerText()));
}

void TFormEDMonGroup::ButtonAddClick() { mModel.Add(mUi->MonsterList->currentRow()); }
void TFormEDMonGroup::ButtonDeleteClick() { mModel.DeleteSelected(); }
void TFormEDMonGroup::ButtonDeleteAllClick() { mModel.ClearAll(); }
void TFormEDMonGroup::ButtonDressClick() { mModel.Arrange(); }
void TFormEDMonGroup::ButtonAutoNameClick() { mModel.AutoName(); }

void TFormEDMonGroup::ButtonBattleTestClick() {
    if (RunBattleTestDialog(DialogOwner(), mModel.DataBase(), mModel.CurrentId()))
        mModel.Modify();
}

void TFormEDMonGroup::ButtonChangeBackdropClick() {
    if (!mModel.Choosers())
        return;
    std::string name = mModel.DataBase().System.BattleTestBackdrop;
    if (!mModel.Choosers()->ChooseResource(TSelKind::Backdrop, name, nullptr, "Select Battle Background") ||
        name == mModel.DataBase().System.BattleTestBackdrop)
        return;
    mModel.DataBase().System.BattleTestBackdrop = name;
    Field().SetBackdrop(name);
    mModel.Modify();
}

void TFormEDMonGroup::DashBox1Click() {
    TKelBattleEventPageItem* page = mModel.Page();
    if (!page)
        return;
    TKelBattleEventTrigger trigger;
    trigger.Assign(page->Trigger);
    if (EditBattleTrigger(DialogOwner(), trigger, mModel.DataBase(), mModel.Item(), mModel.Choosers()))
        mModel.SetTrigger(trigger);
}

bool EditBattleTrigger(QWidget* owner, TKelBattleEventTrigger& trigger, const TKelDataBase& dataBase,
                       const TKelMonGroupItem& troop, IEventChoosers* choosers) {
    TBattleTriggerEdit edit(trigger, &dataBase, &troop, choosers);
    TFieldBinding binding(BattleTriggerForm(), edit);
    TFormFieldDialog dialog(owner, QObject::tr(kBattleTriggerCaption), binding, kMonGroupHelpContext,
                            [&edit] { return edit.Refusal(); });
    dialog.setObjectName("FormEDMonGroupBattleEventTrigger");
    if (!dialog.Run())
        return false;
    trigger.Assign(edit.Trigger);
    return true;
}

bool RunBattleTestDialog(QWidget* owner, TKelDataBase& dataBase, std::int32_t troopId) {
    TBattleTestParty party;
    party.Load(dataBase);
    TFieldBinding binding(BattleTestPartyForm(), party);
    TFormFieldDialog dialog(owner, QObject::tr("Monster Group Battle Test"), binding, kMonGroupHelpContext, {},
                            QObject::tr("&Start Test"));
    dialog.setObjectName("FormBattleTest");
    // The slots repeat their captions: a reader tells the level boxes apart by their slot.
    for (int slot = 1; slot <= kBattleTestPartyMax; ++slot)
        if (auto* level = dialog.findChild<QWidget*>(QStringLiteral("EditLevel%1").arg(slot)))
            level->setAccessibleName(QObject::tr("Hero %1 Level").arg(slot));
    if (!dialog.Run())
        return false;
    RunTroopBattleTest(dataBase, party, troopId);
    return true;
}

TFormDataBaseBase* CreateFormEDMonGroup(const TDataBaseContext& context, QWidget* parent) {
    return new TFormEDMonGroup(context, nullptr, parent);
}

}  // namespace quillon
