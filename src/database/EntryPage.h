// What the field pages of the database editor share without a window: a page model over one
// list with its current record typed, and fields of that record described by its members
// (ItemField), so that each page lists only its fields, their limits and their rules. Every
// change ends in the page base's Modify.
#pragma once

#include "controls/FieldForm.h"
#include "data/Catalog.h"
#include "database/DataBasePage.h"
#include "platform/Signal.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

namespace quillon {

// A page over one database list of records TItem: the page base's entry list and list
// operations, with the current record typed.
template <class TItem>
class TEntryPageModel : public TDataBasePage {
public:
    TEntryPageModel(const TDataBaseContext& context, int tab, TCatalogOf<TItem>& list)
        : TDataBasePage(context, tab), mList(list) {
        Fill();
    }

    TCatalog* List() const override { return &mList; }
    int ClipboardFormat() const override { return TItem::kClipboardFormat; }

    // The current record (a list shown in the editor is never empty).
    TItem& Item() const {
        if (!Current())
            const_cast<TEntryPageModel*>(this)->Fill();
        return *static_cast<TItem*>(Current());
    }
    const std::string& Name() const { return Item().Name; }
    // The name as typed: stored at once, its row rewritten.
    void SetName(const std::string& name) { SetCurrentName(name); }

private:
    TCatalogOf<TItem>& mList;
};

// A field of the current record of page model M, by the record's member: read from Item(),
// written through the page so that every change is announced. Strings, integers and booleans.
template <class M, class R, class T>
TFieldFormBuilder<M>& ItemField(TFieldFormBuilder<M>& form, TFieldKind kind, std::string widget, std::string label,
                                T R::*member) {
    const auto get = [member](const M& m) -> decltype(auto) {
        if constexpr (std::is_same_v<T, std::string>)
            return static_cast<const std::string&>(m.Item().*member);
        else
            return static_cast<std::int32_t>(m.Item().*member);
    };
    if constexpr (std::is_same_v<T, std::string>)
        return form.Field(kind, std::move(widget), std::move(label), get, [member](M& m, const std::string& v) {
            if (m.Item().*member == v)
                return;
            m.Item().*member = v;
            m.Modify();
        });
    else
        return form.Field(kind, std::move(widget), std::move(label), get, [member](M& m, std::int32_t v) {
            if (static_cast<std::int32_t>(m.Item().*member) == v)
                return;
            m.Item().*member = static_cast<T>(v);
            m.Modify();
        });
}

// A field of an element of an array member of the current record (the rates of the five ranks).
template <class M, class R, class T, std::size_t N>
TFieldFormBuilder<M>& ItemArrayField(TFieldFormBuilder<M>& form, std::string widget, std::string label,
                                     std::array<T, N> R::*member, std::size_t index) {
    return form.Field(
        TFieldKind::Number, std::move(widget), std::move(label),
        [member, index](const M& m) { return static_cast<std::int32_t>((m.Item().*member).at(index)); },
        [member, index](M& m, std::int32_t v) {
            T& slot = (m.Item().*member).at(index);
            if (static_cast<std::int32_t>(slot) == v)
                return;
            slot = static_cast<T>(v);
            m.Modify();
        });
}

}  // namespace quillon
