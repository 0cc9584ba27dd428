#include "database/ED_Ground.h"

#include "data/LD_DataBase.h"
#include "events/EventChoosers.h"

namespace quillon {

TGroundPageModel::TGroundPageModel(const TDataBaseContext& context, IEventChoosers* choosers)
    : TEntryPageModel(context, dtTerrain, context.DataBase->Ground), mChoosers(choosers) {}

bool TGroundPageModel::ChooseBackdrop() {
    if (!mChoosers)
        return false;
    std::string name = Item().BackdropName;
    if (!mChoosers->ChooseResource(TSelKind::Backdrop, name, nullptr, {}) || name == Item().BackdropName)
        return false;
    Item().BackdropName = name;
    Modify();
    return true;
}

namespace {

TFieldForm BuildForm() {
    TFieldFormBuilder<TGroundPageModel> form;
    form.Field(TFieldKind::Text, "EditName", "&Name:", &TGroundPageModel::Name, &TGroundPageModel::SetName)
        .Bytes(TKelGroundItem::kNameMaxBytes)
        .Key("name");
    ItemField(form, TFieldKind::Number, "EditDamage", "&Damage:", &TKelGroundItem::Damage)
        .Range(kGroundDamageMin, kGroundDamageMax)
        .Key("damage");
    ItemField(form, TFieldKind::Number, "EditEncounter", "Enemy &Magnify (%):", &TKelGroundItem::EncounterRate)
        .Range(0, kGroundEncounterMax)
        .Key("encounter");
    form.Resource("DashBackdrop", "&Battle Background:", &TGroundPageModel::BackdropName,
                  &TGroundPageModel::ChooseBackdrop)
        .Writes([](TGroundPageModel& m, const TFieldValue& v) {
            if (const auto* name = std::get_if<std::string>(&v); name && *name != m.Item().BackdropName) {
                m.Item().BackdropName = *name;
                m.Modify();
            }
        })
        .Key("backdrop");
    form.Group("GroupPassable", "Passable");
    ItemField(form, TFieldKind::Check, "CheckBoat", "Passable by B&oat", &TKelGroundItem::BoatPassable).Key("boat");
    ItemField(form, TFieldKind::Check, "CheckShip", "Passable by &Ship", &TKelGroundItem::ShipPassable).Key("ship");
    ItemField(form, TFieldKind::Check, "CheckAirship", "Passable by &Airship", &TKelGroundItem::AirshipPassable)
        .Key("airship");
    ItemField(form, TFieldKind::Check, "CheckLanding", "Airship &Landing", &TKelGroundItem::AirshipLanding)
        .Key("landing");
    form.Group("GroupPassableEnd");
    ItemField(form, TFieldKind::RadioGroup, "RadioDisplay", "Common Chara Display Method", &TKelGroundItem::DisplayMethod)
        .Choices({"Normal", "Translucent 1/3 body bottom", "Translucent 1/2 body bottom", "Translucent whole body"})
        .Key("display");
    return form.Build();
}

}  // namespace

const TFieldForm& GroundPageForm() {
    static const TFieldForm form = BuildForm();
    return form;
}

}  // namespace quillon
