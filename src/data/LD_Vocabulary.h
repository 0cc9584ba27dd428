// The vocabulary record (database section 21): every text the game shows of its own.
#pragma once

#include "data/Catalog.h"

#include <array>
#include <string>

namespace quillon {

// One field of the vocabulary as the vocabulary editor shows it.
struct TKelVocabularyField {
    int FieldNumber;
    const char* Caption;  // the edit box's caption
    int MaxBytes;         // the edit box's length limit; the record stores any length
};

// The eleven messages of one shop style, in this order.
class TKelVocabularyShop {
public:
    static constexpr int kCount = 11;
    static const TKelVocabularyField kFields[kCount];  // field numbers are offsets 0..10
    std::array<std::string, kCount> Text;
};

// The five messages of one inn style, in this order.
class TKelVocabularyInn {
public:
    static constexpr int kCount = 5;
    static const TKelVocabularyField kFields[kCount];  // field numbers are offsets 0..4
    std::array<std::string, kCount> Text;
};

class TKelVocabulary : public TCatalogBaseItem {
public:
    static constexpr int kShopCount = 3;
    static constexpr int kInnCount = 2;
    static constexpr int kShopFirstField[kShopCount] = {41, 54, 67};
    static constexpr int kInnFirstField[kInnCount] = {80, 85};
    static constexpr int kLastField = 153;

    TKelVocabulary() { Reset(); }
    void DescribeField(int fieldNumber, TCatalogVarData& d, bool loading) override;
    void Reset() override;

    // The text of a plain field (not a shop or inn message); nullptr for an unused number.
    std::string* Text(int fieldNumber);
    const std::string* Text(int fieldNumber) const;
    // The text of any used field, shop and inn messages included; nullptr for an unused number.
    std::string* Field(int fieldNumber);
    TKelVocabularyShop& Shop(int index) { return mShops.at(static_cast<std::size_t>(index)); }
    const TKelVocabularyShop& Shop(int index) const { return mShops.at(static_cast<std::size_t>(index)); }
    TKelVocabularyInn& Inn(int index) { return mInns.at(static_cast<std::size_t>(index)); }
    const TKelVocabularyInn& Inn(int index) const { return mInns.at(static_cast<std::size_t>(index)); }

    // The plain fields in field-number order.
    static const TKelVocabularyField* PlainFields(int& count);

private:
    std::array<std::string, kLastField + 1> mText;  // by field number; only used numbers matter
    std::array<TKelVocabularyShop, kShopCount> mShops;
    std::array<TKelVocabularyInn, kInnCount> mInns;
};

}  // namespace quillon
