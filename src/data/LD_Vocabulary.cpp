#include "data/LD_Vocabulary.h"

#include <algorithm>
#include <iterator>

namespace quillon {

namespace {

const TKelVocabularyField kPlainFields[] = {
    {1, "Start Battle", 30},
    {2, "Headstart Attack Chance", 50},
    {3, "Escape Success", 50},
    {4, "Failure Escape", 50},
    {5, "Victory", 50},
    {6, "Annihilation", 50},
    {7, "Got Experience", 38},
    {8, "Got Money (before)", 10},
    {9, "Got Money (after)", 24},
    {10, "Got Item", 30},
    {11, "Common Attack", 30},
    {12, "Ally Kill (Congenial Hit)", 50},
    {13, "Enemy Kill (Regretful Hit)", 50},
    {14, "Defense", 30},
    {15, "Watch State (Enemy)", 30},
    {16, "Strength Save (Enemy)", 30},
    {17, "Burst Oneself (Enemy)", 30},
    {18, "Escape (Enemy)", 30},
    {19, "Transform (Enemy)", 30},
    {20, "Enemy Damage Give", 24},
    {21, "Enemy Damage", 32},
    {22, "Friend Damage", 24},
    {23, "Friend Damage Accept", 32},
    {24, "Technical Skill Failure A", 32},
    {25, "Technical Skill Failure B", 32},
    {26, "Technical Skill Failure C", 32},
    {27, "Avoid Physical Attack", 32},
    {28, "Item Use", 14},
    {29, "Ability value recovery", 12},
    {30, "Ability Up", 12},
    {31, "Ability Down", 12},
    {32, "Ally Ability Cost Absorption", 12},
    {33, "Enemy Ability Cost Absorption", 12},
    {34, "Defense Up", 20},
    {35, "Defense Down", 20},
    {36, "Level Up", 16},
    {37, "Special Skill Learned", 26},
    {92, "Number of owned Items", 16},
    {93, "Number of Equipped Items", 16},
    {95, "Currency Unit (GP)", 6},
    {101, "Fight", 10},
    {102, "Auto", 10},
    {103, "Escape", 10},
    {104, "Attack", 10},
    {105, "Defense", 10},
    {106, "Item", 10},
    {107, "Skills", 10},
    {108, "Equipment", 12},
    {110, "Save", 12},
    {112, "End Game", 12},
    {114, "New Game", 16},
    {115, "Continue", 16},
    {117, "Shutdown", 16},
    {123, "Level", 10},
    {124, "HP", 10},
    {125, "MP", 10},
    {126, "Normal", 8},
    {127, "EXP (Abbr.)", 2},
    {128, "Level (Abbr.)", 2},
    {129, "HP (Abbr.)", 2},
    {130, "MP (Abbr.)", 2},
    {131, "MP Cost", 10},
    {132, "Attack", 10},
    {133, "Defense", 10},
    {134, "Mind", 10},
    {135, "Agility", 10},
    {136, "Arms", 10},
    {137, "Shield", 10},
    {138, "Armor", 10},
    {139, "Helmet", 10},
    {140, "Other", 10},
    {146, "Choose file for a Game Save", 50},
    {147, "Choose file for a Load Game", 50},
    {148, "File", 10},
    {151, "Exit Confirmation", 50},
    {152, "Yes", 10},
    {153, "No", 10},
};

// Which plain field a number is, by a look-up table built once from the list above.
struct TPlainIndex {
    std::array<const TKelVocabularyField*, TKelVocabulary::kLastField + 1> ByNumber{};
    TPlainIndex() {
        for (const auto& field : kPlainFields)
            ByNumber[static_cast<std::size_t>(field.FieldNumber)] = &field;
    }
};

const TKelVocabularyField* PlainField(int fieldNumber) {
    static const TPlainIndex index;
    if (fieldNumber < 1 || fieldNumber > TKelVocabulary::kLastField)
        return nullptr;
    return index.ByNumber[static_cast<std::size_t>(fieldNumber)];
}

}  // namespace

const TKelVocabularyField TKelVocabularyShop::kFields[kCount] = {
    {0, "Choose Business", 50},
    {1, "Choose Business (After 2nd watching)", 50},
    {2, "Purchase", 12},
    {3, "Sale", 12},
    {4, "Leave", 12},
    {5, "Buy Chosen Item", 50},
    {6, "Input Number of Items for purchasing", 50},
    {7, "Purchasing Complete", 50},
    {8, "Sell Chosen Item", 50},
    {9, "Input number of Items for sale", 50},
    {10, "Sale Complete", 50},
};

const TKelVocabularyField TKelVocabularyInn::kFields[kCount] = {
    {0, "Lodging selection (before the price)", 16},
    {1, "Lodging selection (after the currency unit)", 20},
    {2, "Lodging selection (question)", 50},
    {3, "Lodge", 12},
    {4, "Stay at 1 night", 12},
};

const TKelVocabularyField* TKelVocabulary::PlainFields(int& count) {
    count = static_cast<int>(std::size(kPlainFields));
    return kPlainFields;
}

std::string* TKelVocabulary::Text(int fieldNumber) {
    return PlainField(fieldNumber) ? &mText[static_cast<std::size_t>(fieldNumber)] : nullptr;
}

const std::string* TKelVocabulary::Text(int fieldNumber) const {
    return PlainField(fieldNumber) ? &mText[static_cast<std::size_t>(fieldNumber)] : nullptr;
}

std::string* TKelVocabulary::Field(int fieldNumber) {
    for (int i = 0; i < kShopCount; ++i) {
        const int offset = fieldNumber - kShopFirstField[i];
        if (offset >= 0 && offset < TKelVocabularyShop::kCount)
            return &mShops[static_cast<std::size_t>(i)].Text[static_cast<std::size_t>(offset)];
    }
    for (int i = 0; i < kInnCount; ++i) {
        const int offset = fieldNumber - kInnFirstField[i];
        if (offset >= 0 && offset < TKelVocabularyInn::kCount)
            return &mInns[static_cast<std::size_t>(i)].Text[static_cast<std::size_t>(offset)];
    }
    return Text(fieldNumber);
}

namespace {

// Field labels for dumps: "<number>:<caption>", shop and inn messages with their style.
const char* FieldLabel(int fieldNumber) {
    static const auto labels = [] {
        std::array<std::string, TKelVocabulary::kLastField + 1> out;
        for (const auto& field : kPlainFields)
            out[static_cast<std::size_t>(field.FieldNumber)] =
                std::to_string(field.FieldNumber) + ":" + field.Caption;
        for (int i = 0; i < TKelVocabulary::kShopCount; ++i)
            for (const auto& field : TKelVocabularyShop::kFields) {
                const int n = TKelVocabulary::kShopFirstField[i] + field.FieldNumber;
                out[static_cast<std::size_t>(n)] =
                    std::to_string(n) + ":Shop " + char('A' + i) + "/" + field.Caption;
            }
        for (int i = 0; i < TKelVocabulary::kInnCount; ++i)
            for (const auto& field : TKelVocabularyInn::kFields) {
                const int n = TKelVocabulary::kInnFirstField[i] + field.FieldNumber;
                out[static_cast<std::size_t>(n)] =
                    std::to_string(n) + ":Inn " + char('A' + i) + "/" + field.Caption;
            }
        return out;
    }();
    return labels[static_cast<std::size_t>(fieldNumber)].c_str();
}

}  // namespace

void TKelVocabulary::DescribeField(int fieldNumber, TCatalogVarData& d, bool) {
    std::string* text = Field(fieldNumber);
    if (!text)
        return;
    // Every vocabulary field is written, empty or not.
    SetStringField(d, text, false, FieldLabel(fieldNumber));
}

void TKelVocabulary::Reset() {
    for (auto& text : mText)
        text.clear();
    for (auto& shop : mShops)
        for (auto& text : shop.Text)
            text.clear();
    for (auto& inn : mInns)
        for (auto& text : inn.Text)
            text.clear();
}

}  // namespace quillon
