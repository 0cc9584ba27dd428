// What the database pages over a list share without a window: the current entry of the list,
// the entry rows ("%.4d:%s"), and the change announcements every page makes. The page's field
// description is written over the page model; ItemField describes a field of the current
// record by its member, so each page lists only its fields, their limits and their rules.
#pragma once

#include "controls/FieldForm.h"
#include "data/Catalog.h"
#include "platform/Signal.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

namespace quillon {

// An entry row: "%.4d:%s", the colon also before an empty name ("0007:").
inline std::string FormatEntryRow(std::int32_t id, const std::string& name) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.4d:", static_cast<int>(id));
    return digits + name;
}

// Announcements shared by every page, with or without an entry list.
class TPageModelBase {
public:
    virtual ~TPageModelBase() = default;
    // After every change the page made to the database.
    TSignal<> OnModified;
    // The controls are to be shown again from the record (another entry, a reload).
    TSignal<> OnReload;

    // Called after every change of the database the page made.
    void Modified() { OnModified(); }
};

template <class TItem>
class TEntryPageModel : public TPageModelBase {
public:
    // A list shown in the editor is never empty: an empty list gets record 1.
    explicit TEntryPageModel(TCatalogOf<TItem>& list) : mList(list) {
        if (mList.Count() == 0)
            mList.Obtain(1);
    }

    TCatalogOf<TItem>& List() { return mList; }
    const TCatalogOf<TItem>& List() const { return mList; }
    int Count() const { return mList.Count(); }
    std::string RowText(int index) const {
        const TItem* item = mList.Items(index);
        return item ? FormatEntryRow(item->ID, item->Name) : std::string{};
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        rows.reserve(static_cast<std::size_t>(Count()));
        for (int i = 0; i < Count(); ++i)
            rows.push_back(RowText(i));
        return rows;
    }

    int CurrentIndex() const { return mIndex; }
    // Makes the record of a row current and reloads the controls. False when the row does not
    // exist or is current already.
    bool Select(int index) {
        if (index < 0 || index >= Count() || index == mIndex)
            return false;
        mIndex = index;
        EntryChanged();
        OnReload();
        return true;
    }
    // The list changed under the page (count, paste, clear): keeps the row when it still exists
    // (else the last) and reloads the controls.
    void Reload() {
        if (mList.Count() == 0)
            mList.Obtain(1);
        if (mIndex >= Count())
            mIndex = Count() - 1;
        EntryChanged();
        OnReload();
    }

    TItem& Item() { return Fetch(); }
    const TItem& Item() const { return const_cast<TEntryPageModel*>(this)->Fetch(); }

    const std::string& Name() const { return Item().Name; }
    // The name as typed: stored at once, its row rewritten.
    void SetName(const std::string& name) {
        if (Item().Name == name)
            return;
        Item().Name = name;
        OnRowChanged(mIndex);
        Modified();
    }
    // A row's text changed (the index of the row).
    TSignal<int> OnRowChanged;

protected:
    // The current entry became another one (pages bind their sub-models to it).
    virtual void EntryChanged() {}

private:
    TItem& Fetch() {
        if (mList.Count() == 0)
            mList.Obtain(1);
        if (mIndex < 0 || mIndex >= mList.Count())
            mIndex = 0;
        return *mList.Items(mIndex);
    }

    TCatalogOf<TItem>& mList;
    int mIndex = 0;
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
            m.Modified();
        });
    else
        return form.Field(kind, std::move(widget), std::move(label), get, [member](M& m, std::int32_t v) {
            if (static_cast<std::int32_t>(m.Item().*member) == v)
                return;
            m.Item().*member = static_cast<T>(v);
            m.Modified();
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
            m.Modified();
        });
}

}  // namespace quillon
