#include "data/LD_Map.h"

#include "data/EditorMode.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"

#include "data/RecordTestKit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

using namespace quillon;

namespace {

std::string VarInt(std::int32_t value) {
    TMemoryStream s;
    WriteVarInt(s, value);
    return s.Bytes();
}

std::string IntChunk(int field, std::int32_t value) {
    TMemoryStream s;
    WriteVarInt(s, field);
    WriteVarInt(s, value, true);
    return s.Bytes();
}

std::string Chunk(int field, const std::string& payload) {
    return VarInt(field) + VarInt(static_cast<std::int32_t>(payload.size())) + payload;
}

std::string Cells16(std::initializer_list<std::uint16_t> cells) {
    std::string out;
    for (const std::uint16_t c : cells)
        out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return out;
}

std::string SaveRecord(TKelMap& map) {
    TMemoryStream s;
    map.SaveToStream(s);
    return s.Bytes();
}

void LoadRecord(TKelMap& map, std::string_view bytes) {
    TByteViewStream s(bytes);
    map.LoadFromStream(s);
}

// The layers and the size a map reports agree, whatever a load did.
void ExpectConsistent(const TKelMap& map) {
    ASSERT_GE(map.Width(), 0);
    ASSERT_GE(map.Height(), 0);
    for (const TKelMapLayer* layer : {&map.LowerLayer, &map.UpperLayer}) {
        EXPECT_EQ(layer->Width(), map.Width());
        EXPECT_EQ(layer->Height(), map.Height());
        EXPECT_EQ(layer->ByteSize(), std::int64_t{map.Width()} * map.Height() * 2);
    }
}

// Something in every field, and events whose pages carry scripts and routes.
void FillMap(TKelMap& map) {
    map.ChipSetId = 3;
    map.SetWidth(23);
    map.SetHeight(17);
    map.SetScrollType(TKelMap::stBothLoop);
    map.PanoramaEnabled = map.PanoramaHorizontalPan = map.PanoramaVerticalAuto = 1;
    map.PanoramaName = "Sky\x82\xa0";
    map.PanoramaHorizontalSpeed = -8;
    map.PanoramaVerticalSpeed = 5;
    for (int row = 0; row < map.Height(); ++row)
        for (int column = 0; column < map.Width(); ++column) {
            map.LowerLayer.SetCell(column, row, static_cast<std::uint16_t>(MakeLowerTile((column * 7 + row) % 144)));
            map.UpperLayer.SetCell(column, row, static_cast<std::uint16_t>(MakeUpperTile((column + row * 3) % 144)));
        }
    for (int id : {1, 2, 7}) {
        TKelEventItem& event = map.Events.Obtain(id);
        event.Name = "EV000" + std::to_string(id);
        event.X = id * 2;
        event.Y = id + 1;
        TKelEventPageItem& page = event.Pages.Obtain(2);
        page.GraphicName = "Hero1";
        page.MoveType = 6;
        page.MoveRoute.Skippable = 1;
        TKelEventScriptLine& line = page.Script.Insert(0, std::make_unique<TKelEventScriptLine>());
        line.Code = 10110;
        line.Text = "Hello";
        line.SetParamCount(2);
        line.SetParam(1, -1);
    }
}

// Points TMPDIR at a fresh folder for the test and puts the old value back afterwards.
using TTempFolderTest = testkit::TWorkFolderTest;

}  // namespace

TEST(TileIds, RangesAndTheChipsetTableIndex) {
    EXPECT_EQ(TileKind(5143), TTileKind::Lower);
    EXPECT_EQ(TileKind(5144), TTileKind::Unknown);
    EXPECT_EQ(TileKind(19999), TTileKind::Upper);
    EXPECT_EQ(TileKind(20000), TTileKind::Nothing);
    const std::int32_t water = MakeWaterTile(1, 10, 34);
    EXPECT_EQ(water, 1534);
    EXPECT_EQ(WaterCornerMask(water), 10);
    EXPECT_EQ(UpperTileIndex(10500), 143);  // clamped when drawn
    // 3 water, 3 animated and 12 ground blocks come before the 144 plain tiles.
    EXPECT_EQ(LowerTableIndex(water), 1);
    EXPECT_EQ(LowerTableIndex(3050), 4);
    EXPECT_EQ(LowerTableIndex(4599), 17);
    EXPECT_EQ(LowerTableIndex(5000), 18);
    EXPECT_EQ(LowerTableIndex(5143), kLowerTableSize - 1);
    EXPECT_EQ(LowerTableIndex(3150), -1);
}

TEST(MapLayer, WrapAroundReadsResizeAndClippedWrites) {
    TKelMapLayer layer(kUpperFillValue);
    layer.SetCell(19, 0, 10001);
    layer.SetCell(20, 0, 10099);  // outside: ignored, no wrap on write
    EXPECT_EQ(layer.Cell(-1, 0), -1);
    layer.LoopHorizontal = true;
    EXPECT_EQ(layer.Cell(-1, 0), 10001);
    EXPECT_EQ(layer.Cell(39, 0), 10001);
    EXPECT_EQ(layer.Cell(0, 0), 10000);
    EXPECT_EQ(layer.Cell(19, -1), -1);  // rows do not loop
    layer.LoopVertical = true;
    layer.SetCell(12, 7, 10003);
    EXPECT_EQ(layer.Cell(INT32_MIN, INT32_MAX), 10003);  // no overflow at the extremes

    layer.Resize(25, 20);
    EXPECT_EQ(layer.Cell(19, 0), 10001);
    EXPECT_EQ(layer.Cell(12, 7), 10003);
    EXPECT_EQ(layer.Cell(24, 19), 10000);
    layer.SetWidth(13);
    EXPECT_EQ(layer.Height(), 20);
    EXPECT_EQ(layer.Cell(12, 7), 10003);
    EXPECT_EQ(layer.Cell(13, 0), 10000);  // wrapped back to column 0
    layer.Resize(-3, 2);
    EXPECT_EQ(layer.Width(), 0);
    EXPECT_EQ(layer.Cell(-1, -1), -1);
}

TEST(Map, FreshMapBytesSizeAndScrollType) {
    TKelMap map;
    // Fields 1, 2 and 3 are at their defaults and left out; the scroll type, both layers and the
    // event list are always written.
    std::string upper;
    for (int i = 0; i < 300; ++i)
        upper += Cells16({10000});
    EXPECT_EQ(SaveRecord(map), Chunk(11, std::string(1, '\0')) + Chunk(71, std::string(600, '\0')) +
                                   Chunk(72, upper) + Chunk(81, VarInt(0)) + VarInt(0));

    map.LowerLayer.SetCell(19, 14, 5005);
    map.SetWidth(25);
    map.SetHeight(20);
    EXPECT_EQ(map.LowerLayer.Cell(19, 14), 5005);
    EXPECT_EQ(map.LowerLayer.Cell(24, 19), 0);
    EXPECT_EQ(map.UpperLayer.Cell(24, 19), 10000);
    ExpectConsistent(map);

    for (const std::uint8_t type : {0, 1, 2, 3, 4}) {
        map.SetScrollType(type);
        EXPECT_EQ(map.UpperLayer.LoopHorizontal, type == 2 || type == 3) << int(type);
        EXPECT_EQ(map.LowerLayer.LoopVertical, type == 1 || type == 3) << int(type);
    }
    map.ScrollType = TKelMap::stHorizontalLoop;  // read back, the stored type sets the flags
    TKelMap loaded;
    LoadRecord(loaded, SaveRecord(map));
    EXPECT_TRUE(loaded.LowerLayer.LoopHorizontal);

    map.ID = 4;
    map.Events.Obtain(1);
    map.MakeEmpty();
    EXPECT_EQ(map.ID, 0);
    EXPECT_EQ(map.ChipSetId, 0);
    EXPECT_EQ(map.Events.Count(), 0);
    EXPECT_EQ(map.Width(), 0);
    LoadRecord(loaded, SaveRecord(map));
    EXPECT_EQ(loaded.Height(), 0);
    ExpectConsistent(loaded);
}

TEST(Map, ShiftMovesTilesAndEventsWithWrapAround) {
    TKelMap map;
    map.LowerLayer.SetCell(18, 2, 5018);
    map.UpperLayer.SetCell(1, 14, 10001);
    TKelEventItem& event = map.Events.Obtain(1);
    event.X = 18;
    event.Y = 2;
    TKelEventItem& corner = map.Events.Obtain(2);

    map.Shift(3, -1);
    EXPECT_EQ(event.X, 1);
    EXPECT_EQ(event.Y, 1);
    EXPECT_EQ(corner.X, 3);
    EXPECT_EQ(corner.Y, 14);
    EXPECT_EQ(map.LowerLayer.Cell(1, 1), 5018);
    EXPECT_EQ(map.UpperLayer.Cell(4, 13), 10001);
    EXPECT_EQ(map.UpperLayer.Cell(1, 14), 10000);
    EXPECT_FALSE(map.LowerLayer.LoopHorizontal);  // only the copies loop

    map.Shift(-23, 31);  // whole turns more than (-3, 1): back where it was
    EXPECT_EQ(map.LowerLayer.Cell(18, 2), 5018);
    EXPECT_EQ(event.X, 18);
    EXPECT_EQ(event.Y, 2);

    map.MakeEmpty();
    map.Shift(5, 5);  // nothing to move, no division by a zero size
    ExpectConsistent(map);
}

TEST(Map, LayerChunkOfWrongLengthKeepsTheFillValue) {
    // 2 x 2: the lower layer complete, the upper one a byte short; the chunk after it still reads.
    TKelMap map;
    LoadRecord(map, IntChunk(2, 2) + IntChunk(3, 2) + Chunk(71, Cells16({5001, 5002, 5003, 5004})) +
                        Chunk(72, Cells16({10001, 10002, 10003}).substr(0, 5)) + IntChunk(91, 9) + VarInt(0));
    EXPECT_EQ(map.LowerLayer.Cell(0, 1), 5003);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(map.UpperLayer.Cell(i % 2, i / 2), 10000);
    EXPECT_EQ(map.SaveCount, 9);
    ExpectConsistent(map);

    // No layer chunks, or a size changed after them: the layers follow the size.
    LoadRecord(map, IntChunk(2, 3) + IntChunk(3, 1) + VarInt(0));
    EXPECT_EQ(map.UpperLayer.Cell(2, 0), 10000);
    ExpectConsistent(map);
    LoadRecord(map, IntChunk(2, 2) + IntChunk(3, 1) + Chunk(71, Cells16({5007, 5008})) + IntChunk(2, 3) + VarInt(0));
    EXPECT_EQ(map.LowerLayer.Cell(1, 0), 5008);
    EXPECT_EQ(map.LowerLayer.Cell(2, 0), 0);
    ExpectConsistent(map);
}

TEST(Map, HostileSizesAreRefusedBeforeAllocating) {
    const std::string layer = Chunk(71, Cells16({5001, 5002}));
    const std::string hostile[] = {
        IntChunk(2, -5) + layer + VarInt(0),
        IntChunk(3, -1) + layer + VarInt(0),
        IntChunk(2, 40000) + IntChunk(3, 40000) + layer + VarInt(0),  // 3.2 GB for one layer
        IntChunk(2, 1000) + IntChunk(3, 1000) + layer + VarInt(0),    // more than the file holds
        IntChunk(2, INT32_MAX) + IntChunk(3, INT32_MAX) + VarInt(0),  // without layer chunks
        IntChunk(2, 100) + IntChunk(3, 1) + Chunk(71, Cells16({1})) + IntChunk(2, -7) + VarInt(0),
    };
    for (const std::string& record : hostile) {
        TKelMap map;
        EXPECT_THROW(LoadRecord(map, record), EReadError);
        ExpectConsistent(map);
        TKelMap again;  // what is left saves and loads back
        LoadRecord(again, SaveRecord(map));
        ExpectConsistent(again);
    }
    TKelMap map;  // a layer that exactly fits the bytes present is accepted
    LoadRecord(map, IntChunk(2, 2) + IntChunk(3, 1) + layer + VarInt(0));
    EXPECT_EQ(map.LowerLayer.Cell(1, 0), 5002);
}

TEST(Map, RoundTripAndAssignWithEvents) {
    TKelMap map;
    FillMap(map);
    const std::string first = SaveRecord(map);
    TKelMap loaded;
    LoadRecord(loaded, first);
    EXPECT_EQ(SaveRecord(loaded), first);
    EXPECT_EQ(loaded.UpperLayer.Cell(22, 16), MakeUpperTile((22 + 16 * 3) % 144));
    EXPECT_EQ(loaded.Events.FindByID(7)->Pages.FindByID(2)->Script.Lines(0)->Param(1), -1);
    EXPECT_TRUE(loaded.LowerLayer.LoopVertical);
    TKelMap copy;
    copy.Assign(map);
    EXPECT_EQ(SaveRecord(copy), first);
    EXPECT_TRUE(copy.UpperLayer.LoopHorizontal);
}

TEST(Map, ChipSetIdValidation) {
    TKelMap map;
    map.ChipSetId = 0;
    map.ValidateChipSetId();  // without a list only IDs below 1 are absent
    EXPECT_EQ(map.ChipSetId, 1);
    TKelEvent chipSets;  // any list stands for the chipsets here
    chipSets.Obtain(1);
    chipSets.Obtain(5);
    map.SetChipSetList(&chipSets);
    map.ChipSetId = 5;
    map.ReloadChipSetGraphic();
    EXPECT_EQ(map.ChipSetId, 5);
    map.ChipSetId = 3;
    map.ReloadChipSetGraphic();
    EXPECT_EQ(map.ChipSetId, 1);
}

TEST_F(TTempFolderTest, FilesPathOperationsAndLoadErrors) {
    EXPECT_EQ(IncludeTrailingDelimiter(""), "/");
    EXPECT_EQ(MapWorkFolder(), mWork);
    TKelMap map;
    FillMap(map);
    map.Modified = true;
    map.SaveToWork(12);
    EXPECT_EQ(map.ID, 12);
    EXPECT_FALSE(map.Modified);
    const std::string workFile = MapWorkFolder() + "Map0012.kmu";
    const std::string saved = ReadWholeFile(workFile);
    EXPECT_EQ(saved.substr(0, 11), "\x0AKelMapUnit");

    // Save, load, save again: only the save counter, the last field, differs.
    TKelMap loaded;
    loaded.LoadFromWork(12);
    loaded.SaveToProject(mProject, 3);
    EXPECT_EQ(loaded.ID, 3);
    const std::string again = ReadWholeFile(mProject + "Map0003.kmu");
    EXPECT_EQ(saved.substr(saved.size() - 4), std::string("\x5B\x01\x01\x00", 4));
    EXPECT_EQ(again.substr(again.size() - 4), std::string("\x5B\x01\x02\x00", 4));
    EXPECT_EQ(again.substr(0, again.size() - 2), saved.substr(0, saved.size() - 2));
    loaded.DeleteFromProject(mProject, 3);
    map.DeleteFromWork(12);
    EXPECT_FALSE(FileExists(mProject + "Map0003.kmu"));
    EXPECT_FALSE(FileExists(workFile));
    EXPECT_NO_THROW(map.DeleteFromWork(12));

    // Before the editor runs, errors are raised; a foreign signature leaves the map reset.
    EXPECT_THROW(loaded.LoadFromProject(mProject, 9), EFileError);
    WriteFileAtomic(mProject + "Map0004.kmu", std::string("\x0AKelMapTree\x00", 12));
    try {
        loaded.LoadFromProject(mProject, 4);
        ADD_FAILURE() << "no error";
    } catch (const EReadError& error) {
        EXPECT_STREQ(error.what(), "A reading error from the stream");
    }
    EXPECT_EQ(loaded.Events.Count(), 0);

    // In the editor a missing file is a reset map and a damaged one keeps what was read: here
    // the chipset and panorama, but not a size that the bytes present cannot hold.
    TEditorModeScope editor(true);
    EXPECT_NO_THROW(loaded.LoadFromProject(mProject, 9));
    WriteFileAtomic(mProject + "Map0005.kmu", saved.substr(0, 40));
    EXPECT_NO_THROW(loaded.LoadFromProject(mProject, 5));
    EXPECT_EQ(loaded.ChipSetId, 3);
    EXPECT_EQ(loaded.PanoramaName, "Sky\x82\xa0");
    EXPECT_EQ(loaded.Width(), 20);
    ExpectConsistent(loaded);
}

// A working folder planted by someone else (a link to a victim folder, a file, a folder of
// another user) is refused before anything in it is read, written or deleted.
TEST_F(TTempFolderTest, PlantedWorkingFolderIsRefusedAndTheVictimKept) {
    namespace fs = std::filesystem;
    const std::string victim = mRoot + "/victim/";
    fs::create_directories(victim);
    WriteFileAtomic(victim + "Map0001.kmu", "precious");
    const std::string work = mWork.substr(0, mWork.size() - 1);
    fs::create_directory_symlink(victim, work);

    TKelMap map;
    EXPECT_THROW(map.SaveToWork(1), EFileError);
    EXPECT_THROW(map.DeleteFromWork(1), EFileError);
    EXPECT_THROW(map.LoadFromWork(1), EFileError);
    EXPECT_EQ(ReadWholeFile(victim + "Map0001.kmu"), "precious");
    EXPECT_TRUE(fs::is_symlink(work));

    fs::remove(work);
    WriteFileAtomic(work, "a file");
    EXPECT_THROW(MapWorkFolder(), EFileError);
    fs::remove(work);

    // A folder of ours that others may enter is closed to them; a fresh one is made private.
    fs::create_directory(work);
    fs::permissions(work, fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all);
    EXPECT_EQ(MapWorkFolder(), mWork);
    EXPECT_EQ(fs::status(work).permissions(), fs::perms::owner_all);
    fs::remove(work);
    map.SaveToWork(2);
    EXPECT_EQ(fs::status(work).permissions(), fs::perms::owner_all);
    EXPECT_TRUE(FileExists(mWork + "Map0002.kmu"));
}

TEST(Map, EveryCutAndEveryDamagedByteLoadsSafely) {
    TKelMap map;
    FillMap(map);
    map.SetWidth(6);
    map.SetHeight(5);
    TMemoryStream file;
    WriteString(file, TKelMap::kSignature);
    map.SaveToStream(file);
    const std::string bytes = file.Bytes();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        TByteViewStream stream(std::string_view(bytes).substr(0, length));
        TKelMap cut;
        EXPECT_THROW(ReadSignature(stream, TKelMap::kSignature); cut.LoadFromStream(stream), EReadError);
        ExpectConsistent(cut);
        SaveRecord(cut);  // never reads past what it holds
    }
    for (std::size_t at = 11; at < bytes.size(); ++at)
        for (const char value : {'\x00', '\x7F', '\xFF'}) {
            std::string damaged = bytes;
            damaged[at] = value;
            TKelMap loaded;
            try {
                LoadRecord(loaded, std::string_view(damaged).substr(11));
            } catch (const EReadError&) {
            }
            ExpectConsistent(loaded);
        }
}

// A damaged map keeps what was read whole before the damage, and its report says which file
// part could not be read, in the words the editor and quillon-cli show.
TEST(Map, DamageReportTellsWhatWasKept) {
    TKelMap map;
    FillMap(map);
    map.SetWidth(4);
    map.SetHeight(3);
    for (int id = 8; id <= 20; ++id)
        map.Events.Obtain(id).Name = "EV" + std::to_string(id);  // 16 events in all
    TMemoryStream file;
    WriteString(file, TKelMap::kSignature);
    map.SaveToStream(file);
    const std::string bytes = file.Bytes();
    const std::string events = SaveRecord(map);

    // The file cut in the middle of its 13th event (the 12 before it are whole).
    TKelMap probe;
    probe.Events.Assign(map.Events);
    while (probe.Events.Count() > 12)
        probe.Events.Delete(probe.Events.Items(probe.Events.Count() - 1)->ID);
    TMemoryStream twelve;
    probe.Events.SaveToStream(twelve);
    const std::size_t eventsAt = bytes.find(twelve.Bytes().substr(1, 8));
    ASSERT_NE(eventsAt, std::string::npos);
    const std::size_t cut = eventsAt + twelve.Bytes().size() + 3;

    struct TCase {
        const char* Name;
        std::string Bytes;
        std::string Text;  // empty: not damaged
        int EventsKept;
    };
    const std::string upperShort =
        bytes.substr(0, bytes.find(VarInt(72) + VarInt(static_cast<std::int32_t>(map.UpperLayer.ByteSize()))));
    const TCase cases[] = {
        {"whole", bytes, "", 16},
        {"empty file", "", "Map0003.kmu is damaged: nothing in it could be read", 0},
        {"another signature", std::string("\x0AKelMapTree\x00", 12), "Map0003.kmu is damaged: nothing in it could be read", 0},
        {"cut in the events", bytes.substr(0, cut), "Map0003.kmu is damaged: its events after the 12th could not be read", 12},
        {"cut before the upper layer", upperShort,
         "Map0003.kmu is damaged: its upper layer and its events could not be read", 0},
        {"impossible size", "\x0AKelMapUnit" + IntChunk(2, 5000) + IntChunk(3, 5000) + Chunk(71, Cells16({1})) + VarInt(0),
         "Map0003.kmu is damaged: its size of 5000 x 5000 is impossible, so its lower layer, its upper layer and "
         "its events could not be read",
         0},
        {"a layer of the wrong length", "\x0AKelMapUnit" + IntChunk(2, 2) + IntChunk(3, 1) + Chunk(71, Cells16({5001})) +
                                            Chunk(72, Cells16({10001, 10002})) + Chunk(81, VarInt(0)) + VarInt(0),
         "Map0003.kmu is damaged: its lower layer could not be read", 0},
        {"cut after the events", bytes.substr(0, bytes.size() - 1), "Map0003.kmu is damaged: its end could not be read", 16},
    };
    ASSERT_EQ(events.size() + 11, bytes.size());
    TEditorModeScope editor(true);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = ::testing::TempDir() + "Map0003.kmu";
        WriteFileAtomic(path, c.Bytes);
        TKelMap loaded;
        loaded.LoadFromFile(path);
        const TMapLoadReport& report = loaded.LoadReport();
        EXPECT_EQ(report.Damaged, !c.Text.empty());
        if (report.Damaged) {
            EXPECT_EQ(DescribeMapDamage("Map0003.kmu", report).Text(), c.Text);
        }
        EXPECT_EQ(loaded.Events.Count(), c.EventsKept);
        ExpectConsistent(loaded);
        std::filesystem::remove(path);
    }
    // The same report comes out before the editor runs, where the load raises.
    TEditorModeScope strict(false);
    const std::string path = ::testing::TempDir() + "Map0003.kmu";
    WriteFileAtomic(path, bytes.substr(0, cut));
    TKelMap loaded;
    EXPECT_THROW(loaded.LoadFromFile(path), EReadError);
    EXPECT_EQ(loaded.LoadReport().EventsKept, 12);
    std::filesystem::remove(path);

    EXPECT_EQ(Ordinal(1) + Ordinal(2) + Ordinal(3) + Ordinal(11) + Ordinal(12) + Ordinal(22) + Ordinal(113),
              "1st2nd3rd11th12th22nd113th");
}
