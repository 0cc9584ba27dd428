#include "data/DataBaseLoadReport.h"

#include "data/LD_MapTree.h"

#include <vector>

namespace quillon {

namespace {

bool InRange(int number) {
    return number >= TDataBaseLoadReport::kFirstSection &&
           number < TDataBaseLoadReport::kFirstSection + TDataBaseLoadReport::kSectionCount;
}

std::string LostParts(const TDataBaseLoadReport& report) {
    std::vector<std::string> lost;
    for (int n = TDataBaseLoadReport::kFirstSection;
         n < TDataBaseLoadReport::kFirstSection + TDataBaseLoadReport::kSectionCount; ++n)
        if (report.Missing(n))
            lost.push_back(DataBaseSectionWords(n));
    return lost.empty() ? std::string() : "its " + JoinWithAnd(lost);
}

}  // namespace

int TDataBaseLoadReport::FoundCount() const {
    int count = 0;
    for (const bool found : Found)
        count += found ? 1 : 0;
    return count;
}

void TDataBaseLoadReport::SectionFound(int number) {
    if (InRange(number))
        Found[static_cast<std::size_t>(number - kFirstSection)] = true;
}

void TDataBaseLoadReport::SectionLost(int number) {
    Damaged = true;
    if (InRange(number))
        Lost[static_cast<std::size_t>(number - kFirstSection)] = true;
}

bool TDataBaseLoadReport::Missing(int number) const {
    if (!Damaged || !InRange(number))
        return false;
    const auto index = static_cast<std::size_t>(number - kFirstSection);
    return Lost[index] || !Found[index];
}

const char* DataBaseSectionWords(int number) {
    static const char* const kWords[TDataBaseLoadReport::kSectionCount] = {
        "heroes",     "skills",     "items",          "monsters",        "troops",
        "terrains",   "attributes", "conditions",     "battle animations", "chipsets",
        "vocabulary", "system settings", "switches",  "variables",       "common events"};
    return InRange(number) ? kWords[number - TDataBaseLoadReport::kFirstSection] : "";
}

TFilledText DescribeDataBaseDamage(const std::string& fileName, const TDataBaseLoadReport& report) {
    const std::string parts = LostParts(report);
    if (report.Unreadable || report.FoundCount() == 0)
        return {"%1 is damaged: nothing in it could be read", {fileName}};
    if (parts.empty())
        return {"%1 is damaged: its end could not be read", {fileName}};
    return {"%1 is damaged: %2 could not be read", {fileName, parts}};
}

TFilledText ReplaceDamagedDataBaseQuestion(const std::string& fileName, const TDataBaseLoadReport& report) {
    return {"%1. Replace it with the database as it is now? What could not be read is lost; the damaged file is "
            "kept as \"%2\".",
            {DescribeDataBaseDamage(fileName, report).Text(), fileName + kDamagedFileSuffix}};
}

}  // namespace quillon
