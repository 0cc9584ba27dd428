#include "data/EditorMode.h"
#include "data/LD_Animation.h"
#include "data/LD_DataBase.h"
#include "platform/Clipboard.h"
#include "platform/FileUtils.h"

#include "data/RecordTestKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

using namespace quillon;

namespace {

using testkit::Hex;
using testkit::Save;

template <class T>
void Load(T& object, const std::string& bytes) {
    testkit::LoadWhole(object, bytes);
}

// An animation with something in every kind of field.
void Fill(TKelAnimationItem& anim, const std::string& name) {
    anim.Name = name;
    anim.FileName = "Slash";
    anim.Scope = TKelAnimationItem::asAll;
    anim.YLine = TKelAnimationItem::ylCenter;
    anim.SetFrameCount(4);
    TKelAnimationCellItem& cell = anim.Frames.Obtain(2).Cells.Obtain(1);
    cell.Visible = 0;
    cell.Pattern = 24;
    cell.X = -40;
    cell.Y = 300;
    cell.Magnification = 800;
    cell.Red = cell.Transparency = 0;
    cell.Green = cell.Blue = cell.Chroma = 20;
    anim.Frames.Obtain(2).Cells.Obtain(2).X = 8;
    TKelAnimationTimingItem& cue = anim.Timing.Obtain(1);
    cue.Frame = 3;
    cue.Sound.Name = "Hit";
    cue.Sound.Volume = 70;
    cue.FlashRange = TKelAnimationTimingItem::frScreen;
    cue.FlashRed = cue.FlashGreen = cue.FlashBlue = cue.FlashPower = 5;
    cue.SortKey = 2;
    anim.Timing.Obtain(2).Frame = 4;
    anim.Dirty = true;
}

std::string NameOf(const TKelAnimation& list, int id) {
    const TKelAnimationItem* item = list.FindByID(id);
    return item ? item->Name : std::string("<none>");
}

}  // namespace

TEST(Animation, FreshBytesAndTheRetainedImage) {
    TKelAnimationItem anim;
    EXPECT_TRUE(anim.Dirty);
    // Empty cue list, scope 0, "Feet", then 20 frames each holding an empty cell list.
    std::string expected = "06 01 00 09 01 00 0A 01 02 0C 65 14";
    for (int id = 1; id <= 20; ++id)
        expected += " " + Hex(std::string(1, static_cast<char>(id))) + " 01 01 00 00";
    EXPECT_EQ(Hex(Save(anim)), expected + " 00");
    EXPECT_FALSE(anim.Dirty);

    Fill(anim, "Flame");
    const std::string first = Save(anim);
    EXPECT_EQ(Save(anim), first);
    EXPECT_EQ(anim.Image().Bytes(), first);
    // A change nobody reported is not seen: a clean record's fields are not visited.
    anim.Name = "Changed quietly";
    EXPECT_EQ(Save(anim), first);
    // Once marked, the next save serializes it afresh.
    anim.Dirty = true;
    const std::string second = Save(anim);
    EXPECT_NE(second.find("Changed quietly"), std::string::npos);
    EXPECT_EQ(anim.Image().Bytes(), second);

    // A load leaves the record clean with the bytes it read as its image; serialized again
    // from its fields it gives the same bytes.
    TKelAnimationItem copy;
    Load(copy, second);
    EXPECT_FALSE(copy.Dirty);
    EXPECT_EQ(copy.Image().Bytes(), second);
    copy.Dirty = true;
    EXPECT_EQ(Hex(Save(copy)), Hex(second));
    EXPECT_EQ(copy.FrameCount(), 4);
    EXPECT_EQ(copy.Frames.FindByID(2)->Cells.FindByID(1)->X, -40);
    EXPECT_EQ(copy.Timing.FindByID(1)->Sound.Volume, 70);

    // A fresh cue writes its sound and its flash range only.
    TKelAnimationTimingItem cue;
    EXPECT_EQ(Hex(Save(cue)), "02 08 01 05 28 4F 46 46 29 00 03 01 00 00");
}

// The frames a record ends with after a load: those it names, else the 20 of a fresh record,
// also when the load stops early at damaged bytes.
TEST(Animation, LoadedFramesAreTheNamedOnesOrTheInitialTwenty) {
    TKelAnimationItem anim;
    anim.SetFrameCount(3);
    Load(anim, testkit::Bytes({0x01, 0x04, 0x4E, 0x61, 0x6D, 0x65, 0x00}));  // only a name
    EXPECT_EQ(anim.Name, "Name");
    EXPECT_EQ(anim.FrameCount(), TKelAnimationItem::kInitialFrames);

    Load(anim, testkit::Bytes({0x0C, 0x03, 0x01, 0x01, 0x00, 0x00}));  // one frame, ID 1
    EXPECT_EQ(anim.FrameCount(), 1);
    Load(anim, testkit::Bytes({0x0C, 0x01, 0x00, 0x00}));  // an empty frame list stays empty
    EXPECT_EQ(anim.FrameCount(), 0);

    // Cut inside the name: what the reset left is kept, frames included.
    const std::string cutBytes = testkit::Bytes({0x01, 0x04, 0x4E, 0x61});
    TByteViewStream cut(cutBytes);
    EXPECT_THROW(anim.LoadFromStream(cut), EReadError);
    EXPECT_EQ(anim.FrameCount(), TKelAnimationItem::kInitialFrames);
    // Damaged frame list: the list is cleared and the error passes on.
    const std::string damagedBytes = testkit::Bytes({0x0C, 0x02, 0x05, 0x01, 0x00});
    TByteViewStream damaged(damagedBytes);
    EXPECT_THROW(anim.LoadFromStream(damaged), EReadError);
    EXPECT_EQ(anim.FrameCount(), 0);
    // A load after a failed one starts over from a complete reset.
    Load(anim, testkit::Bytes({0x00}));
    EXPECT_EQ(anim.FrameCount(), TKelAnimationItem::kInitialFrames);

    // The same through the database list, whose new elements are made for the load: ID 1 names
    // no frames, ID 3 names one.
    TKelAnimation list;
    Load(list, testkit::Bytes({0x02, 0x01, 0x00, 0x03, 0x0C, 0x03, 0x01, 0x01, 0x00, 0x00}));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.FindByID(1)->FrameCount(), TKelAnimationItem::kInitialFrames);
    EXPECT_EQ(list.FindByID(3)->FrameCount(), 1);
    EXPECT_EQ(list.Obtain(2).FrameCount(), TKelAnimationItem::kInitialFrames);  // a new element

    // And through a paste into a plain list, whose new elements are also made for the load.
    TMemoryClipboard clipboard;
    IClipboard* previous = SetClipboard(&clipboard);
    clipboard.SetData(TKelAnimationItem::kClipboardFormat,
                      MakeClipboardBlock(2, testkit::Bytes({0x00, 0x0C, 0x03, 0x01, 0x01, 0x00, 0x00})));
    TCatalogOf<TKelAnimationItem> plain;
    EXPECT_EQ(plain.PasteFromClipboard(TKelAnimationItem::kClipboardFormat, 0), 2);
    EXPECT_EQ(plain.FindByID(1)->FrameCount(), TKelAnimationItem::kInitialFrames);
    EXPECT_EQ(plain.FindByID(2)->FrameCount(), 1);
    SetClipboard(previous);
}

TEST(Animation, ListReloadSkipsUnchangedAnimationsAndParsesChangedOnes) {
    TKelAnimation source;
    for (int id = 1; id <= 3; ++id)
        Fill(source.Obtain(id), "Anim" + std::to_string(id));
    const std::string file = Save(source);
    TKelAnimation list;
    Load(list, file);

    // Mark every element in memory without reporting it; a reload of the same bytes does not
    // parse them, so the marks stay, and a save gives the file back unchanged.
    for (int id = 1; id <= 3; ++id)
        list.FindByID(id)->Name = "unparsed";
    Load(list, file);
    EXPECT_EQ(NameOf(list, 2), "unparsed");
    EXPECT_EQ(Save(list), file);

    // Only animation 2 changed in the file: that one is parsed, the others are skipped.
    source.FindByID(2)->Name = "New2";
    source.FindByID(2)->Dirty = true;
    const std::string changed = Save(source);
    Load(list, changed);
    EXPECT_EQ(NameOf(list, 1) + NameOf(list, 2) + NameOf(list, 3), "unparsedNew2unparsed");
    EXPECT_EQ(Save(list), changed);

    // Fewer animations: the list shrinks from the end. More: the new ones are parsed.
    source.Delete(3);
    Load(list, Save(source));
    EXPECT_EQ(list.Count(), 2);
    Fill(source.Obtain(3), "Third");
    Fill(source.Obtain(4), "Fourth");
    Load(list, Save(source));
    EXPECT_EQ(NameOf(list, 4), "Fourth");
    EXPECT_EQ(Save(list), Save(source));
}

TEST(Animation, DatabaseReloadOfAnUnchangedFileSkipsTheAnimations) {
    const auto folder = std::filesystem::temp_directory_path() / ("quillon-anim-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "GMK_RT.kdb").string();

    auto db = std::make_unique<TKelDataBase>();
    Fill(db->Animation.Obtain(1), "Saved");
    db->SaveToFile(path);
    db->Animation.FindByID(1)->Name = "in memory";
    db->LoadFromFile(path);  // same size and stamp: no reset, and the animation is not parsed
    EXPECT_EQ(NameOf(db->Animation, 1), "in memory");

    auto fresh = std::make_unique<TKelDataBase>();
    fresh->LoadFromFile(path);
    EXPECT_EQ(NameOf(fresh->Animation, 1), "Saved");
    std::filesystem::remove_all(folder);
}

TEST(Animation, CopyAndPasteAlwaysSerializeAndParseAfresh) {
    TMemoryClipboard clipboard;
    IClipboard* previous = SetClipboard(&clipboard);
    TKelAnimation list;
    Fill(list.Obtain(1), "Original");
    Save(list);                         // clean now
    list.FindByID(1)->Name = "Edited";  // change not reported
    list.CopyToClipboard(TKelAnimationItem::kClipboardFormat, 0, 1);
    EXPECT_TRUE(list.FindByID(1)->Dirty);

    TKelAnimation target;
    target.Obtain(1);
    Save(target);  // clean, with an image unlike the payload
    EXPECT_EQ(target.PasteFromClipboard(TKelAnimationItem::kClipboardFormat, 0), 1);
    EXPECT_EQ(NameOf(target, 1), "Edited");
    EXPECT_TRUE(target.FindByID(1)->Dirty);
    EXPECT_EQ(target.FindByID(1)->FrameCount(), 4);
    SetClipboard(previous);
}

TEST(Animation, SetFrameCount) {
    TKelAnimationItem anim;
    anim.Frames.Obtain(3).Cells.Obtain(1).X = 5;
    Save(anim);
    anim.SetFrameCount(25);
    EXPECT_TRUE(anim.Dirty);
    EXPECT_EQ(anim.FrameCount(), 25);
    EXPECT_EQ(anim.Frames.Items(24)->ID, 25);
    anim.SetFrameCount(3);
    EXPECT_EQ(anim.FrameCount(), 3);
    EXPECT_EQ(anim.Frames.Items(2)->Cells.FindByID(1)->X, 5);

    // Frames with gaps (a damaged file) become exactly 1..n, keeping what they held.
    anim.Frames.Delete(2);
    anim.Frames.Obtain(9);
    anim.SetFrameCount(4);
    ASSERT_EQ(anim.FrameCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(anim.Frames.Items(i)->ID, i + 1);
    EXPECT_EQ(anim.Frames.FindByID(3)->Cells.Count(), 1);
    anim.SetFrameCount(-5);
    EXPECT_EQ(anim.FrameCount(), 0);
}

TEST(Animation, TimingOrder) {
    TKelAnimationTiming timing;
    auto add = [&](int frame, const std::string& sound, int key) {
        TKelAnimationTimingItem& cue = timing.Append();
        cue.Frame = frame;
        cue.Sound.Name = sound;
        cue.SortKey = key;
    };
    auto order = [&] {
        timing.SortByTiming();
        std::string text;
        for (int i = 0; i < timing.Count(); ++i) {
            EXPECT_EQ(timing.Items(i)->ID, i + 1);
            text += std::to_string(timing.Items(i)->Frame) + ":" + timing.Items(i)->Sound.Name + ":" +
                    std::to_string(timing.Items(i)->SortKey) + " ";
        }
        return text;
    };
    add(3, "(OFF)", 0);
    add(1, "Hit", 0);
    add(3, "Bell", 0);
    EXPECT_EQ(order(), "1:Hit:0 3:Bell:0 3:(OFF):0 ");

    // Unsigned bytes (a double-byte character after ASCII), a prefix first, then the sort key.
    timing.Clear();
    add(1, "(OFF)", 0);
    add(1, "\x83\x41", 0);
    add(1, "b", 1);
    add(1, "ba", 0);
    add(1, "b", 0);
    add(1, "(OFF", 0);
    EXPECT_EQ(order(), "1:(OFF:0 1:b:0 1:b:1 1:ba:0 1:\x83\x41:0 1:(OFF):0 ");
}

TEST(Animation, DamagedListsAreRefused) {
    TKelAnimation source;
    Fill(source.Obtain(1), "A");
    Fill(source.Obtain(2), "B");
    const std::string file = Save(source);

    // Cut anywhere: a read error and an empty list, whether the list held clean copies of the
    // same animations or nothing.
    for (std::size_t cut = 0; cut < file.size(); ++cut) {
        TKelAnimation warm, cold;
        Load(warm, file);
        TByteViewStream in(std::string_view(file).substr(0, cut));
        EXPECT_THROW(warm.LoadFromStream(in), EReadError) << cut;
        EXPECT_EQ(warm.Count(), 0) << cut;
        in.SetPosition(0);
        EXPECT_THROW(cold.LoadFromStream(in), EReadError) << cut;
        EXPECT_EQ(cold.Count(), 0) << cut;
    }
    // Huge counts of animations and of frames are refused before anything is made.
    TKelAnimation list;
    const std::string hugeCount("\x87\xFF\xFF\xFF\x7F\x01\x00", 7);
    TByteViewStream huge(hugeCount);
    EXPECT_THROW(list.LoadFromStream(huge), EReadError);
    TKelAnimationItem anim;
    const std::string hugeFrames("\x0C\x05\x87\xFF\xFF\xFF\x7F\x00", 8);
    TByteViewStream frames(hugeFrames);
    EXPECT_THROW(anim.LoadFromStream(frames), EReadError);
}

TEST(Animation, ListLoadWithGapsOrRepeatedIdsAndLookUps) {
    // The list in memory has gaps: the load still ends with exactly what the file holds.
    TKelAnimation list;
    list.Obtain(1).Name = "one";
    list.Obtain(5).Name = "five";
    list.Obtain(9).Name = "nine";
    Save(list);
    TKelAnimation gapped;
    gapped.Obtain(2).Name = "two";
    gapped.Obtain(7).Name = "seven";
    Load(list, Save(gapped));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(NameOf(list, 2) + NameOf(list, 7), "twoseven");

    // A repeated ID loads twice into the same element; the second wins, and the element the
    // file no longer names (7) goes although the count matches the list's.
    TKelAnimationItem first, second;
    first.Name = "first";
    second.Name = "second";
    Load(list, std::string("\x02\x02", 2) + Save(first) + "\x02" + Save(second));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(NameOf(list, 2), "second");
    EXPECT_EQ(list.FindByID(2)->Image().Bytes(), Save(second));

    {
        TEditorModeScope mode(false);
        try {
            list.ItemById(3);
            FAIL() << "no error";
        } catch (const ELookupError& e) {
            EXPECT_STREQ(e.what(), "An invalid battle animate cartoon was specified");
        }
    }
    TEditorModeScope mode(true);
    EXPECT_EQ(list.ItemAt(1), nullptr);
}

// A list chunk is read from its own bytes: one that claims more entries than it holds is
// damaged and never completed from the bytes after it (which then saved as a chunk that did
// not load again, and a copied animation that could not be pasted back).
TEST(Animation, AListChunkNeverBorrowsTheBytesAfterIt) {
    // Timing (field 6) claims 6 entries in a chunk of 6 bytes that holds one; the bytes after
    // the record would complete the other five.
    const std::string record("\x06\x06\x06\x06\x46\x01\x00\x00\x00", 9);
    const std::string after("\x00\x07\x00\x08\x00\x09\x00\x0A\x00", 9);
    TKelAnimationItem cut;
    const std::string cutBytes = record + after;
    TByteViewStream stream(cutBytes);
    EXPECT_THROW(cut.LoadFromStream(stream), EReadError);

    // A sound list chunk loads, whatever follows, and saves to bytes that load again.
    const std::string sound("\x06\x03\x01\x06\x00\x00", 6);
    TKelAnimationItem whole;
    const std::string soundBytes = sound + after;
    TByteViewStream soundStream(soundBytes);
    ASSERT_NO_THROW(whole.LoadFromStream(soundStream));
    EXPECT_EQ(whole.Timing.Count(), 1);
    EXPECT_EQ(soundStream.Position(), 6);
    TMemoryStream saved;
    whole.SaveToStream(saved);
    TKelAnimationItem again;
    const std::string savedBytes = saved.Bytes();
    TByteViewStream savedStream(savedBytes);
    EXPECT_NO_THROW(again.LoadFromStream(savedStream));
    EXPECT_EQ(again.Timing.Count(), 1);
}
