#include "data/EditorMode.h"
#include "data/LD_ChipSet.h"

#include "data/RecordTestKit.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillon;

namespace {

using Chip = TKelChipSetItem;

using testkit::Hex;
using testkit::Save;

template <class T>
void Load(T& object, const std::string& bytes) {
    testkit::LoadWhole(object, bytes);
}

}  // namespace

TEST(ChipSet, ArraysAreSavedOnlyWhenTheyDifferFromTheirResetContent) {
    Chip chip;
    EXPECT_EQ(Hex(Save(chip)), "00");

    // One lower flag changed: field 4 alone, 162 bytes (length 81 22).
    chip.SetLowerFlags(161, 0x2F);
    const std::string lower = Save(chip);
    ASSERT_EQ(lower.size(), 3u + 162u + 1u);
    EXPECT_EQ(Hex(lower.substr(0, 4)), "04 81 22 0F");
    EXPECT_EQ(Hex(lower.substr(3 + 161)), "2F 00");
    chip.SetLowerFlags(161, 0x0F);
    EXPECT_EQ(Hex(Save(chip)), "00");

    // A terrain ID changed: field 3 alone, 324 bytes of little-endian 16-bit IDs.
    chip.SetTerrainId(3, 0x1234);
    const std::string terrain = Save(chip);
    ASSERT_EQ(terrain.size(), 3u + 324u + 1u);
    EXPECT_EQ(Hex(terrain.substr(0, 13)), "03 82 44 01 00 01 00 01 00 34 12 01 00");
    chip.SetTerrainId(3, 1);

    // The empty upper chip is not looked at: no field 5, and it reads back as 0x1F.
    chip.SetUpperFlags(0, 0x0F);
    EXPECT_EQ(Hex(Save(chip)), "00");
    Chip back;
    Load(back, Save(chip));
    EXPECT_EQ(back.UpperFlags(0), 0x1F);
    // Once another upper chip differs, the whole array is written, entry 0 as held.
    chip.SetUpperFlags(143, Chip::cfCounter);
    const std::string upper = Save(chip);
    ASSERT_EQ(upper.size(), 3u + 144u + 1u);
    EXPECT_EQ(Hex(upper.substr(0, 4)), "05 81 10 0F");
    Load(back, upper);
    EXPECT_EQ(back.UpperFlags(0), 0x0F);
    EXPECT_EQ(back.UpperFlags(143), 0x40);
}

TEST(ChipSet, AccessorsIgnoreChipsOutsideTheirLayer) {
    Chip chip;
    EXPECT_EQ(chip.TerrainId(161), 1);
    EXPECT_EQ(chip.LowerFlags(0), 0x0F);
    EXPECT_EQ(chip.UpperFlags(143), 0x0F);
    for (const int index : {-1, 162, 1000}) {
        chip.SetTerrainId(index, 9);
        chip.SetLowerFlags(index, 0);
        EXPECT_EQ(chip.TerrainId(index), 0);
        EXPECT_EQ(chip.LowerFlags(index), 0);
    }
    for (const int index : {-1, 144, 161}) {
        chip.SetUpperFlags(index, 0);
        EXPECT_EQ(chip.UpperFlags(index), 0);
    }
    EXPECT_EQ(Hex(Save(chip)), "00");  // nothing landed anywhere

    // The last chip of each layer; a terrain ID keeps its low 16 bits.
    chip.SetTerrainId(161, 0x12345);
    chip.SetLowerFlags(161, 0x30);
    chip.SetUpperFlags(143, 0x41);
    EXPECT_EQ(chip.TerrainId(161), 0x2345);
    EXPECT_EQ(chip.TerrainId(160), 1);
    EXPECT_EQ(chip.LowerFlags(161), 0x30);
    EXPECT_EQ(chip.UpperFlags(143), 0x41);
}

TEST(ChipSet, DamagedChunksAndRecords) {
    // A field-4 chunk of 100 bytes is skipped; the next chunk (field 11 = 1) is still read.
    Chip chip;
    chip.SetLowerFlags(7, 0);  // a load starts from the reset content
    Load(chip, "\x04\x64" + std::string(100, '\0') + "\x0B\x01\x01" + std::string(1, '\0'));
    for (int i = 0; i < Chip::kLowerChips; ++i)
        EXPECT_EQ(chip.LowerFlags(i), 0x0F) << i;
    EXPECT_EQ(chip.SeaAnimation, 1);

    // Cut anywhere: a read error.
    chip.Name = "Cave";
    chip.SetTerrainId(0, 2);
    chip.SetUpperFlags(1, 0);
    const std::string bytes = Save(chip);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        Chip target;
        TByteViewStream in(std::string_view(bytes).substr(0, cut));
        EXPECT_THROW(target.LoadFromStream(in), EReadError) << cut;
    }
    // A chunk length beyond the bytes present is refused before anything is read.
    const std::string hugeChunk("\x03\x8F\xFF\xFF\xFF\x7F\x00", 7);
    TByteViewStream huge(hugeChunk);
    EXPECT_THROW(chip.LoadFromStream(huge), EReadError);
}

TEST(ChipSet, RoundTripAndLookUps) {
    TKelChipSet list;
    list.Obtain(1);
    Chip& chip = list.Obtain(2);
    chip.Name = "Field";
    chip.FileName = "World\x83\x5C";
    chip.SeaAnimation = Chip::saSequence123;
    chip.SeaSpeed = Chip::ssFast;
    for (int i = 0; i < Chip::kLowerChips; ++i) {
        chip.SetTerrainId(i, 300 + i);
        chip.SetLowerFlags(i, static_cast<std::uint8_t>(i));
    }
    for (int i = 0; i < Chip::kUpperChips; ++i)
        chip.SetUpperFlags(i, static_cast<std::uint8_t>(0x40 | (i & 0x1F)));

    const std::string first = Save(list);
    TKelChipSet copy;
    Load(copy, first);
    EXPECT_EQ(Hex(Save(copy)), Hex(first));
    EXPECT_EQ(copy.ItemById(2)->TerrainId(161), 461);
    EXPECT_EQ(copy.ItemById(2)->UpperFlags(0), 0x40);
    EXPECT_EQ(Hex(Save(*copy.ItemById(1))), "00");

    {
        TEditorModeScope mode(false);
        try {
            copy.ItemById(3);
            FAIL() << "no error";
        } catch (const ELookupError& e) {
            EXPECT_STREQ(e.what(), "An invalid chip set was specified");
        }
        EXPECT_THROW(copy.ItemAt(2), ELookupError);
    }
    TEditorModeScope mode(true);
    EXPECT_EQ(copy.ItemById(3), nullptr);
}
