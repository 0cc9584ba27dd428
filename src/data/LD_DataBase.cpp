#include "data/LD_DataBase.h"

#include "data/EditorMode.h"
#include "platform/BusyCursor.h"
#include "platform/FileUtils.h"

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
    ReadSignature(stream, kSignature);
    while (stream.Position() < stream.Size()) {
        const std::int32_t number = ReadVarInt(stream);
        const auto length = static_cast<std::uint32_t>(ReadVarInt(stream));
        stream.RequireRemaining(length);
        const std::int64_t end = stream.Position() + length;
        const TSection section = Section(number);
        if (section.List)
            section.List->LoadFromStream(stream);
        else if (section.Record)
            section.Record->LoadFromStream(stream);
        stream.SetPosition(end);
    }
}

void TKelDataBase::LoadFromFile(const std::string& path) {
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
        if (!EditorMode())
            throw;
    }
}

std::string TKelDataBase::FileImage() {
    TMemoryStream image;
    SaveToStream(image);
    return image.Bytes();
}

void TKelDataBase::SaveToFile(const std::string& path) {
    const std::int32_t saves = System.SaveCount;
    const std::string image = FileImage();
    try {
        WriteFileAtomic(path, image);
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
