#include "data/Catalog.h"
#include "data/EditorMode.h"
#include "platform/Clipboard.h"

#include "data/RecordTestKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

using namespace quillon;
using testkit::Hex;
using testkit::Load;
using testkit::Save;

namespace {


// A record with one field of every type, to exercise the engine.
class TSample : public TCatalogBaseItem {
public:
    std::int32_t Number = 0;       // field 1, default 0
    std::uint8_t Flag = 0;         // field 2, default 0
    std::string Label;             // field 3, skip empty
    std::string Always;            // field 4, written even when empty
    std::uint8_t Fixed[3] = {};    // field 5, fixed 3 bytes
    std::int32_t BlockSize = 0;    // field 6
    TDynamicBuffer Block;          // field 7
    double Ratio = 0.5;            // field 8, default 0.5
    std::int32_t Odd = 1;          // field 9, reset 1 but default 0
    bool DescribeAlways = false;   // when set, field 4 is described

    TSample() { Reset(); }
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetIntField(d, &Number, 0); break;
        case 2: SetByteField(d, &Flag, 0); break;
        case 3: SetStringField(d, &Label, true); break;
        case 4: if (DescribeAlways) SetStringField(d, &Always, false); break;
        case 5: SetBufferField(d, Fixed, 3); break;
        case 6: SetIntField(d, &BlockSize, 0); break;
        case 7: SetDynamicField(d, &Block, BlockSize); break;
        case 8:
            SetField(d, ftDouble, &Ratio, 8);
            d.DoubleDefault = 0.5;
            break;
        case 9: SetIntField(d, &Odd, 0); break;
        default: break;
        }
    }
    void Reset() override {
        Number = 0;
        Flag = 0;
        Label.clear();
        Always.clear();
        Fixed[0] = Fixed[1] = Fixed[2] = 0;
        BlockSize = 0;
        Block.clear();
        Ratio = 0.5;
        Odd = 1;
    }
};

// A record of plain fields only, all at their defaults after Reset.
class TPlain : public TCatalogBaseItem {
public:
    std::int32_t Value = 7;
    std::uint8_t Byte = 2;
    std::string Text;
    TPlain() { Reset(); }
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetIntField(d, &Value, 7); break;
        case 2: SetByteField(d, &Byte, 2); break;
        case 3: SetStringField(d, &Text, true); break;
        default: break;
        }
    }
    void Reset() override {
        Value = 7;
        Byte = 2;
        Text.clear();
    }
};

class TElement : public TCatalogItem {
public:
    std::int32_t Value = 0;
    TElement() { Reset(); }
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetStringField(d, &Name, true); break;
        case 2: SetIntField(d, &Value, 0); break;
        default: break;
        }
    }
    void Reset() override {
        Name.clear();
        Value = 0;
    }
};

using TElements = TCatalogOf<TElement>;

// A record holding a nested record and a list.
class TOuter : public TCatalogBaseItem {
public:
    TPlain Inner;
    TElements List;
    TOuter() { Reset(); }
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        switch (n) {
        case 1: SetRecordField(d, &Inner); break;
        case 2: SetListField(d, &List); break;
        default: break;
        }
    }
    void Reset() override {
        Inner.Reset();
        List.Clear();
    }
};


std::string Ids(const TCatalog& list) {
    std::string out;
    for (int i = 0; i < list.Count(); ++i)
        out += (i ? "," : "") + std::to_string(list.Items(i)->ID);
    return out;
}

void Fill(TElements& list, std::initializer_list<int> ids) {
    for (const int id : ids)
        list.Obtain(id).Value = id * 10;
}

class ClipboardScope {
public:
    ClipboardScope() { mPrevious = SetClipboard(&Board); }
    ~ClipboardScope() { SetClipboard(mPrevious); }
    TMemoryClipboard Board;

private:
    IClipboard* mPrevious;
};

}  // namespace

TEST(RecordEncoding, IntegerChunkIsLengthPrefixed) {
    TSample r;
    r.Number = 300;
    // field 1, length 2, 82 2C; field 5 (fixed, always); field 7 (dynamic, always);
    // field 9 (reset value 1, default 0); end.
    EXPECT_EQ(Hex(Save(r)), "01 02 82 2C 05 03 00 00 00 07 00 09 01 01 00");
}

TEST(RecordEncoding, DefaultsAreOmittedAndAllDefaultRecordIsOneZeroByte) {
    TPlain r;
    EXPECT_EQ(Hex(Save(r)), "00");
    r.Value = 0;
    r.Byte = 1;
    r.Text = "ab";
    EXPECT_EQ(Hex(Save(r)), "01 01 00 02 01 01 03 02 61 62 00");
}

TEST(RecordEncoding, EmptyStringWithoutSkipIsWritten) {
    TSample r;
    r.DescribeAlways = true;
    EXPECT_EQ(Hex(Save(r)), "04 00 05 03 00 00 00 07 00 09 01 01 00");
}

TEST(RecordEncoding, DefaultDiffersFromResetValue) {
    // Field 9 resets to 1 but is omitted only at 0: 1 is written, 0 is omitted and reads back as 1.
    TSample r;
    const std::string withOne = Save(r);
    EXPECT_NE(withOne.find("\x09\x01\x01", 0, 3), std::string::npos);
    r.Odd = 0;
    const std::string withZero = Save(r);
    EXPECT_EQ(withZero.find("\x09\x01", 0, 2), std::string::npos);
    TSample back;
    Load(back, withZero);
    EXPECT_EQ(back.Odd, 1);
}

TEST(RecordEncoding, RoundTripOfEveryType) {
    TSample r;
    r.Number = -5;
    r.Flag = 1;
    r.Label = "\x83\x65st";
    r.Fixed[0] = 9;
    r.Fixed[2] = 0xFF;
    r.BlockSize = 4;
    r.Block = {1, 2, 3, 4};
    r.Ratio = -2.25;
    r.Odd = 77;
    const std::string bytes = Save(r);
    TSample back;
    Load(back, bytes);
    EXPECT_EQ(back.Number, -5);
    EXPECT_EQ(back.Flag, 1);
    EXPECT_EQ(back.Label, r.Label);
    EXPECT_EQ(back.Fixed[0], 9);
    EXPECT_EQ(back.Fixed[2], 0xFF);
    EXPECT_EQ(back.Block, r.Block);
    EXPECT_EQ(back.Ratio, -2.25);
    EXPECT_EQ(back.Odd, 77);
    EXPECT_EQ(Save(back), bytes);
}

TEST(RecordEncoding, UnknownChunksAndWrongSizesAreSkippedWithoutLosingPlace) {
    // Unknown field 50 with a 3-byte payload, a byte field (2) with a 2-byte chunk, a fixed
    // field (5) of the wrong size, then field 1 = 5.
    const std::string bytes("\x32\x03\xAA\xBB\xCC" "\x02\x02\x01\x01" "\x05\x01\x07" "\x01\x01\x05" "\x00", 16);
    TSample r;
    r.Flag = 1;  // reset by the load
    Load(r, bytes);
    EXPECT_EQ(r.Flag, 0);
    EXPECT_EQ(r.Fixed[0], 0);
    EXPECT_EQ(r.Number, 5);
}

TEST(RecordEncoding, IntegerChunkLongerThanItsValueRepositions) {
    // Field 1 claims 3 bytes but its integer takes one; field 6 must still be found.
    const std::string bytes("\x01\x03\x05\xEE\xEE" "\x06\x01\x02" "\x00", 9);
    TSample r;
    Load(r, bytes);
    EXPECT_EQ(r.Number, 5);
    EXPECT_EQ(r.BlockSize, 2);
}

TEST(RecordEncoding, ChunkLongerThanTheStreamIsAReadError) {
    TSample r;
    const std::string bytes("\x07\xFF\xFF\xFF\xFF\x0F\x01\x02", 8);  // a 4 GiB dynamic buffer
    EXPECT_THROW(Load(r, bytes), EReadError);
    EXPECT_THROW(Load(r, std::string("\x01\x01", 2)), EReadError);  // ends inside the payload
}

TEST(RecordEncoding, NestedRecordAndListCarryTheirLength) {
    TOuter r;
    r.Inner.Value = 1;
    r.List.Obtain(2).Value = 3;
    // 01 len(01 01 01 00)=4 ..., 02 len(01 02 02 01 03 00)=6 ..., 00
    EXPECT_EQ(Hex(Save(r)), "01 04 01 01 01 00 02 06 01 02 02 01 03 00 00");
    TOuter back;
    Load(back, Save(r));
    EXPECT_EQ(back.Inner.Value, 1);
    ASSERT_EQ(back.List.Count(), 1);
    EXPECT_EQ(back.List.Items(0)->ID, 2);
    EXPECT_EQ(back.List.Items(0)->Value, 3);

    // Read in place from memory and read through a stream that keeps no bytes in memory (as a
    // file does), the same; a nested chunk never reads the bytes after it.
    class TPlainStream final : public TStream {
    public:
        explicit TPlainStream(std::string bytes) : mBytes(std::move(bytes)) {}
        std::size_t Read(void* buffer, std::size_t count) override {
            const std::size_t n = std::min(count, mBytes.size() - std::min(mBytes.size(), mAt));
            std::memcpy(buffer, mBytes.data() + mAt, n);
            mAt += n;
            return n;
        }
        void Write(const void*, std::size_t) override {}
        std::int64_t Position() const override { return static_cast<std::int64_t>(mAt); }
        void SetPosition(std::int64_t position) override { mAt = static_cast<std::size_t>(std::max<std::int64_t>(position, 0)); }
        std::int64_t Size() const override { return static_cast<std::int64_t>(mBytes.size()); }

    private:
        std::string mBytes;
        std::size_t mAt = 0;
    };
    // The list's chunk claims one byte less than its list takes: its closing byte is the outer
    // record's, which the list must not take.
    const std::string cut = testkit::Bytes({0x02, 0x05, 0x01, 0x02, 0x02, 0x01, 0x03, 0x00, 0x00});
    for (const bool inMemory : {true, false}) {
        SCOPED_TRACE(inMemory ? "in memory" : "plain stream");
        TOuter fromFile;
        TPlainStream plain(Save(r));
        TMemoryStream memory(Save(r));
        fromFile.LoadFromStream(inMemory ? static_cast<TStream&>(memory) : plain);
        EXPECT_EQ(Save(fromFile), Save(r));
        TOuter damaged;
        TPlainStream plainCut(cut);
        TMemoryStream memoryCut(cut);
        EXPECT_THROW(damaged.LoadFromStream(inMemory ? static_cast<TStream&>(memoryCut) : plainCut), EReadError);
    }
}

TEST(RecordEncoding, AssignCopiesThroughTheEncoding) {
    TSample a;
    a.Number = 12;
    a.Block = {7};
    a.BlockSize = 1;
    TSample b;
    b.Flag = 1;
    b.Assign(a);
    EXPECT_EQ(b.Number, 12);
    EXPECT_EQ(b.Flag, 0);
    EXPECT_EQ(b.Block, a.Block);
}

TEST(ListEncoding, CountThenIdAndRecordPerElement) {
    TElements list;
    Fill(list, {1, 2, 5});
    for (int i = 0; i < list.Count(); ++i)
        list.Items(i)->Value = 0;
    EXPECT_EQ(Hex(Save(list)), "03 01 00 02 00 05 00");
    TElements back;
    Load(back, Save(list));
    EXPECT_EQ(Ids(back), "1,2,5");
}

TEST(ListEncoding, OutOfOrderAndRepeatedIdsLoadSortedWithTheLastWinning) {
    // IDs 5, 2, 5 (value 9), 1.
    const std::string bytes("\x04" "\x05\x02\x01\x01\x00" "\x02\x00" "\x05\x02\x01\x09\x00" "\x01\x00", 15);
    TElements list;
    Load(list, bytes);
    EXPECT_EQ(Ids(list), "1,2,5");
    EXPECT_EQ(list.FindByID(5)->Value, 9);
}

TEST(ListEncoding, FailedLoadEmptiesTheListAndHugeCountsAreRefused) {
    TElements list;
    Fill(list, {1, 2});
    EXPECT_THROW(Load(list, std::string("\x02\x01\x00\x02", 4)), EReadError);
    EXPECT_EQ(list.Count(), 0);
    list.Obtain(1);
    EXPECT_THROW(Load(list, std::string("\x8F\xFF\xFF\xFF\x7F\x01\x00", 7)), EReadError);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ListOperations, ObtainInsertsInOrderAndReturnsExisting) {
    TElements list;
    Fill(list, {1, 2, 5});
    TElement& three = list.Obtain(3);
    EXPECT_EQ(Ids(list), "1,2,3,5");
    EXPECT_EQ(three.Value, 0);
    EXPECT_EQ(&list.Obtain(3), &three);
    list.Obtain(9);
    EXPECT_EQ(Ids(list), "1,2,3,5,9");
    EXPECT_EQ(list.Append().ID, 10);
    TElements empty;
    EXPECT_EQ(empty.Append().ID, 1);
}

TEST(ListOperations, InsertAndDeleteRenumber) {
    TElements list;
    Fill(list, {1, 2, 3});
    list.InsertAndRenumber(2);
    EXPECT_EQ(Ids(list), "1,2,3,4");
    EXPECT_EQ(list.FindByID(2)->Value, 0);   // the new one
    EXPECT_EQ(list.FindByID(3)->Value, 20);  // the old 2
    list.InsertAndRenumber(7);
    EXPECT_EQ(Ids(list), "1,2,3,4,7");

    TElements other;
    Fill(other, {1, 2, 3});
    other.DeleteAndRenumber(2);
    EXPECT_EQ(Ids(other), "1,2");
    EXPECT_EQ(other.FindByID(2)->Value, 30);
    other.DeleteAndRenumber(9);
    EXPECT_EQ(Ids(other), "1,2");
    other.Delete(1);
    EXPECT_EQ(Ids(other), "2");
}

TEST(ListOperations, FindByIdWithAndWithoutGaps) {
    TElements list;
    Fill(list, {1, 2, 5, 8});
    EXPECT_EQ(list.FindByID(2)->Value, 20);
    EXPECT_EQ(list.FindByID(5)->Value, 50);
    EXPECT_EQ(list.FindByID(3), nullptr);
    EXPECT_EQ(list.FindByID(9), nullptr);
    EXPECT_EQ(list.FindByID(0), nullptr);
    EXPECT_EQ(list.Items(4), nullptr);
    EXPECT_EQ(list.Items(-1), nullptr);
}

TEST(ListOperations, SortAndRenumberAndAssign) {
    TElements list;
    Fill(list, {1, 4, 6});
    list.SortAndRenumber([](const TCatalogItem& a, const TCatalogItem& b) {
        return static_cast<const TElement&>(a).Value > static_cast<const TElement&>(b).Value;
    });
    EXPECT_EQ(Ids(list), "1,2,3");
    EXPECT_EQ(list.Items(0)->Value, 60);
    TElements copy;
    copy.Obtain(10);
    copy.Assign(list);
    EXPECT_EQ(Ids(copy), "1,2,3");
    EXPECT_EQ(copy.Items(2)->Value, 10);
}

TEST(LookUp, RaisesBeforeEditorModeAndAnswersNothingAfter) {
    TKelList<TElement> list("Invalid Element");
    list.Obtain(1);
    EXPECT_NE(list.ItemById(1), nullptr);
    try {
        list.ItemById(2);
        FAIL();
    } catch (const ELookupError& e) {
        EXPECT_STREQ(e.what(), "Invalid Element");
    }
    EXPECT_THROW(list.ItemAt(1), ELookupError);
    TEditorModeScope editor(true);
    EXPECT_EQ(list.ItemById(2), nullptr);
    EXPECT_EQ(list.ItemAt(1), nullptr);
}

TEST(Signature, MustMatchExactly) {
    TMemoryStream good;
    WriteString(good, "KelDataBase");
    good.SetPosition(0);
    EXPECT_NO_THROW(ReadSignature(good, "KelDataBase"));
    for (const char* other : {"KelDatabase", "KelDataBas", "KelDataBase!"}) {
        TMemoryStream bad;
        WriteString(bad, other);
        bad.SetPosition(0);
        try {
            ReadSignature(bad, "KelDataBase");
            FAIL() << other;
        } catch (const EReadError& e) {
            EXPECT_STREQ(e.what(), "A reading error from the stream");
        }
    }
}

TEST(Clipboard, RecordCopyAndPaste) {
    ClipboardScope scope;
    TSample a;
    a.Number = 42;
    a.CopyToClipboard(577);
    const std::string block = *scope.Board.GetData(577);
    const std::string payload = Save(a);
    ASSERT_EQ(block.size(), payload.size() + 8);
    TMemoryStream header(block);
    EXPECT_EQ(ReadInt32LE(header), static_cast<std::int32_t>(payload.size()));
    EXPECT_EQ(ReadInt32LE(header), 1);
    EXPECT_EQ(block.substr(8), payload);
    TSample b;
    EXPECT_FALSE(b.PasteFromClipboard(578));
    EXPECT_TRUE(b.PasteFromClipboard(577));
    EXPECT_EQ(b.Number, 42);
}

TEST(Clipboard, DamagedBlockLeavesTheRecordAsItWas) {
    ClipboardScope scope;
    TSample r;
    r.Number = 3;
    scope.Board.SetData(577, MakeClipboardBlock(1, std::string("\x01\x01", 2)));
    EXPECT_THROW(r.PasteFromClipboard(577), EReadError);
    EXPECT_EQ(r.Number, 3);
    // A header that claims more than the block holds is cut to what is there.
    scope.Board.SetData(577, std::string("\xFF\xFF\x00\x00\x01\x00\x00\x00\x01\x01\x09\x00", 12));
    EXPECT_TRUE(r.PasteFromClipboard(577));
    EXPECT_EQ(r.Number, 9);
    scope.Board.SetData(577, std::string("\x01\x00", 2));
    EXPECT_FALSE(r.PasteFromClipboard(577));
}

TEST(Clipboard, ListCopyAndPasteStopAtId5000) {
    ClipboardScope scope;
    TElements source;
    Fill(source, {1, 2, 3, 4});
    source.CopyToClipboard(574, 1, 3);  // elements 2, 3, 4
    int32_t count = 0;
    std::string payload;
    ASSERT_TRUE(SplitClipboardBlock(*scope.Board.GetData(574), count, payload));
    EXPECT_EQ(count, 3);

    TElements target;
    EXPECT_EQ(target.PasteFromClipboard(574, 0), 3);
    EXPECT_EQ(Ids(target), "1,2,3");
    EXPECT_EQ(target.Items(2)->Value, 40);

    TElements big;
    for (int id = 1; id <= 4998; ++id)
        big.Obtain(id);
    EXPECT_EQ(big.PasteFromClipboard(574, 4998), 2);
    EXPECT_EQ(big.Count(), 5000);
    EXPECT_EQ(big.FindByID(4999)->Value, 20);
    EXPECT_EQ(big.FindByID(5000)->Value, 30);
    EXPECT_EQ(big.PasteFromClipboard(575, 0), 0);
}

// A range from the middle of a list copies exactly its own records: neither the one before it
// nor the one after it.
TEST(Clipboard, ListCopyOfARangeInTheMiddle) {
    ClipboardScope scope;
    TElements source;
    Fill(source, {1, 2, 3, 4, 5, 6});
    source.CopyToClipboard(574, 2, 2);  // elements 3 and 4
    int32_t count = 0;
    std::string payload;
    ASSERT_TRUE(SplitClipboardBlock(*scope.Board.GetData(574), count, payload));
    EXPECT_EQ(count, 2);

    TElements target;
    Fill(target, {1, 2, 3, 4, 5, 6, 7, 8});
    for (int i = 0; i < target.Count(); ++i)
        static_cast<TElement*>(target.Items(i))->Value = -1;
    EXPECT_EQ(target.PasteFromClipboard(574, 4), 2);
    std::string values;
    for (int i = 0; i < target.Count(); ++i)
        values += (i ? "," : "") + std::to_string(static_cast<TElement*>(target.Items(i))->Value);
    EXPECT_EQ(values, "-1,-1,-1,-1,30,40,-1,-1");

    // One record from the middle, and a range that runs past the end stops at the last record.
    source.CopyToClipboard(574, 3, 1);
    ASSERT_TRUE(SplitClipboardBlock(*scope.Board.GetData(574), count, payload));
    EXPECT_EQ(count, 1);
    source.CopyToClipboard(574, 4, 5);
    ASSERT_TRUE(SplitClipboardBlock(*scope.Board.GetData(574), count, payload));
    EXPECT_EQ(count, 2);
}

namespace {

// An element whose reset content is costly: a load target leaves it out, and its load makes it
// when the bytes name no value.
class TCostly : public TCatalogItem {
public:
    struct TLoadTarget {};
    static inline int Full = 0;     // elements made with their reset content
    static inline int Targets = 0;  // elements made for a load
    std::int32_t Value = 0;
    bool Made = false;              // whether the reset content is there

    TCostly() {
        ++Full;
        Reset();
    }
    explicit TCostly(TLoadTarget) { ++Targets; }
    void DescribeField(int n, TCatalogVarData& d, bool) override {
        if (n == 1)
            SetIntField(d, &Value, 0);
    }
    void Reset() override {
        Value = 0;
        Made = true;
    }
};

}  // namespace

// Loads and pastes fill elements made for the load; everything else makes complete ones. Either
// way an element ends as its bytes say.
TEST(ListOperations, LoadsAndPastesFillLoadTargets) {
    ClipboardScope scope;
    TCostly::Full = TCostly::Targets = 0;
    TCatalogOf<TCostly> list;
    list.Obtain(1);
    list.Append();
    EXPECT_EQ(TCostly::Full, 2);
    EXPECT_EQ(TCostly::Targets, 0);

    Load(list, testkit::Bytes({0x02, 0x01, 0x01, 0x01, 0x05, 0x00, 0x04, 0x00}));
    EXPECT_EQ(TCostly::Full, 2);
    EXPECT_EQ(TCostly::Targets, 2);
    EXPECT_EQ(Ids(list), "1,4");
    EXPECT_EQ(list.FindByID(1)->Value, 5);
    EXPECT_TRUE(list.FindByID(4)->Made);  // its load reset it

    // Two records pasted from element 4 on: the existing element 4 is loaded in place, element 5
    // is new. A third, damaged record leaves no element behind.
    scope.Board.SetData(574, MakeClipboardBlock(3, testkit::Bytes({0x01, 0x01, 0x07, 0x00, 0x01, 0x01, 0x08, 0x00,
                                                                    0x01, 0x01})));
    EXPECT_THROW(list.PasteFromClipboard(574, 3), EReadError);
    EXPECT_EQ(TCostly::Full, 2);
    EXPECT_EQ(TCostly::Targets, 4);
    EXPECT_EQ(Ids(list), "1,4,5");
    EXPECT_EQ(list.FindByID(4)->Value, 7);
    EXPECT_EQ(list.FindByID(5)->Value, 8);

    // A list class made from plain functions makes load targets as it makes its elements.
    TCatalog plain(&CreateCatalogItem<TCostly>);
    EXPECT_THROW(plain.PasteFromClipboard(574, 0), EReadError);
    EXPECT_EQ(Ids(plain), "1,2");
    EXPECT_EQ(TCostly::Full, 5);
    EXPECT_EQ(TCostly::Targets, 4);
}

TEST(Clipboard, ListPasteOfDamagedRecordKeepsTheTarget) {
    ClipboardScope scope;
    scope.Board.SetData(574, MakeClipboardBlock(2, std::string("\x02\x01\x05\x00" "\x02\x01", 6)));
    TElements list;
    Fill(list, {1, 2});
    EXPECT_THROW(list.PasteFromClipboard(574, 0), EReadError);
    EXPECT_EQ(list.FindByID(1)->Value, 5);   // the first record pasted whole
    EXPECT_EQ(list.FindByID(2)->Value, 20);  // the damaged one left as it was
    // A huge count does not loop for ever: records beyond ID 5000 end the paste.
    scope.Board.SetData(574, MakeClipboardBlock(0x7FFFFFFF, std::string(1, '\0')));
    TElements other;
    EXPECT_THROW(other.PasteFromClipboard(574, 0), EReadError);
    EXPECT_EQ(other.Count(), 1);
}
