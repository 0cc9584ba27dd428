#include "data/StreamUtils.h"

#include "data/RecordTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quillon;
using testkit::Hex;
using testkit::Load;
using testkit::Save;

namespace {


std::string VarIntBytes(std::int32_t value, bool withLength = false) {
    TMemoryStream s;
    WriteVarInt(s, value, withLength);
    return s.Bytes();
}

}  // namespace

TEST(VarInt, SizesAndRoundTripAtEveryGroupBoundary) {
    const std::vector<std::pair<std::int32_t, int>> cases = {
        {0, 1},         {127, 1},       {128, 2},        {16383, 2},      {16384, 3},        {2097151, 3},
        {2097152, 4},   {268435455, 4}, {268435456, 5},  {2147483647, 5}, {-1, 5},           {INT32_MIN, 5}};
    for (const auto& [value, size] : cases) {
        const std::string bytes = VarIntBytes(value);
        EXPECT_EQ(static_cast<int>(bytes.size()), size) << value;
        EXPECT_EQ(VarIntSize(value), size) << value;
        TMemoryStream in(bytes);
        EXPECT_EQ(ReadVarInt(in), value);
        EXPECT_EQ(in.Position(), in.Size());
    }
}

TEST(VarInt, ExactBytes) {
    EXPECT_EQ(Hex(VarIntBytes(0)), "00");
    EXPECT_EQ(Hex(VarIntBytes(127)), "7F");
    EXPECT_EQ(Hex(VarIntBytes(128)), "81 00");
    EXPECT_EQ(Hex(VarIntBytes(16383)), "FF 7F");
    EXPECT_EQ(Hex(VarIntBytes(16384)), "81 80 00");
    EXPECT_EQ(Hex(VarIntBytes(-1)), "8F FF FF FF 7F");
    EXPECT_EQ(Hex(VarIntBytes(300, true)), "02 82 2C");
    EXPECT_EQ(Hex(VarIntBytes(-1, true)), "05 8F FF FF FF 7F");
}

TEST(VarInt, ReaderHasNoByteLimitAndDropsHighBits) {
    // Six continuation groups: the oldest bits fall off the top of 32 bits.
    TMemoryStream in(std::string("\x81\x80\x80\x80\x80\x01", 6));
    EXPECT_EQ(ReadVarInt(in), 1);
    EXPECT_EQ(in.Position(), 6);
}

TEST(VarInt, TruncatedValueRaisesReadError) {
    TMemoryStream in(std::string("\x81\x80", 2));
    EXPECT_THROW(ReadVarInt(in), EReadError);
    TMemoryStream empty;
    EXPECT_THROW(ReadVarInt(empty), EReadError);
}

TEST(CountedString, RoundTripKeepsBytesAsTheyAre) {
    const std::string sjis = "\x83\x65\x83\x58\x83\x67 text";  // double-byte characters and ASCII
    TMemoryStream s;
    WriteString(s, sjis);
    WriteString(s, "");
    EXPECT_EQ(static_cast<unsigned char>(s.Bytes()[0]), sjis.size());
    s.SetPosition(0);
    EXPECT_EQ(ReadString(s), sjis);
    EXPECT_EQ(ReadString(s), "");
    EXPECT_EQ(s.Position(), s.Size());
}

TEST(CountedString, LengthBeyondStreamIsRefusedBeforeAllocating) {
    // Claims 2 GiB of text in a five-byte stream.
    TMemoryStream s;
    WriteVarInt(s, 0x7FFFFFFF);
    s.WriteByte('x');
    s.SetPosition(0);
    try {
        ReadString(s);
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "A reading error from the stream");
    }
}

TEST(MemoryStream, WritesOverwriteAndExtend) {
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    s.SetPosition(2);
    s.WriteBuffer("XYZWV", 5);
    EXPECT_EQ(s.Bytes(), "abXYZWV");
    s.SetPosition(10);
    s.WriteByte('!');
    EXPECT_EQ(s.Bytes(), std::string("abXYZWV\0\0\0!", 11));
    char c;
    EXPECT_EQ(s.Read(&c, 1), 0u);
}

TEST(MemoryStream, BorrowLendsBytesInPlaceOnlyWhenAllAreThere) {
    TMemoryStream s(std::string("abcdef"));
    s.SetPosition(1);
    const std::uint8_t* bytes = s.Borrow(3);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), 3), "bcd");
    EXPECT_EQ(s.Position(), 4);
    EXPECT_EQ(s.Borrow(3), nullptr);  // two bytes left: nothing lent, nothing moved
    EXPECT_EQ(s.Position(), 4);
    EXPECT_NE(s.Borrow(2), nullptr);
    EXPECT_NE(s.Borrow(0), nullptr);
    const std::string held = "xyz";
    TByteViewStream view(held);
    EXPECT_EQ(view.Borrow(3), reinterpret_cast<const std::uint8_t*>(held.data()));
    view.SetPosition(9);  // past the end, as a seek may go
    EXPECT_EQ(view.Borrow(0), nullptr);
}

TEST(MemoryStream, LittleEndianHeaderIntegers) {
    TMemoryStream s;
    WriteInt32LE(s, 0x01020304);
    WriteInt32LE(s, -2);
    EXPECT_EQ(Hex(s.Bytes()), "04 03 02 01 FE FF FF FF");
    s.SetPosition(0);
    EXPECT_EQ(ReadInt32LE(s), 0x01020304);
    EXPECT_EQ(ReadInt32LE(s), -2);
}
