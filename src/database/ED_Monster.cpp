#include "database/ED_Monster.h"

#include "data/LD_DataBase.h"
#include "database/PageLists.h"
#include "events/EventChoosers.h"
#include "graphics/MapRender.h"

namespace quillon {

TMonsterPageModel::TMonsterPageModel(const TDataBaseContext& context, IEventChoosers* choosers, TImageFinder find)
    : TEntryPageModel(context, dtMonsters, context.DataBase->Monster), mChoosers(choosers), mImages(std::move(find)) {
    mActions = std::make_unique<TMonsterActListModel>(Item().Actions, DataBase());
    mCurrent = CurrentChanged.Connect([this] { FollowCurrent(); });
    mConditionChanged = mConditionRanks.Changed.Connect([this](int row, int rank) {
        if (!mFollowing)
            SetConditionRank(row + 1, rank);
    });
    mAttributeChanged = mAttributeRanks.Changed.Connect([this](int row, int rank) {
        if (!mFollowing)
            SetAttributeRank(row + 1, rank);
    });
    FollowCurrent();
}

TMonsterPageModel::~TMonsterPageModel() = default;

void TMonsterPageModel::FollowCurrent() {
    mFollowing = true;
    const TKelMonsterItem& monster = Item();
    std::vector<TRankListModel::TRow> conditions, attributes;
    for (int i = 0; i < DataBase().Status.Count(); ++i)
        conditions.push_back({DataBase().Status.Items(i)->Name, monster.ConditionRank(i + 1)});
    for (int i = 0; i < DataBase().Attrib.Count(); ++i)
        attributes.push_back({DataBase().Attrib.Items(i)->Name, monster.AttributeRank(i + 1)});
    mConditionRanks.SetRows(std::move(conditions));
    mAttributeRanks.SetRows(std::move(attributes));
    mActions->SetList(Item().Actions);
    mFollowing = false;
}

std::string TMonsterPageModel::GraphicText() const {
    const TKelMonsterItem& monster = Item();
    const std::string name = monster.GraphicName.empty() ? std::string("(None)") : monster.GraphicName;
    const int hue = NormalisedHue(monster.Hue);
    if (hue == 0)
        return name;
    return name + " (hue " + std::to_string(hue) + ")";
}

TMonsterPicture TMonsterPageModel::Picture() {
    const TKelMonsterItem& monster = Item();
    TMonsterPicture picture;
    picture.Name = monster.GraphicName;
    picture.Hue = NormalisedHue(monster.Hue);
    picture.Opacity = monster.Transparent ? kTranslucentOpacity : 255;
    picture.Missing = !picture.Name.empty() && !mImages.Find(picture.Name, picture.Hue);
    return picture;
}

void TMonsterPageModel::DrawPicture(TOrlenBoard& board) {
    TOrlenSheet* sheet = mImages.Find(Item().GraphicName, Item().Hue);
    FillBoardRect(board, TRect{0, 0, board.Width(), board.Height()}, sheet ? Color565(sheet->Palette[0]) : 0);
    if (!sheet)
        return;
    sheet->Opacity = Item().Transparent ? kTranslucentOpacity : 255;
    board.DrawSheet((board.Width() - sheet->Width()) / 2, (board.Height() - sheet->Height()) / 2, sheet->BoundsRect(),
                    *sheet);
    sheet->Opacity = 255;
}

bool TMonsterPageModel::ChooseGraphic() {
    if (!ChooseGraphicWith)
        return false;
    std::string name = Item().GraphicName;
    std::int32_t hue = Item().Hue;
    if (!ChooseGraphicWith(name, hue) || (name == Item().GraphicName && hue == Item().Hue))
        return false;
    Item().GraphicName = name;
    Item().Hue = hue;
    Modify();
    return true;
}

std::vector<TFieldChoice> TMonsterPageModel::ItemChoices() const {
    // Shown by name: the "(None)" row has no ID of the list.
    std::vector<TFieldChoice> choices{{0, "(None)"}};
    for (const TFieldChoice& item : PositionChoices(&DataBase().Item))
        choices.push_back({item.Id, DataBaseRowText(item.Id, item.Name)});
    return choices;
}

bool TMonsterPageModel::SetConditionRank(std::int32_t id, int rank) {
    TKelMonsterItem& monster = Item();
    const TIdArrayAccess array{
        monster.ConditionRankCount, [&](std::int32_t i) { return std::int32_t{monster.ConditionRank(i)}; },
        [&](std::int32_t n) { monster.SetConditionRankCount(n); },
        [&](std::int32_t i, std::int32_t v) { monster.SetConditionRank(i, static_cast<std::uint8_t>(v)); }};
    if (rank < 0 || rank >= kRankCount || !StoreShownEntry(array, DataBase().Status.Count(), id, rank))
        return false;
    Modify();
    return true;
}

bool TMonsterPageModel::SetAttributeRank(std::int32_t id, int rank) {
    TKelMonsterItem& monster = Item();
    const TIdArrayAccess array{
        monster.AttributeRankCount, [&](std::int32_t i) { return std::int32_t{monster.AttributeRank(i)}; },
        [&](std::int32_t n) { monster.SetAttributeRankCount(n); },
        [&](std::int32_t i, std::int32_t v) { monster.SetAttributeRank(i, static_cast<std::uint8_t>(v)); }};
    if (rank < 0 || rank >= kRankCount || !StoreShownEntry(array, DataBase().Attrib.Count(), id, rank))
        return false;
    Modify();
    return true;
}

bool TMonsterPageModel::EditAction(const std::function<bool(TKelMonsterActItem&)>& edit) {
    TKelMonsterActItem edited;
    if (!mActions->StartEdit(edited))
        return false;
    const bool confirmed = edit(edited);
    NoteAppliedNames();
    if (!confirmed || !mActions->FinishEdit(edited))
        return false;
    Modify();
    return true;
}

bool TMonsterPageModel::RunAction(TMonsterActCommand command) {
    bool changed = false;
    switch (command) {
    case TMonsterActCommand::Edit: return false;  // through EditAction
    case TMonsterActCommand::Copy: return mActions->Copy();
    case TMonsterActCommand::Cut: changed = mActions->Cut(); break;
    case TMonsterActCommand::Paste: changed = mActions->Paste(); break;
    case TMonsterActCommand::Delete: changed = mActions->Delete(); break;
    }
    if (changed)
        Modify();
    return changed;
}

void TMonsterPageModel::NoteAppliedNames() {
    if (mNamesNoted || !mChoosers || !mChoosers->DataBaseChanged())
        return;
    mNamesNoted = true;
    Modify();
}

namespace {

using TForm = TFieldFormBuilder<TMonsterPageModel>;

TForm& Number(TForm& form, const char* widget, const char* label, std::int32_t TKelMonsterItem::*member,
              std::int32_t min, std::int32_t max, const char* key) {
    return ItemField(form, TFieldKind::Number, widget, label, member).Range(min, max).Key(key);
}

TFieldForm BuildForm() {
    TForm form;
    form.Field(TFieldKind::Text, "EditName", "&Name:", &TMonsterPageModel::Name, &TMonsterPageModel::SetName)
        .Bytes(TKelMonsterItem::kNameMaxBytes)
        .Key("name");
    form.Resource("DashGraphic", "&Graphic:", &TMonsterPageModel::GraphicText, &TMonsterPageModel::ChooseGraphic);
    ItemField(form, TFieldKind::Check, "CheckTransparent", "Tran&sp.", &TKelMonsterItem::Transparent).Key("transparent");

    form.Group("GroupStats", "Statistics");
    Number(form, "EditMaxHp", "Ma&x HP:", &TKelMonsterItem::MaxHp, 1, kMonsterHpMax, "max-hp");
    Number(form, "EditMaxMp", "Max &MP:", &TKelMonsterItem::MaxMp, 0, kMonsterMpMax, "max-mp");
    Number(form, "EditAttack", "Attac&k:", &TKelMonsterItem::Attack, 1, kMonsterStatMax, "attack");
    Number(form, "EditDefense", "&Defense:", &TKelMonsterItem::Defense, 1, kMonsterStatMax, "defense");
    Number(form, "EditMind", "M&ind:", &TKelMonsterItem::Mind, 1, kMonsterStatMax, "mind");
    Number(form, "EditAgility", "Agi&lity:", &TKelMonsterItem::Agility, 1, kMonsterStatMax, "agility");

    form.Group("GroupRewards", "Rewards");
    Number(form, "EditExp", "EX&P:", &TKelMonsterItem::Exp, 0, kMonsterRewardMax, "exp");
    Number(form, "EditMoney", "Mone&y:", &TKelMonsterItem::Money, 0, kMonsterRewardMax, "money");
    ItemField(form, TFieldKind::IdList, "ComboItem", "I&tem:", &TKelMonsterItem::ItemId)
        .ItemsFrom([](const TMonsterPageModel& m) { return m.ItemChoices(); })
        .Key("item");
    Number(form, "EditDropRate", "&Chance:", &TKelMonsterItem::DropRate, 0, kMonsterPercentMax, "drop-rate")
        .EnabledWhen([](const TMonsterPageModel& m) { return m.Item().ItemId != 0; });

    form.Group("GroupFlags", "Options");
    form.Group("GroupCritical");
    ItemField(form, TFieldKind::Check, "CheckCritical", "Critical Hit Chance - E&very", &TKelMonsterItem::CriticalEnabled)
        .Key("critical");
    Number(form, "EditCritical", "Attacks:", &TKelMonsterItem::CriticalChance, 1, kMonsterCriticalMax,
           "critical-every")
        .EnabledWhen([](const TMonsterPageModel& m) { return m.Item().CriticalEnabled != 0; });
    ItemField(form, TFieldKind::Check, "CheckMiss", "&Usually Miss", &TKelMonsterItem::UsuallyMiss).Key("usually-miss");
    ItemField(form, TFieldKind::Check, "CheckAir", "Ai&r", &TKelMonsterItem::Flying).Key("air");
    form.Group("GroupConditionRanks", "Condition Effect");
    form.Group("GroupAttributeRanks", "Attribute Effect");
    form.Group("GroupActions", "Actions Patterns");
    return form.Build();
}

}  // namespace

const TFieldForm& MonsterPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
