// What the last load of a database file found, section by section: which sections the file held,
// which of them could not be read, and so what a save of the database as it is would replace.
#pragma once

#include "data/LD_Map.h"

#include <array>
#include <stdexcept>
#include <string>

namespace quillon {

struct TDataBaseLoadReport {
    static constexpr int kFirstSection = 11;
    static constexpr int kSectionCount = 15;

    bool Damaged = false;     // something could not be read
    bool Unreadable = false;  // nothing could: no content, or not a database file
    bool EndCut = false;      // the file ends inside a section's number or length
    // By section (index 0 is section 11): met in the file, and met but not read whole.
    std::array<bool, kSectionCount> Found{};
    std::array<bool, kSectionCount> Lost{};

    void Clear() { *this = TDataBaseLoadReport{}; }
    int FoundCount() const;
    // A section met in the file that could not be read whole.
    void SectionLost(int number);
    void SectionFound(int number);
    // What a damaged file does not hold: the sections it lost and those it never reached.
    bool Missing(int number) const;
};

// The words that name a section in messages: "heroes", "battle animations", "system settings" ...
const char* DataBaseSectionWords(int number);

// "GMK_RT.kdb is damaged: its heroes and skills could not be read" and the like: which file was
// damaged and what of it could not be read (and so stands reset in memory). Meaningful when the
// report says Damaged.
TFilledText DescribeDataBaseDamage(const std::string& fileName, const TDataBaseLoadReport& report);

// The question before a save replaces a damaged database file.
TFilledText ReplaceDamagedDataBaseQuestion(const std::string& fileName, const TDataBaseLoadReport& report);

// Raised by a save that would replace a damaged database file without leave; its text begins
// with "refused: " and names the file and what could not be read.
class EDamagedDataBase : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace quillon
