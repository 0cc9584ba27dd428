#include "database/ED_Attrib.h"

namespace quillon {

TAttribPageModel::TAttribPageModel(const TDataBaseContext& context)
    : TEntryPageModel(context, dtAttributes, context.DataBase->Attrib) {}

namespace {

TFieldForm BuildForm() {
    TFieldFormBuilder<TAttribPageModel> form;
    form.Field(TFieldKind::Text, "EditName", "&Name:", &TAttribPageModel::Name, &TAttribPageModel::SetName)
        .Bytes(TKelAttribItem::kNameMaxBytes)
        .Key("name");
    ItemField(form, TFieldKind::RadioGroup, "RadioKind", "&Classification", &TKelAttribItem::Kind)
        .Choices({"Weapon attrib.", "Magic attrib."})
        .Key("kind");
    form.Group("GroupRate", "Rate of Effect");
    static const char* const kRanks[] = {"A", "B", "C", "D", "E"};
    for (std::size_t i = 0; i < 5; ++i)
        ItemArrayField(form, std::string("EditRate") + kRanks[i], std::string(kRanks[i]) + ":", &TKelAttribItem::Rate, i)
            .Range(kAttribRateMin, kAttribRateMax)
            .Key(std::string("rate-") + static_cast<char>('a' + i));
    form.Group("GroupRateEnd");
    return form.Build();
}

}  // namespace

const TFieldForm& AttribPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
