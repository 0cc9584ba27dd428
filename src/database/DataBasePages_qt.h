// Which page widget each tab of the database editor shows.
//
// A page is added by writing its unit (a factory function that makes the widget, see
// DataBasePage_qt.h) and one line in RegisterDataBasePages (DataBasePages_qt.cpp), under the
// comment of its tab:
//     QUILLON_DATABASE_PAGE(pages, dtSkills, CreateFormEDSkill);
// The line declares the factory, so no header needs including. A tab without a registered page
// shows the name-only page over its list (or a note, for the vocabulary and system tabs).
#pragma once

#include "database/DataBasePage_qt.h"

#include <array>

namespace quillon {

using TDataBasePageFactory = TFormDataBaseBase* (*)(const TDataBaseContext& context, QWidget* parent);

class TDataBasePageRegistry {
public:
    // A later registration of a tab replaces an earlier one.
    void Add(int tab, TDataBasePageFactory factory);
    // The tab's factory, or nullptr.
    TDataBasePageFactory Find(int tab) const;

private:
    std::array<TDataBasePageFactory, kDataBaseTabCount> mFactories{};
};

// Fills the registry with every page the editor has (DataBasePages_qt.cpp).
void RegisterDataBasePages(TDataBasePageRegistry& pages);
// The program's registry, filled on first use.
TDataBasePageRegistry& DataBasePages();

// Makes the page of a tab: the registered one, else the name-only page (the frame owns it).
TFormDataBaseBase* CreateDataBasePage(int tab, const TDataBaseContext& context, QWidget* parent);
// The name-only page of a list tab, and the note of a tab that has no page yet.
TFormDataBaseBase* CreateDataBaseNamePage(int tab, const TDataBaseContext& context, QWidget* parent);

}  // namespace quillon

// Declares a page's factory function and registers it for a tab (inside RegisterDataBasePages).
#define QUILLON_DATABASE_PAGE(pages, tab, factory)                                                   \
    do {                                                                                           \
        ::quillon::TFormDataBaseBase* factory(const ::quillon::TDataBaseContext&, QWidget*);        \
        (pages).Add((tab), &factory);                                                              \
    } while (false)
