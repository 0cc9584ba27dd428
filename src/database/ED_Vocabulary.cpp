#include "database/ED_Vocabulary.h"

#include "data/LD_DataBase.h"

#include <iterator>

namespace quillon {

TVocabularyPageModel::TVocabularyPageModel(const TDataBaseContext& context)
    : TDataBasePage(context, dtVocabulary), mVocabulary(context.DataBase->Vocabulary) {}

std::string TVocabularyPageModel::Text(int fieldNumber) const {
    const std::string* text = const_cast<TKelVocabulary&>(mVocabulary).Field(fieldNumber);
    return text ? *text : std::string{};
}

bool TVocabularyPageModel::SetText(int fieldNumber, const std::string& text) {
    std::string* target = mVocabulary.Field(fieldNumber);
    if (!target)
        return false;
    if (*target != text) {
        *target = text;
        Modify();
    }
    return true;
}

std::string VocabularyWidget(int fieldNumber) { return "EditVocab" + std::to_string(fieldNumber); }

std::string VocabularyPlaceholder(int fieldNumber) {
    struct TPlaceholder {
        int From, To;
        const char* Text;
    };
    static const TPlaceholder kPlaceholders[] = {
        {1, 1, "name"},
        {7, 7, "number"},
        {8, 9, "number, currency unit"},
        {10, 10, "item name"},
        {11, 11, "name"},
        {14, 19, "name"},
        {20, 20, "name, number"},
        {21, 21, "name"},
        {22, 22, "name, number"},
        {23, 27, "name"},
        {28, 28, "name, item name"},
        {29, 33, "name, ability, number"},
        {34, 35, "name, attribute"},
        {36, 36, "name, level, number"},
        {37, 37, "skill name"},
    };
    for (const TPlaceholder& p : kPlaceholders)
        if (fieldNumber >= p.From && fieldNumber <= p.To)
            return p.Text;
    const int innPrice = TKelVocabulary::kInnFirstField[0];
    if (fieldNumber == innPrice + 1 || fieldNumber == TKelVocabulary::kInnFirstField[1] + 1)
        return "price, currency unit";
    return {};
}

namespace {

using TForm = TFieldFormBuilder<TVocabularyPageModel>;

void Term(TForm& form, int number, const std::string& caption, int maxBytes) {
    form.Field(
            TFieldKind::Text, VocabularyWidget(number), caption + ":",
            [number](const TVocabularyPageModel& m) { return m.Text(number); },
            [number](TVocabularyPageModel& m, const std::string& text) { return m.SetText(number, text); })
        .Bytes(static_cast<std::size_t>(maxBytes))
        .Key(std::to_string(number));
}

// The plain terms numbered first .. last, under a group box when `group` is given.
void Terms(TForm& form, int first, int last, const char* group = nullptr, const char* widget = nullptr) {
    if (group)
        form.Group(widget, group);
    int count = 0;
    const TKelVocabularyField* fields = TKelVocabulary::PlainFields(count);
    for (int i = 0; i < count; ++i)
        if (fields[i].FieldNumber >= first && fields[i].FieldNumber <= last)
            Term(form, fields[i].FieldNumber, fields[i].Caption, fields[i].MaxBytes);
}

std::vector<TVocabularyTab> BuildTabs() {
    static const char kStyles[] = "ABC";
    std::vector<TVocabularyTab> tabs;

    TForm battle;
    Terms(battle, 1, 13, "Battle", "GroupBattle");
    Terms(battle, 14, 19, "Enemy actions", "GroupEnemyActions");
    Terms(battle, 20, 37, "Damage and effects", "GroupEffects");
    tabs.push_back({"Battle", battle.Build()});

    TForm shops;
    for (int s = 0; s < TKelVocabulary::kShopCount; ++s) {
        const std::string style(1, kStyles[s]);
        shops.Group("GroupShop" + style, "Shop Style " + style);
        for (const TKelVocabularyField& field : TKelVocabularyShop::kFields)
            Term(shops, TKelVocabulary::kShopFirstField[s] + field.FieldNumber, field.Caption, field.MaxBytes);
    }
    tabs.push_back({"Shops", shops.Build()});

    TForm inns;
    for (int s = 0; s < TKelVocabulary::kInnCount; ++s) {
        const std::string style(1, kStyles[s]);
        inns.Group("GroupInn" + style, "Inn Style " + style);
        for (const TKelVocabularyField& field : TKelVocabularyInn::kFields)
            Term(inns, TKelVocabulary::kInnFirstField[s] + field.FieldNumber, field.Caption, field.MaxBytes);
    }
    Terms(inns, 92, 95, "Items and money", "GroupItems");
    tabs.push_back({"Inns", inns.Build()});

    TForm menus;
    Terms(menus, 101, 108, "Battle commands", "GroupCommands");
    Terms(menus, 110, 117, "Menu", "GroupMenu");
    Terms(menus, 146, 153, "Files", "GroupFiles");
    tabs.push_back({"Menus", menus.Build()});

    TForm status;
    Terms(status, 123, 131, "Status", "GroupStatus");
    Terms(status, 132, 135, "Abilities", "GroupAbilities");
    Terms(status, 136, 140, "Equipment", "GroupEquipment");
    tabs.push_back({"Status", status.Build()});
    return tabs;
}

}  // namespace

const std::vector<TVocabularyTab>& VocabularyTabs() {
    static const std::vector<TVocabularyTab> tabs = BuildTabs();
    return tabs;
}

}  // namespace quillon
