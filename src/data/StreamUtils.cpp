#include "data/StreamUtils.h"

#include <algorithm>
#include <cstring>

namespace quillon {

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    if (count == 0)
        return;
    if (Read(buffer, count) != count)
        throw EReadError();
}

std::int64_t TStream::Remaining() const {
    const std::int64_t rest = Size() - Position();
    return rest > 0 ? rest : 0;
}

void TStream::RequireRemaining(std::uint64_t count) const {
    if (count > static_cast<std::uint64_t>(Remaining()))
        throw EReadError();
}

std::uint8_t TStream::ReadByteSlow() {
    std::uint8_t value = 0;
    ReadBuffer(&value, 1);
    return value;
}

// --- TMemoryStream ---

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    const std::int64_t available = Size() - mDirectPos;
    if (available <= 0)
        return 0;
    const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(available));
    std::memcpy(buffer, mBytes.data() + mDirectPos, n);
    mDirectPos += static_cast<std::int64_t>(n);
    return n;
}

void TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0)
        return;
    const auto end = static_cast<std::size_t>(mDirectPos) + count;
    if (static_cast<std::size_t>(mDirectPos) == mBytes.size()) {
        mBytes.append(static_cast<const char*>(buffer), count);
    } else {
        if (end > mBytes.size())
            mBytes.resize(end);
        std::memcpy(mBytes.data() + mDirectPos, buffer, count);
    }
    mDirectPos = static_cast<std::int64_t>(end);
    Refresh();
}

void TMemoryStream::SetPosition(std::int64_t position) {
    // Like a seek past the end of a file: allowed, a later read returns nothing and a later
    // write fills the gap with zeros.
    if (position < 0)
        position = 0;
    if (position > Size() && position - Size() > (std::int64_t{1} << 31))
        throw EReadError();
    if (position > Size()) {
        mBytes.resize(static_cast<std::size_t>(position));
        Refresh();
    }
    mDirectPos = position;
}

void TMemoryStream::Clear() {
    mBytes.clear();
    mDirectPos = 0;
    Refresh();
}

std::string TMemoryStream::TakeBytes() {
    std::string out = std::move(mBytes);
    Clear();
    return out;
}

// --- TByteViewStream ---

std::size_t TByteViewStream::Read(void* buffer, std::size_t count) {
    const std::int64_t available = Size() - mDirectPos;
    if (available <= 0)
        return 0;
    const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(available));
    std::memcpy(buffer, mBytes.data() + mDirectPos, n);
    mDirectPos += static_cast<std::int64_t>(n);
    return n;
}

void TByteViewStream::Write(const void*, std::size_t) {
    throw std::logic_error("write to a read-only stream");
}

void TByteViewStream::SetPosition(std::int64_t position) {
    mDirectPos = position < 0 ? 0 : position;
}

// --- encodings ---

std::int32_t ReadVarInt(TStream& stream) {
    std::uint32_t result = 0;
    for (;;) {
        const std::uint8_t b = stream.ReadByte();
        result = (result << 7) + (b & 0x7F);
        if ((b & 0x80) == 0)
            break;
    }
    return static_cast<std::int32_t>(result);
}

int VarIntSize(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    int size = 1;
    for (int k = 1; k <= 4; ++k)
        if ((v >> (7 * k)) != 0)
            size = k + 1;
    return size;
}

void WriteVarInt(TStream& stream, std::int32_t value, bool withLength) {
    const auto v = static_cast<std::uint32_t>(value);
    const int size = VarIntSize(value);
    std::uint8_t bytes[6];
    int n = 0;
    if (withLength)
        bytes[n++] = static_cast<std::uint8_t>(size);
    for (int k = size - 1; k >= 0; --k) {
        std::uint8_t b = static_cast<std::uint8_t>((v >> (7 * k)) & 0x7F);
        if (k > 0)
            b |= 0x80;
        bytes[n++] = b;
    }
    stream.WriteBuffer(bytes, static_cast<std::size_t>(n));
}

void ReadString(TStream& stream, std::string& text) {
    const auto count = static_cast<std::uint32_t>(ReadVarInt(stream));
    stream.RequireRemaining(count);
    text.resize(count);
    stream.ReadBuffer(text.data(), count);
}

std::string ReadString(TStream& stream) {
    std::string text;
    ReadString(stream, text);
    return text;
}

void WriteString(TStream& stream, std::string_view text) {
    WriteVarInt(stream, static_cast<std::int32_t>(text.size()));
    stream.WriteBuffer(text.data(), text.size());
}

std::int32_t ReadInt32LE(TStream& stream) {
    std::uint8_t b[4];
    stream.ReadBuffer(b, 4);
    return static_cast<std::int32_t>(std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) |
                                     (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24));
}

void WriteInt32LE(TStream& stream, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    stream.WriteBuffer(b, 4);
}

}  // namespace quillon
