// The game database: fifteen sections kept in one file, "GMK_RT.kdb".
#pragma once

#include "data/Catalog.h"
#include "data/DataBaseLoadReport.h"
#include "data/LD_Animation.h"
#include "data/LD_Attrib.h"
#include "data/LD_ChipSet.h"
#include "data/LD_CmnEvent.h"
#include "data/LD_Ground.h"
#include "data/LD_Item.h"
#include "data/LD_MonGroup.h"
#include "data/LD_Monster.h"
#include "data/LD_Player.h"
#include "data/LD_Skill.h"
#include "data/LD_Status.h"
#include "data/LD_Switch.h"
#include "data/LD_System.h"
#include "data/LD_Variable.h"
#include "data/LD_Vocabulary.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillon {

class TFileTransaction;

class TKelDataBase {
public:
    static constexpr const char* kFileName = "GMK_RT.kdb";
    static constexpr const char* kSignature = "KelDataBase";
    static constexpr int kFirstSection = 11;
    static constexpr int kLastSection = 25;

    // The sections, created in this order.
    TKelPlayer Player;
    TKelSkill Skill;
    TKelItem Item;
    TKelMonster Monster;
    TKelMonGroup MonGroup;
    TKelGround Ground;
    TKelAttrib Attrib;
    TKelStatus Status;
    TKelAnimation Animation;
    TKelChipSet ChipSet;
    TKelVocabulary Vocabulary;
    TKelSystem System;
    TKelSwitch Switch;
    TKelVariable Variable;
    TKelCommonEvent CommonEvent;

    // Size and modification stamp of the file at the last load or save; 0 after a reset.
    std::int64_t CachedFileSize = 0;
    std::int64_t CachedFileAge = 0;

    TKelDataBase() {
        // Heroes, skills, items and monsters keep per-condition and per-attribute arrays no
        // longer than the lists they refer to.
        const TKelTrimLimits limits{&Status, &Attrib};
        Player.TrimLimits = Skill.TrimLimits = Item.TrimLimits = Monster.TrimLimits = limits;
        Reset();
    }
    TKelDataBase(const TKelDataBase&) = delete;
    TKelDataBase& operator=(const TKelDataBase&) = delete;

    // Every list holds one element, ID 1, in its reset state; the records are reset.
    void Reset();
    // Reads every section it can, each from its own bytes only: a section that cannot be read
    // whole is noted in LoadReport (a list left empty holds one element in its reset state) and
    // the sections after it are still read. Afterwards raises EReadError when anything could not
    // be read.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    // Loads a database file. Unless the file's size and stamp are those of the last load or
    // save, the database is reset first. Once the editor runs, errors leave the database as far
    // as it was read and are not raised (LoadReport tells what could not be read); before that
    // they are raised.
    void LoadFromFile(const std::string& path);
    // Writes the whole file safely: a failed write leaves the previous file as it was. A file
    // that the last load found damaged is not replaced (EDamagedDataBase) unless ReplaceDamaged
    // is set; then the damaged file is kept beside it as "<file>.damaged".
    void SaveToFile(const std::string& path);
    // Raises EDamagedDataBase when a save to path would replace a damaged file without leave;
    // else stages the damaged file's copy (when there is one to keep) into the transaction.
    void StageDamagedCopy(const std::string& path, TFileTransaction& transaction) const;
    // The bytes SaveToFile writes, counting the save as SaveToStream does.
    std::string FileImage();
    // After the bytes of FileImage were written to path by someone else: remembers the file's
    // stamp as SaveToFile does (a damaged file at path has been replaced).
    void FileWritten(const std::string& path);

    // What the last load could not read; a missing file is no damage.
    const TDataBaseLoadReport& LoadReport() const { return mReport; }
    // The file the last load of a file found damaged; empty when none.
    const std::string& DamagedFile() const { return mDamagedFile; }
    // The user (or a --replace-damaged) allows the next save to replace the damaged file.
    bool ReplaceDamaged = false;
    // The project's file: projectPath (ending in '/') + "GMK_RT.kdb"; the hourglass shows
    // while they run.
    void Load(const std::string& projectPath);
    void Save(const std::string& projectPath);

    // A section by number, for code that walks all of them: exactly one of List and Record is set.
    struct TSection {
        int Number = 0;
        const char* Name = nullptr;
        TCatalog* List = nullptr;
        TCatalogBaseItem* Record = nullptr;
    };
    TSection Section(int number);

private:
    TDataBaseLoadReport mReport;
    std::string mDamagedFile;
};

}  // namespace quillon
