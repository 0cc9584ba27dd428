// The vocabulary page ("Vocabulary"): every term of the vocabulary record, each with its
// caption and length limit, on tabs by subject; the shop and inn messages as their groups
// (three shop styles of eleven, two inn styles of five).
#pragma once

#include "controls/FieldForm.h"
#include "data/LD_Vocabulary.h"
#include "database/EntryPage.h"

#include <string>
#include <vector>

namespace quillon {

class TVocabularyPageModel : public TDataBasePage {
public:
    explicit TVocabularyPageModel(const TDataBaseContext& context);

    TKelVocabulary& Vocabulary() { return mVocabulary; }
    // The text of a used field number (empty for an unused one).
    std::string Text(int fieldNumber) const;
    // Stores a term; false for an unused field number.
    bool SetText(int fieldNumber, const std::string& text);
private:
    TKelVocabulary& mVocabulary;
};

// One tab of the page: its caption and its fields (widgets "EditVocab" + field number; a shop
// or inn style is a group "GroupShopA" .. "GroupInnB").
struct TVocabularyTab {
    std::string Caption;
    TFieldForm Form;
};
const std::vector<TVocabularyTab>& VocabularyTabs();

// What the game shows before or around a term (the hero's name, a number ...), "" for none.
std::string VocabularyPlaceholder(int fieldNumber);
// The widget of a field number.
std::string VocabularyWidget(int fieldNumber);

}  // namespace quillon
