#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "platform/BusyCursor.h"
#include "platform/FileUtils.h"

#include "data/RecordTestKit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

using namespace quillon;
using testkit::Hex;
using testkit::Load;
using testkit::Save;
namespace fs = std::filesystem;

namespace {



// A section of a database image: number, length and payload, read back from the bytes.
struct TChunk {
    int Number;
    std::string Payload;
};

std::vector<TChunk> Sections(const std::string& image) {
    TByteViewStream s(image);
    ReadSignature(s, "KelDataBase");
    std::vector<TChunk> out;
    while (s.Position() < s.Size()) {
        TChunk chunk;
        chunk.Number = ReadVarInt(s);
        const int length = ReadVarInt(s);
        chunk.Payload.resize(static_cast<std::size_t>(length));
        s.ReadBuffer(chunk.Payload.data(), chunk.Payload.size());
        out.push_back(chunk);
    }
    return out;
}

std::string Image(const std::vector<TChunk>& sections) {
    TMemoryStream s;
    WriteString(s, "KelDataBase");
    for (const TChunk& chunk : sections) {
        WriteVarInt(s, chunk.Number);
        WriteVarInt(s, static_cast<int>(chunk.Payload.size()));
        s.WriteBuffer(chunk.Payload.data(), chunk.Payload.size());
    }
    return s.Bytes();
}

// A database with something in every section, scripts and nested lists included.
std::unique_ptr<TKelDataBase> FilledDataBase() {
    auto db = std::make_unique<TKelDataBase>();
    db->Player.Obtain(1).Name = "Alex";
    db->Player.Obtain(2).Name = "\x83\x41\x83\x8C\x83\x62\x83\x4E\x83\x58";  // katakana
    db->Skill.Obtain(3).Name = "Fire";
    db->Item.Obtain(1).Name = "Potion";
    db->ChipSet.Obtain(2).Name = "Town";
    *db->Vocabulary.Text(1) = " appeared!";
    db->Vocabulary.Shop(1).Text[2] = "Buy";
    db->Vocabulary.Inn(1).Text[4] = "Stay";
    db->System.TitleGraphic = "Title1";
    db->System.SetPartySize(3);
    db->System.SetPartyMember(1, 2);
    db->System.SetPartyMember(2, 300);
    db->System.Music[1].Name = "Battle1";
    db->System.Music[1].Tempo = 120;
    db->System.Sound[4].Name = "Go";
    db->System.Transition[2] = 7;
    auto& member = db->System.TestPlayer.Obtain(1);
    member.HeroId = 2;
    member.Level = 30;
    member.SetEquipment(1, 5);
    db->Switch.Obtain(12).Name = "Door open";
    db->Variable.Obtain(2).Name = "Gold";
    auto& common = db->CommonEvent.Obtain(2);
    common.Name = "Heal all";
    common.Trigger = TKelCommonEventItem::ctParallel;
    common.Script.Clear();
    for (int i = 0; i < 5; ++i) {
        auto& line = common.Script.Add();
        line.Code = 10110 + i;
        line.Indent = i % 2;
        line.Text = "line " + std::to_string(i);
        line.SetParamCount(i);
        for (int p = 0; p < i; ++p)
            line.SetParam(p, p - 2);
    }
    common.Script.Add();
    return db;
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "quillon-db-XXXXXX").string();
        Path = ::mkdtemp(pattern.data());
        Path += '/';
    }
    ~TempFolder() { fs::remove_all(Path); }
    std::string Path;
};

}  // namespace

TEST(DataBaseFile, FreshDatabaseHasFifteenSectionsInOrder) {
    TKelDataBase db;
    const std::string image = Save(db);
    EXPECT_EQ(image.substr(0, 12), std::string("\x0BKelDataBase"));
    const auto sections = Sections(image);
    ASSERT_EQ(sections.size(), 15u);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(sections[static_cast<std::size_t>(i)].Number, 11 + i);
        const TKelDataBase::TSection section = db.Section(11 + i);
        if (section.List) {
            // one element, ID 1
            EXPECT_EQ(sections[static_cast<std::size_t>(i)].Payload.substr(0, 2), std::string("\x01\x01", 2)) << 11 + i;
        }
    }
    // System record: save counter (field 91) is 1 after the first save.
    EXPECT_NE(sections[11].Payload.find("\x5B\x01\x01"), std::string::npos);
    EXPECT_EQ(db.System.SaveCount, 1);
}

TEST(DataBaseFile, RoundTripOfEverySectionChangesOnlyTheSaveCounter) {
    auto db = FilledDataBase();
    const std::string first = Save(*db);
    TKelDataBase back;
    Load(back, first);
    EXPECT_EQ(back.Player.ItemById(2)->Name, db->Player.ItemById(2)->Name);
    EXPECT_EQ(back.System.PartySize, 3);
    EXPECT_EQ(back.System.PartyMember(2), 300);
    EXPECT_EQ(back.System.TestPlayer.ItemAt(0)->Equipment(1), 5);
    EXPECT_EQ(back.CommonEvent.ItemById(2)->Script.Count(), 6);
    EXPECT_EQ(back.Vocabulary.Shop(1).Text[2], "Buy");
    const std::string second = Save(back);
    ASSERT_EQ(first.size(), second.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < first.size(); ++i)
        differing += first[i] != second[i];
    EXPECT_EQ(differing, 1u);  // the counter, 1 -> 2
    EXPECT_EQ(back.System.SaveCount, 2);
}

TEST(DataBaseFile, ExtraSectionsAreSkippedAndMissingOnesKeepTheirContent) {
    auto db = FilledDataBase();
    auto sections = Sections(Save(*db));
    sections.insert(sections.begin() + 3, TChunk{26, "\x05\x01\x02"});
    sections.push_back(TChunk{99, std::string(10, '\xFF')});
    // Drop the skills section (12).
    sections.erase(sections.begin() + 1);
    TKelDataBase back;
    back.Skill.Obtain(7).Name = "kept";
    Load(back, Image(sections));
    EXPECT_EQ(back.Player.ItemById(1)->Name, "Alex");
    EXPECT_EQ(back.Switch.ItemById(12)->Name, "Door open");
    ASSERT_NE(back.Skill.FindByID(7), nullptr);
    EXPECT_EQ(back.Skill.FindByID(7)->Name, "kept");
}

TEST(DataBaseFile, WrongSignatureIsAReadError) {
    TKelDataBase db;
    std::string image = Save(db);
    image[1] = 'k';
    try {
        Load(db, image);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "A reading error from the stream");
    }
}

TEST(DataBaseFile, EveryCutLengthAndRandomDamageIsSurvived) {
    auto db = FilledDataBase();
    const std::string image = Save(*db);
    auto back = std::make_unique<TKelDataBase>();
    int refused = 0;
    for (std::size_t length = 0; length < image.size(); ++length) {
        try {
            Load(*back, image.substr(0, length));
        } catch (const EReadError&) {
            ++refused;
        }
    }
    // Only a cut right after a whole section can pass for a complete file.
    EXPECT_GE(refused, static_cast<int>(image.size()) - 16);

    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = image;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int c = 0; c < changes; ++c)
            damaged[random() % damaged.size()] = static_cast<char>(random() & 0xFF);
        try {
            Load(*back, damaged);
            Save(*back);  // whatever was read can be written again
        } catch (const EReadError&) {
        }
    }
}

TEST(DataBaseFile, SaveToFileIsAtomicAndCachesTheStamp) {
    TempFolder folder;
    auto db = FilledDataBase();
    db->Save(folder.Path);
    const std::string path = folder.Path + "GMK_RT.kdb";
    const TFileStamp stamp = GetFileStamp(path);
    EXPECT_EQ(db->CachedFileSize, stamp.Size);
    EXPECT_EQ(db->CachedFileAge, stamp.Age);
    const std::string before = ReadWholeFile(path);

    // A save that cannot complete leaves the previous file and no stray files behind, and is
    // not counted.
    const std::int32_t saves = db->System.SaveCount;
    EXPECT_THROW(db->SaveToFile(folder.Path + "missing/GMK_RT.kdb"), EFileError);
    EXPECT_EQ(db->System.SaveCount, saves);
    fs::create_directory(folder.Path + "GMK_RT.dir");
    EXPECT_THROW(db->SaveToFile(folder.Path + "GMK_RT.dir"), EFileError);
    EXPECT_EQ(ReadWholeFile(path), before);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST(DataBaseFile, ReloadResetsOnlyWhenTheFileChanged) {
    TempFolder folder;
    auto db = FilledDataBase();
    db->Save(folder.Path);
    // Unchanged file: no reset first, so a section the file lacks would keep its content;
    // every section is in the file, so the content simply comes back.
    db->Player.Obtain(9).Name = "unsaved";
    db->Load(folder.Path);
    EXPECT_EQ(db->Player.FindByID(9), nullptr);  // the list section replaced itself

    // A file without a switch section: after a change of size the database is reset first.
    auto sections = Sections(ReadWholeFile(folder.Path + "GMK_RT.kdb"));
    sections.erase(sections.begin() + 12);
    WriteFileAtomic(folder.Path + "GMK_RT.kdb", Image(sections));
    db->Switch.Obtain(40).Name = "gone after reset";
    db->Load(folder.Path);
    EXPECT_EQ(db->Switch.Count(), 1);
    EXPECT_EQ(db->Switch.Items(0)->Name, "");
    EXPECT_EQ(db->CachedFileSize, GetFileStamp(folder.Path + "GMK_RT.kdb").Size);

    // Same stamp again: the section the file lacks keeps what it holds.
    db->Switch.Obtain(40).Name = "kept";
    db->Load(folder.Path);
    ASSERT_NE(db->Switch.FindByID(40), nullptr);
}

TEST(DataBaseFile, LoadErrorsRaiseBeforeEditorModeAndAreSwallowedAfter) {
    TempFolder folder;
    TKelDataBase db;
    EXPECT_THROW(db.Load(folder.Path), EFileError);  // no file
    WriteFileAtomic(folder.Path + "GMK_RT.kdb", std::string("\x0BKelDataBase\x0B\x05\x01", 15));
    EXPECT_THROW(db.Load(folder.Path), EReadError);
    TEditorModeScope editor(true);
    EXPECT_NO_THROW(db.Load(folder.Path));
    fs::remove(folder.Path + "GMK_RT.kdb");
    EXPECT_NO_THROW(db.Load(folder.Path));
}

TEST(DataBaseLookUps, EveryListHasItsMessage) {
    TKelDataBase db;
    const std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { db.Player.ItemById(2); }, "Invalid Hero"},
        {[&] { db.Skill.ItemById(2); }, "Invalid Tech Skill"},
        {[&] { db.Item.ItemById(2); }, "Invalid Item Designed"},
        {[&] { db.Monster.ItemById(2); }, "Invalid Enemy Chara"},
        {[&] { db.MonGroup.ItemById(2); }, "Invalid Monsters Group"},
        {[&] { db.Ground.ItemAt(1); }, "Invalid Terrain Designed"},
        {[&] { db.Attrib.ItemAt(1); }, "An invalid attribute was specified"},
        {[&] { db.Status.ItemById(2); }, "Invalid Condition State"},
        {[&] { db.Animation.ItemById(2); }, "An invalid battle animate cartoon was specified"},
        {[&] { db.ChipSet.ItemById(2); }, "An invalid chip set was specified"},
        {[&] { db.Switch.ItemById(2); }, "Invalid Switch"},
        {[&] { db.Variable.ItemAt(1); }, "Invalid Variable"},
        {[&] { db.CommonEvent.ItemById(2); }, "An invalid common event was specified"},
    };
    for (const auto& [lookUp, message] : cases) {
        try {
            lookUp();
            ADD_FAILURE() << message;
        } catch (const ELookupError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
    EXPECT_EQ(db.System.TestPlayer.ItemAt(0), nullptr);  // never raises
    TEditorModeScope editor(true);
    for (const auto& [lookUp, message] : cases)
        EXPECT_NO_THROW(lookUp()) << message;
}

TEST(SystemRecord, PartyOperations) {
    TKelSystem system;
    EXPECT_EQ(system.PartySize, 1);
    EXPECT_EQ(system.PartyMember(0), 1);
    system.SetPartySize(3);
    system.SetPartyMember(1, 4);
    system.SetPartyMember(2, 5);
    EXPECT_EQ(system.PartyMember(3), 0);
    EXPECT_EQ(system.PartyMember(-1), 0);
    system.SetPartyMember(3, 9);  // out of range: nothing
    EXPECT_EQ(system.PartySize, 3);
    system.SetPartyMember(1, 0);
    EXPECT_EQ(system.PartySize, 1);
    EXPECT_EQ(system.Party.size(), 2u);
}

TEST(SystemRecord, PartySizeAndBufferAreMadeToAgreeOnLoad) {
    // Party size 200 but two entries stored; then a size of -1.
    TKelSystem system;
    Load(system, std::string("\x15\x02\x81\x48\x16\x04\x02\x00\x03\x00\x00", 11));
    EXPECT_EQ(system.PartySize, 2);
    EXPECT_EQ(system.PartyMember(1), 3);
    Load(system, std::string("\x15\x05\x8F\xFF\xFF\xFF\x7F\x00", 8));
    EXPECT_EQ(system.PartySize, 0);
    EXPECT_TRUE(system.Party.empty());
    // Sizes whose byte count does not fit an int (the largest and the smallest) still read.
    Load(system, std::string("\x15\x05\x87\xFF\xFF\xFF\x7F\x16\x04\x02\x00\x03\x00\x00", 15));
    EXPECT_EQ(system.PartySize, 2);
    EXPECT_EQ(system.PartyMember(1), 3);
    Load(system, std::string("\x15\x05\x88\x80\x80\x80\x00\x16\x02\x02\x00\x00", 13));
    EXPECT_EQ(system.PartySize, 0);
    EXPECT_TRUE(system.Party.empty());
    // Also when the load fails after the size: a save would otherwise write a party of a
    // billion members.
    TMemoryStream damaged(std::string("\x15\x05\x84\x80\x80\x80\x00\x16\x02\x05\x00\x0B\x09", 13));
    EXPECT_THROW(system.LoadFromStream(damaged), EReadError);
    ASSERT_EQ(system.PartySize, 1);
    EXPECT_EQ(system.PartyMember(0), 5);
    EXPECT_LT(Save(system).size(), 1000u);
}

TEST(SystemRecord, AssignCopiesWithoutCountingASave) {
    TKelSystem a;
    a.SaveCount = 5;
    a.SystemGraphic = "System1";
    TKelSystem b;
    b.Assign(a);
    EXPECT_EQ(b.SystemGraphic, "System1");
    EXPECT_EQ(b.SaveCount, 5);
    EXPECT_EQ(a.SaveCount, 5);
}

TEST(MusicAndSound, DefaultsAndDirectAssign) {
    TKelMusic music;
    EXPECT_EQ(Hex(Save(music)), "01 05 28 4F 46 46 29 00");
    music.FadeIn = 2000;
    music.Balance = 0;
    TKelMusic back;
    Load(back, Save(music));
    EXPECT_EQ(back.FadeIn, 2000);
    EXPECT_EQ(back.Balance, 0);
    TKelSound sound;
    sound.Tempo = 50;
    TKelSound copy;
    copy.Assign(sound);
    EXPECT_EQ(copy.Tempo, 50);
    copy.Assign(music);  // another class: nothing happens
    EXPECT_EQ(copy.Name, "(OFF)");
    EXPECT_EQ(copy.Tempo, 50);
    // A sound has no fade-in field.
    TCatalogVarData d;
    sound.DescribeField(2, d, false);
    EXPECT_EQ(d.FieldType, ftNone);
}

TEST(TestParty, EquipmentFieldsSpanTwoSlots) {
    TKelTestPlayerItem member;
    member.SetEquipment(1, 5);
    // Field 11 holds slot 0 and slot 1: 5 x 65536; field 12 holds 5.
    EXPECT_EQ(Hex(Save(member)), "0B 03 94 80 00 0C 01 05 00");
    TKelTestPlayerItem back;
    Load(back, Save(member));
    EXPECT_EQ(back.Equipment(0), 0);
    EXPECT_EQ(back.Equipment(1), 5);
    EXPECT_EQ(back.Equipment(5), 0);
    back.SetEquipment(7, 3);  // nothing
    // A field-15 value above 65535 reaches the hidden sixth word and is written back; slot 4
    // now also shows in the high half of field 14.
    Load(back, std::string("\x0F\x04\x84\x80\x80\x02\x00", 7));  // 65538
    EXPECT_EQ(back.Equipment(4), 2);
    const std::string saved = Save(back);
    EXPECT_EQ(Hex(saved), "0E 03 88 80 00 0F 04 84 80 80 02 00");
    TKelTestPlayerItem again;
    Load(again, saved);
    EXPECT_EQ(Save(again), saved);
}

TEST(Vocabulary, EveryFieldIsWrittenEvenWhenEmpty) {
    TKelVocabulary vocabulary;
    const std::string bytes = Save(vocabulary);
    int count = 0;
    TByteViewStream s(bytes);
    for (;;) {
        const int n = ReadVarInt(s);
        if (n == 0)
            break;
        EXPECT_EQ(ReadVarInt(s), 0) << n;
        ++count;
    }
    int plain = 0;
    TKelVocabulary::PlainFields(plain);
    EXPECT_EQ(count, plain + 3 * 11 + 2 * 5);
    EXPECT_EQ(s.Position(), s.Size());
    EXPECT_EQ(vocabulary.Field(38), nullptr);
    EXPECT_EQ(vocabulary.Field(53), nullptr);
    EXPECT_EQ(vocabulary.Field(51), &vocabulary.Shop(0).Text[10]);
    EXPECT_EQ(vocabulary.Field(89), &vocabulary.Inn(1).Text[4]);
}

TEST(SwitchesAndVariables, DisplayText) {
    TKelSwitch switches;
    TKelSwitchItem& item = switches.Obtain(12);
    item.Name = "Door open";
    EXPECT_EQ(item.DisplayText(), "0012:Door open");
    EXPECT_EQ(switches.Obtain(3).DisplayText(), "0003");
}

TEST(DataBaseFile, HourglassIsAlwaysRestored) {
    struct TCounter : IBusyCursor {
        int Depth = 0, Shown = 0;
        void Begin() override { ++Depth, ++Shown; }
        void End() override { --Depth; }
    } counter;
    IBusyCursor* previous = SetBusyCursor(&counter);
    TempFolder folder;
    TKelDataBase db;
    db.Save(folder.Path);
    EXPECT_THROW(db.Load(folder.Path + "missing/"), EFileError);
    SetBusyCursor(previous);
    EXPECT_EQ(counter.Shown, 2);
    EXPECT_EQ(counter.Depth, 0);
}

namespace {

// The image with one section's payload replaced.
std::string WithSection(const std::string& image, int number, const std::string& payload) {
    auto sections = Sections(image);
    for (TChunk& chunk : sections)
        if (chunk.Number == number)
            chunk.Payload = payload;
    return Image(sections);
}

// A list payload whose declared count is `count`, the elements as they were.
std::string WithCount(const std::string& payload, std::int32_t count) {
    TByteViewStream old(payload);
    ReadVarInt(old);
    TMemoryStream out;
    WriteVarInt(out, count);
    out.WriteBuffer(payload.data() + old.Position(), payload.size() - static_cast<std::size_t>(old.Position()));
    return out.Bytes();
}

// Where a section's payload begins in an image.
std::size_t SectionStart(const std::string& image, int number) {
    TByteViewStream s(image);
    ReadSignature(s, "KelDataBase");
    while (s.Position() < s.Size()) {
        const int n = ReadVarInt(s);
        const int length = ReadVarInt(s);
        if (n == number)
            return static_cast<std::size_t>(s.Position());
        s.SetPosition(s.Position() + length);
    }
    return image.size();
}

}  // namespace

// A damaged file keeps every section that it holds whole, whatever the damage before it; the
// report names the file and what could not be read, and what was kept saves and loads cleanly.
TEST(DataBaseDamage, SoundSectionsAreKeptAndWhatWasLostIsNamed) {
    auto db = FilledDataBase();
    const std::string image = Save(*db);
    const auto sections = Sections(image);
    const std::string skills = sections[1].Payload;
    struct TCase {
        const char* Name;
        std::string Bytes;
        const char* Told;  // nullptr: not damaged
        bool HeroesKept, SkillsKept, SwitchesKept;
    };
    const TCase cases[] = {
        {"a hero list declaring 2,147,483,647 entries", WithSection(image, 11, WithCount(sections[0].Payload, 2147483647)),
         "GMK_RT.kdb is damaged: its heroes could not be read", false, true, true},
        {"a skill list running past its section", WithSection(image, 12, WithCount(skills, db->Skill.Count() + 1)),
         "GMK_RT.kdb is damaged: its skills could not be read", true, false, true},
        {"cut inside the vocabulary", image.substr(0, SectionStart(image, 21) + 5),
         "GMK_RT.kdb is damaged: its vocabulary, system settings, switches, variables and common events could not "
         "be read",
         true, true, false},
        {"cut in a section's number at the end", image + "\x8F", "GMK_RT.kdb is damaged: its end could not be read",
         true, true, true},
        {"not a database", "\x0BKelDataBasf" + image.substr(12), "GMK_RT.kdb is damaged: nothing in it could be read",
         false, false, false},
        {"only the signature", image.substr(0, 12), nullptr, false, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto back = std::make_unique<TKelDataBase>();
        if (c.Told) {
            EXPECT_THROW(Load(*back, c.Bytes), EReadError);
            ASSERT_TRUE(back->LoadReport().Damaged);
            EXPECT_EQ(DescribeDataBaseDamage("GMK_RT.kdb", back->LoadReport()).Text(), c.Told);
        } else {
            EXPECT_NO_THROW(Load(*back, c.Bytes));
            EXPECT_FALSE(back->LoadReport().Damaged);
            EXPECT_EQ(back->LoadReport().FoundCount(), 0);
        }
        const TCatalogItem* hero = back->Player.FindByID(1);
        EXPECT_EQ(hero && hero->Name == "Alex", c.HeroesKept);
        const TCatalogItem* skill = back->Skill.FindByID(3);
        EXPECT_EQ(skill && skill->Name == "Fire", c.SkillsKept);
        const TCatalogItem* flag = back->Switch.FindByID(12);
        EXPECT_EQ(flag && flag->Name == "Door open", c.SwitchesKept);
        // A list that could not be read holds its one reset element, as after a reset.
        EXPECT_GE(back->Player.Count(), 1);
        EXPECT_GE(back->Skill.Count(), 1);
        auto again = std::make_unique<TKelDataBase>();
        EXPECT_NO_THROW(Load(*again, Save(*back)));
    }
}

// The file that a load found damaged is replaced only with leave, and then kept beside it.
TEST(DataBaseDamage, ADamagedFileIsReplacedOnlyWithLeaveAndKeptBeside) {
    TempFolder folder;
    const std::string path = folder.Path + "GMK_RT.kdb";
    const std::string image = Save(*FilledDataBase());
    const std::string cut = image.substr(0, image.size() - 3);
    WriteFileAtomic(path, cut);
    TEditorModeScope editor(true);
    auto db = std::make_unique<TKelDataBase>();
    db->Load(folder.Path);
    EXPECT_EQ(db->DamagedFile(), path);
    db->Player.Obtain(1).Name = "Renamed";
    try {
        db->Save(folder.Path);
        FAIL() << "a damaged file was replaced without leave";
    } catch (const EDamagedDataBase& e) {
        EXPECT_EQ(std::string(e.what()), "refused: " + path +
                                             " is damaged: its common events could not be read; saving would "
                                             "replace what could not be read");
    }
    EXPECT_EQ(ReadWholeFile(path), cut);
    EXPECT_FALSE(FileExists(path + ".damaged"));
    EXPECT_NO_THROW(db->SaveToFile(folder.Path + "Copy.kdb"));  // another file is no concern of it

    db->ReplaceDamaged = true;
    db->Save(folder.Path);
    EXPECT_EQ(ReadWholeFile(path + ".damaged"), cut);
    EXPECT_EQ(db->DamagedFile(), "");
    auto back = std::make_unique<TKelDataBase>();
    back->Load(folder.Path);
    EXPECT_FALSE(back->LoadReport().Damaged);
    EXPECT_EQ(back->Player.ItemById(1)->Name, "Renamed");
    EXPECT_EQ(back->Switch.ItemById(12)->Name, "Door open");
    // Once replaced, later saves need no leave and leave the kept copy alone.
    db->ReplaceDamaged = false;
    EXPECT_NO_THROW(db->Save(folder.Path));
    EXPECT_EQ(ReadWholeFile(path + ".damaged"), cut);
}
