#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "platform/FileUtils.h"
#include "project/ProjectFiles.h"
#include "tools/lib/SampleProject.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

class SampleProject : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The sample and the copies the tests change live in one private folder, so runs side by
        // side never share a copy.
        std::string pattern = (fs::temp_directory_path() / "quillon-sample-XXXXXX").string();
        sRoot = ::mkdtemp(pattern.data());
        sFolder = sRoot + "/sample/";
        fs::create_directories(sFolder);
        MakeSampleProject(sFolder);
    }
    static void TearDownTestSuite() { fs::remove_all(sRoot); }

    // A fresh copy of the sample to change.
    std::string Copy(const std::string& name) {
        const std::string target = sRoot + "/" + name + "/";
        fs::remove_all(target);
        fs::copy(sFolder, target, fs::copy_options::recursive);
        mCopies.push_back(target);
        return target;
    }
    void TearDown() override {
        for (const auto& copy : mCopies)
            fs::remove_all(copy);
    }

    static std::string sRoot;
    static std::string sFolder;

private:
    std::vector<std::string> mCopies;
};

std::string SampleProject::sRoot;
std::string SampleProject::sFolder;

// Where two images of the same length differ.
std::vector<std::size_t> Differences(const std::string& a, const std::string& b) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            at.push_back(i);
    return at;
}

}  // namespace

TEST_F(SampleProject, EveryFileLoadsCleanly) {
    const auto report = CheckProjectFolder(sFolder);
    ASSERT_EQ(report.size(), 6u);  // database, tree, four maps
    for (const TFileCheck& file : report)
        EXPECT_TRUE(file.Problems.empty()) << file.File << ": " << file.Problems.front();
    EXPECT_EQ(ListMapUnitFiles(sFolder),
              (std::vector<std::string>{"Map0001.kmu", "Map0002.kmu", "Map0003.kmu", "Map0005.kmu"}));
}

TEST_F(SampleProject, ResaveChangesOnlyTheSaveCounters) {
    const std::string folder = Copy("resave");
    ResaveProjectFolder(folder);
    for (const char* name : {"GMK_RT.kdb", "GMK_RT.kmt", "Map0001.kmu", "Map0002.kmu", "Map0003.kmu", "Map0005.kmu"}) {
        const std::string before = ReadWholeFile(sFolder + name);
        const std::string after = ReadWholeFile(folder + name);
        ASSERT_EQ(before.size(), after.size()) << name;
        const auto at = Differences(before, after);
        if (std::string(name) == "GMK_RT.kmt") {
            EXPECT_TRUE(at.empty()) << name;
            continue;
        }
        // One byte: the counter, right after its field number 91 and length 1, went up by one.
        ASSERT_EQ(at.size(), 1u) << name;
        EXPECT_EQ(before.substr(at[0] - 2, 2), std::string("\x5B\x01", 2)) << name;
        EXPECT_EQ(after[at[0]], before[at[0]] + 1) << name;
    }
}

TEST_F(SampleProject, CheckNamesWhatCouldNotBeRead) {
    const std::string folder = Copy("damaged");
    const std::string map = ReadWholeFile(folder + "Map0002.kmu");
    WriteFileAtomic(folder + "Map0002.kmu", map.substr(0, map.size() / 2));
    fs::remove(folder + "Map0005.kmu");
    std::string tree = ReadWholeFile(folder + "GMK_RT.kmt");
    tree[1] = 'k';
    WriteFileAtomic(folder + "GMK_RT.kmt", tree);
    const auto report = CheckProjectFolder(folder);
    ASSERT_EQ(report.size(), 5u);
    EXPECT_TRUE(report[0].Problems.empty());
    ASSERT_EQ(report[1].Problems.size(), 1u);
    EXPECT_EQ(report[1].Problems[0], "A reading error from the stream");
    EXPECT_EQ(report[3].File, "Map0002.kmu");
    EXPECT_FALSE(report[3].Problems.empty());
    // Nothing is written when a file does not load.
    EXPECT_THROW(ResaveProjectFolder(folder), std::runtime_error);
    EXPECT_EQ(ReadWholeFile(folder + "GMK_RT.kdb"), ReadWholeFile(sFolder + "GMK_RT.kdb"));

    // The tree names a map whose file is gone.
    const std::string other = Copy("missing");
    fs::remove(other + "Map0005.kmu");
    const auto second = CheckProjectFolder(other);
    ASSERT_EQ(second[1].Problems.size(), 1u);
    EXPECT_EQ(second[1].Problems[0], "map 0005 has no file Map0005.kmu");
}

// A map ID of five digits (or below 1) cannot name a "Map%.4d.kmu" file; areas need no file.
TEST_F(SampleProject, CheckReportsMapIdsThatCannotNameAFile) {
    const std::string folder = Copy("wide-ids");
    TKelMapTree tree;
    {
        const std::string bytes = ReadWholeFile(folder + "GMK_RT.kmt");
        TByteViewStream stream(bytes);
        tree.LoadTreeFromStream(stream);
    }
    for (const std::int32_t id : {10000, 40000, -3}) {
        TKelMapTreeItem& item = tree.Obtain(id);
        item.Kind = TKelMapTreeItem::mkMap;
        item.ParentId = 0;
        tree.Order.push_back(id);
    }
    tree.Obtain(12345).Kind = TKelMapTreeItem::mkArea;
    tree.Order.push_back(12345);  // a whole display order: only the IDs are at fault
    TMemoryStream image;
    tree.SaveTreeToStream(image);
    WriteFileAtomic(folder + "GMK_RT.kmt", image.Bytes());
    // Even a file of the five-digit name does not help: the editor never names a map so.
    WriteFileAtomic(folder + "Map10000.kmu", ReadWholeFile(folder + "Map0001.kmu"));

    const auto report = CheckProjectFolder(folder);
    ASSERT_EQ(report[1].File, "GMK_RT.kmt");
    EXPECT_EQ(report[1].Problems,
              (std::vector<std::string>{"map -3: a map ID outside 1..9999 cannot name a map file (Map%.4d.kmu)",
                                        "map 10000: a map ID outside 1..9999 cannot name a map file (Map%.4d.kmu)",
                                        "map 40000: a map ID outside 1..9999 cannot name a map file (Map%.4d.kmu)"}));
}

TEST_F(SampleProject, EveryFileKindSurvivesEveryCut) {
    const auto db = std::make_unique<TKelDataBase>();
    const std::string database = ReadWholeFile(sFolder + "GMK_RT.kdb");
    for (std::size_t length = 0; length < database.size(); length += 3) {
        TByteViewStream stream(std::string_view(database).substr(0, length));
        try {
            db->LoadFromStream(stream);
        } catch (const EReadError&) {
        }
    }
    const std::string tree = ReadWholeFile(sFolder + "GMK_RT.kmt");
    for (std::size_t length = 0; length < tree.size(); ++length) {
        TKelMapTree loaded;
        TByteViewStream stream(std::string_view(tree).substr(0, length));
        EXPECT_THROW(loaded.LoadTreeFromStream(stream), EReadError) << length;
    }
    const std::string map = ReadWholeFile(sFolder + "Map0002.kmu");
    auto unit = std::make_unique<TKelMap>();
    for (std::size_t length = 0; length < map.size(); length += 2) {
        TByteViewStream stream(std::string_view(map).substr(0, length));
        try {
            ReadSignature(stream, TKelMap::kSignature);
            unit->LoadFromStream(stream);
        } catch (const EReadError&) {
        }
    }
    EXPECT_EQ(DetectDataFileKind(database), TDataFileKind::DataBase);
    EXPECT_EQ(DetectDataFileKind(tree), TDataFileKind::MapTree);
    EXPECT_EQ(DetectDataFileKind(map), TDataFileKind::MapUnit);
    EXPECT_EQ(DetectDataFileKind("\x05KelDa"), TDataFileKind::Unknown);
}

// Damage that loading passes over in silence (a display order that leaves items out, a layer of
// the wrong length) is named by the check, and resaving refuses to write over it.
TEST_F(SampleProject, CheckNamesDamageThatLoadsQuietly) {
    const std::string folder = Copy("quiet");
    TKelMapTree tree;
    {
        const std::string bytes = ReadWholeFile(folder + "GMK_RT.kmt");
        TByteViewStream stream(bytes);
        tree.LoadTreeFromStream(stream);
    }
    const int items = tree.Count();
    ASSERT_GT(items, 2);
    tree.Order.resize(1);
    TMemoryStream image;
    tree.SaveTreeToStream(image);
    WriteFileAtomic(folder + "GMK_RT.kmt", image.Bytes());

    TMemoryStream map;
    WriteString(map, TKelMap::kSignature);
    for (const auto& [field, value] : {std::pair{2, 2}, std::pair{3, 1}}) {
        WriteVarInt(map, field);
        WriteVarInt(map, value, true);
    }
    WriteVarInt(map, 71);
    WriteVarInt(map, 2);  // one cell of two
    map.WriteBuffer("\x89\x13", 2);
    WriteVarInt(map, 0);
    WriteFileAtomic(folder + "Map0003.kmu", map.Bytes());

    const auto report = CheckProjectFolder(folder);
    ASSERT_EQ(report[1].File, "GMK_RT.kmt");
    EXPECT_EQ(report[1].Problems,
              std::vector<std::string>{"damaged: its display order lists 1 of " + std::to_string(items) + " items"});
    ASSERT_EQ(report[4].File, "Map0003.kmu");
    EXPECT_EQ(report[4].Problems,
              std::vector<std::string>{"damaged: its lower layer could not be read"});
    EXPECT_THROW(ResaveProjectFolder(folder), std::runtime_error);
    EXPECT_EQ(ReadWholeFile(folder + "Map0003.kmu"), map.Bytes());
}

// The database as the check sees it: damage told as the editor tells it, a file of no sections,
// IDs that no list can hold; resaving replaces a damaged database only when told to, and then
// keeps it beside.
TEST_F(SampleProject, CheckNamesDataBaseDamageAndIdsOutsideTheLists) {
    const std::string kdb = std::string("/") + TKelDataBase::kFileName;
    const std::string whole = ReadWholeFile(sFolder + kdb);
    TKelDataBase odd;
    odd.LoadFromFile(sFolder + kdb);
    for (const std::int32_t id : {-1, 0, 2147483647})
        odd.Player.Obtain(id);
    for (std::int32_t id = 30001; id <= 30007; ++id)
        odd.Switch.Obtain(id);
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::vector<std::string> Problems;
    };
    const std::vector<TCase> cases = {
        {"ids", odd.FileImage(),
         {"heroes: IDs -1, 0 and 2147483647 outside 1..30000",
          "switches: IDs 30001, 30002, 30003, 30004, 30005 and 2 more outside 1..30000"}},
        {"signature", whole.substr(0, 12), {"holds no sections, only its signature"}},
        {"garbage", "\x0BKelDataBasf" + whole.substr(12), {"damaged: nothing in it could be read"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string folder = Copy(c.Name);
        WriteFileAtomic(folder + kdb, c.Bytes);
        const auto report = CheckProjectFolder(folder);
        ASSERT_EQ(report[0].File, TKelDataBase::kFileName);
        EXPECT_EQ(report[0].Problems, c.Problems);
    }

    const std::string folder = Copy("cut");
    const std::string cut = whole.substr(0, whole.size() / 2);
    WriteFileAtomic(folder + kdb, cut);
    const auto report = CheckProjectFolder(folder);
    ASSERT_EQ(report[0].Problems.size(), 1u);
    EXPECT_EQ(report[0].Problems[0].rfind("damaged: its ", 0), 0u) << report[0].Problems[0];
    EXPECT_NE(report[0].Problems[0].find("common events could not be read"), std::string::npos);
    EXPECT_THROW(ResaveProjectFolder(folder), EDamagedDataBase);
    EXPECT_EQ(ReadWholeFile(folder + kdb), cut);
    EXPECT_FALSE(FileExists(folder + kdb + ".damaged"));
    ResaveProjectFolder(folder, true);
    EXPECT_EQ(ReadWholeFile(folder + kdb + ".damaged"), cut);
    EXPECT_TRUE(CheckProjectFolder(folder)[0].Problems.empty());
}
