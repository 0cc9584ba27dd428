#include "database/DataBasePages_qt.h"

#include "database/DataBaseNamePage_qt.h"

namespace quillon {

void TDataBasePageRegistry::Add(int tab, TDataBasePageFactory factory) {
    if (tab >= 0 && tab < kDataBaseTabCount)
        mFactories[static_cast<std::size_t>(tab)] = factory;
}

TDataBasePageFactory TDataBasePageRegistry::Find(int tab) const {
    return tab >= 0 && tab < kDataBaseTabCount ? mFactories[static_cast<std::size_t>(tab)] : nullptr;
}

TDataBasePageRegistry& DataBasePages() {
    static TDataBasePageRegistry pages = [] {
        TDataBasePageRegistry filled;
        RegisterDataBasePages(filled);
        return filled;
    }();
    return pages;
}

TFormDataBaseBase* CreateDataBasePage(int tab, const TDataBaseContext& context, QWidget* parent) {
    if (const TDataBasePageFactory factory = DataBasePages().Find(tab))
        return factory(context, parent);
    return CreateDataBaseNamePage(tab, context, parent);
}

TFormDataBaseBase* CreateDataBaseNamePage(int tab, const TDataBaseContext& context, QWidget* parent) {
    return new TFormDataBaseNamePage(tab, context, parent);
}

// The pages, one line each under its tab (a tab with no line shows the name-only page):
//     QUILLON_DATABASE_PAGE(pages, dtSkills, CreateFormEDSkill);
void RegisterDataBasePages(TDataBasePageRegistry& pages) {
    (void)pages;
    // "Hero"
    QUILLON_DATABASE_PAGE(pages, dtHero, CreateFormEDPlayer);

    // "Skills"
    QUILLON_DATABASE_PAGE(pages, dtSkills, CreateFormEDSkill);

    // "Items"
    QUILLON_DATABASE_PAGE(pages, dtItems, CreateFormEDItem);

    // "Monsters"
    QUILLON_DATABASE_PAGE(pages, dtMonsters, CreateFormEDMonster);

    // "Monsters Party"
    QUILLON_DATABASE_PAGE(pages, dtMonstersParty, CreateFormEDMonGroup);

    // "Attributes"
    QUILLON_DATABASE_PAGE(pages, dtAttributes, CreateFormEDAttrib);

    // "Conditions"
    QUILLON_DATABASE_PAGE(pages, dtConditions, CreateFormEDStatus);

    // "Battle Animation"
    QUILLON_DATABASE_PAGE(pages, dtAnimation, CreateFormEDAnimation);

    // "Terrain"
    QUILLON_DATABASE_PAGE(pages, dtTerrain, CreateFormEDGround);

    // "ChipSets"
    QUILLON_DATABASE_PAGE(pages, dtChipSets, CreateFormEDChipSet);

    // "Vocabulary"
    QUILLON_DATABASE_PAGE(pages, dtVocabulary, CreateFormEDVocabulary);

    // "System"
    QUILLON_DATABASE_PAGE(pages, dtSystem, CreateFormEDSystem);

    // "Common Events"
    QUILLON_DATABASE_PAGE(pages, dtCommonEvents, CreateFormEDCommonEvent);

}

}  // namespace quillon
