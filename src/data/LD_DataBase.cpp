#include "data/LD_DataBase.h"

#include "data/EditorMode.h"
#include "data/LD_MapTree.h"
#include "platform/BusyCursor.h"
#include "platform/FileUtils.h"

#include <algorithm>

namespace quillon {

TKelDataBase::TSection TKelDataBase::Section(int number) {
    switch (number) {
    case 11: return {11, "Heroes", &Player, nullptr};
    case 12: return {12, "Skills", &Skill, nullptr};
    case 13: return {13, "Items", &Item, nullptr};
    case 14: return {14, "Monsters", &Monster, nullptr};
    case 15: return {15, "Troops", &MonGroup, nullptr};
    case 16: return {16, "Terrains", &Ground, nullptr};
    case 17: return {17, "Attributes", &Attrib, nullptr};
    case 18: return {18, "Conditions", &Status, nullptr};
    case 19: return {19, "Animations", &Animation, nullptr};
    case 20: return {20, "ChipSets", &ChipSet, nullptr};
    case 21: return {21, "Vocabulary", nullptr, &Vocabulary};
    case 22: return {22, "System", nullptr, &System};
    case 23: return {23, "Switches", &Switch, nullptr};
    case 24: return {24, "Variables", &Variable, nullptr};
    case 25: return {25, "CommonEvents", &CommonEvent, nullptr};
    default: return {};
    }
}

void TKelDataBase::Reset() {
    for (int n = kFirstSection; n <= kLastSection; ++n) {
        const TSection section = Section(n);
        if (section.List) {
            section.List->Clear();
            section.List->Obtain(1);
        } else {
            section.Record->Reset();
        }
    }
    CachedFileSize = 0;
    CachedFileAge = 0;
}

void TKelDataBase::SaveToStream(TStream& stream) {
    WriteString(stream, kSignature);
    TMemoryStream scratch;
    for (int n = kFirstSection; n <= kLastSection; ++n) {
        const TSection section = Section(n);
        scratch.Clear();
        if (section.List)
            section.List->SaveToStream(scratch);
        else
            section.Record->SaveToStream(scratch);
        WriteVarInt(stream, n);
        WriteVarInt(stream, static_cast<std::int32_t>(scratch.Size()));
        stream.WriteBuffer(scratch.Bytes().data(), scratch.Bytes().size());
    }
}

void TKelDataBase::LoadFromStream(TStream& stream) {
    mReport.Clear();
    try {
        ReadSignature(stream, kSignature);
    } catch (const EReadError&) {
        mReport.Damaged = mReport.Unreadable = true;
        throw;
    }
    std::string firstError;
    while (stream.Position() < stream.Size()) {
        std::int32_t number = 0;
        std::uint32_t length = 0;
        try {
            number = ReadVarInt(stream);
            length = static_cast<std::uint32_t>(ReadVarInt(stream));
        } catch (const EReadError& error) {
            mReport.Damaged = mReport.EndCut = true;
            firstError = error.what();
            break;
        }
        mReport.SectionFound(number);
        // A section reads its own bytes only, so that a damaged one cannot take the next ones'.
        const auto held = static_cast<std::size_t>(std::min<std::int64_t>(length, stream.Remaining()));
        const TSection section = Section(number);
        std::string copy;
        const std::uint8_t* bytes = stream.Borrow(held);
        if (bytes == nullptr) {
            copy.resize(held);
            stream.ReadBuffer(copy.data(), held);
            bytes = reinterpret_cast<const std::uint8_t*>(copy.data());
        }
        try {
            TByteViewStream part(bytes, held);
            if (section.List)
                section.List->LoadFromStream(part);
            else if (section.Record)
                section.Record->LoadFromStream(part);
            if (held < length)
                throw EReadError();  // the file ends inside the section
        } catch (const std::exception& error) {
            mReport.SectionLost(number);
            if (firstError.empty())
                firstError = error.what();
            if (section.List && section.List->Count() == 0)
                section.List->Obtain(1);
        }
    }
    if (mReport.Damaged)
        throw EReadError(firstError.empty() ? std::string(kReadErrorText) : firstError);
}

void TKelDataBase::LoadFromFile(const std::string& path) {
    mReport.Clear();
    mDamagedFile.clear();
    ReplaceDamaged = false;
    try {
        const TFileStamp stamp = GetFileStamp(path);
        if (stamp.Size != CachedFileSize || stamp.Age != CachedFileAge) {
            Reset();
            CachedFileSize = stamp.Size;
            CachedFileAge = stamp.Age;
        }
        const std::string bytes = ReadWholeFile(path);
        TByteViewStream stream(bytes);
        LoadFromStream(stream);
    } catch (const std::exception&) {
        if (mReport.Damaged)
            mDamagedFile = path;
        if (!EditorMode())
            throw;
    }
}

std::string TKelDataBase::FileImage() {
    TMemoryStream image;
    SaveToStream(image);
    return image.Bytes();
}

void TKelDataBase::StageDamagedCopy(const std::string& path, TFileTransaction& transaction) const {
    if (mDamagedFile.empty() || mDamagedFile != path)
        return;
    if (!ReplaceDamaged)
        throw EDamagedDataBase("refused: " + DescribeDataBaseDamage(path, mReport).Text() +
                               "; saving would replace what could not be read");
    if (FileExists(path))
        transaction.Stage(path + kDamagedFileSuffix, ReadWholeFile(path));
}

void TKelDataBase::SaveToFile(const std::string& path) {
    const std::int32_t saves = System.SaveCount;
    TFileTransaction transaction;
    StageDamagedCopy(path, transaction);
    try {
        transaction.Stage(path, FileImage());
        transaction.Commit();
    } catch (...) {
        System.SaveCount = saves;  // a save that did not happen is not counted
        throw;
    }
    FileWritten(path);
}

void TKelDataBase::FileWritten(const std::string& path) {
    const TFileStamp stamp = GetFileStamp(path);
    CachedFileSize = stamp.Size;
    CachedFileAge = stamp.Age;
    if (path == mDamagedFile) {
        mDamagedFile.clear();
        ReplaceDamaged = false;
    }
}

}  // namespace quillon

namespace quillon {

void TKelDataBase::Load(const std::string& projectPath) {
    const TBusyCursorScope busy;
    LoadFromFile(projectPath + kFileName);
}

void TKelDataBase::Save(const std::string& projectPath) {
    const TBusyCursorScope busy;
    SaveToFile(projectPath + kFileName);
}

}  // namespace quillon
