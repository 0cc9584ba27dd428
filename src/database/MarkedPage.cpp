#include "database/MarkedPage.h"

#include "data/LD_DataBase.h"
#include "database/PageLists.h"
#include "events/EventChoosers.h"

namespace quillon {

namespace {

// The condition (or attribute) marks of a record as the mark lists edit them.
TIdArrayAccess MarkArray(TKelMarkedItem& item, bool conditions) {
    if (conditions)
        return {item.ConditionCount, [&item](std::int32_t i) { return std::int32_t{item.Condition(i)}; },
                [&item](std::int32_t n) { item.SetConditionCount(n); },
                [&item](std::int32_t i, std::int32_t v) { item.SetCondition(i, static_cast<std::uint8_t>(v)); }};
    return {item.AttributeCount, [&item](std::int32_t i) { return std::int32_t{item.Attribute(i)}; },
            [&item](std::int32_t n) { item.SetAttributeCount(n); },
            [&item](std::int32_t i, std::int32_t v) { item.SetAttribute(i, static_cast<std::uint8_t>(v)); }};
}

}  // namespace

template <class TItem>
std::vector<TFieldChoice> TMarkedPageModel<TItem>::AnimationChoices() const {
    return PositionChoices(&this->DataBase().Animation);
}

template <class TItem>
std::int32_t TMarkedPageModel<TItem>::AnimationShown() const {
    return ShownPosition(&this->DataBase().Animation, this->Item().AnimationId);
}

template <class TItem>
void TMarkedPageModel<TItem>::SetAnimation(std::int32_t id) {
    if (StorePosition(&this->DataBase().Animation, this->Item().AnimationId, id))
        this->Modify();
}

template <class TItem>
const TKelAnimationItem* TMarkedPageModel<TItem>::PreviewAnimation() const {
    return this->DataBase().Animation.Items(AnimationShown() - 1);
}

template <class TItem>
std::vector<std::string> TMarkedPageModel<TItem>::ConditionNames() const {
    return CatalogNames(&this->DataBase().Status);
}

template <class TItem>
std::vector<std::string> TMarkedPageModel<TItem>::AttributeNames() const {
    return CatalogNames(&this->DataBase().Attrib);
}

template <class TItem>
std::vector<bool> TMarkedPageModel<TItem>::ConditionMarks() const {
    return MarkRows(this->DataBase().Status.Count(), [this](std::int32_t id) { return this->Item().Condition(id); });
}

template <class TItem>
std::vector<bool> TMarkedPageModel<TItem>::AttributeMarks() const {
    return MarkRows(this->DataBase().Attrib.Count(), [this](std::int32_t id) { return this->Item().Attribute(id); });
}

template <class TItem>
bool TMarkedPageModel<TItem>::SetMark(bool condition, std::int32_t id, bool on) {
    const TCatalog& rows = condition ? static_cast<const TCatalog&>(this->DataBase().Status) : this->DataBase().Attrib;
    if (!StoreShownEntry(MarkArray(this->Item(), condition), rows.Count(), id, on ? 1 : 0))
        return false;
    this->Modify();
    return true;
}

template <class TItem>
std::string TMarkedPageModel<TItem>::SwitchText() const {
    const TCatalogItem* item = this->DataBase().Switch.FindByID(this->Item().SwitchId);
    return item ? DataBaseRowText(item->ID, item->Name) : std::string{};
}

template <class TItem>
bool TMarkedPageModel<TItem>::NoteAppliedNames() {
    if (mNamesNoted || !mChoosers || !mChoosers->DataBaseChanged())
        return false;
    mNamesNoted = true;
    this->Modify();
    return true;
}

template <class TItem>
bool TMarkedPageModel<TItem>::ChooseSwitch() {
    if (!mChoosers)
        return false;
    NoteAppliedNames();
    std::int32_t id = this->Item().SwitchId;
    const bool chosen = mChoosers->ChooseSwitch(id) && id != this->Item().SwitchId;
    if (chosen) {
        this->Item().SwitchId = id;
        this->Modify();
    }
    return NoteAppliedNames() || chosen;
}

template class TMarkedPageModel<TKelSkillItem>;
template class TMarkedPageModel<TKelItemItem>;

}  // namespace quillon
