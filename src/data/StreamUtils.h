// Byte streams and the variable-length integer and counted string encodings that every data
// file and clipboard copy of the editor is written in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Text of the read error that every reader raises for a damaged or foreign stream.
inline constexpr const char* kReadErrorText = "A reading error from the stream";

// Raised when a stream ends early, holds a count larger than what follows it, or does not carry
// the expected signature.
class EReadError : public std::runtime_error {
public:
    explicit EReadError(const std::string& what = kReadErrorText) : std::runtime_error(what) {}
};

// A seekable stream of bytes. Reads and writes are exact: a read that cannot deliver every byte
// asked for raises EReadError.
class TStream {
public:
    virtual ~TStream() = default;

    virtual std::size_t Read(void* buffer, std::size_t count) = 0;  // bytes actually read
    virtual void Write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;

    void ReadBuffer(void* buffer, std::size_t count);  // exact read, raises EReadError
    void WriteBuffer(const void* buffer, std::size_t count) { Write(buffer, count); }
    std::int64_t Remaining() const;
    // Raises EReadError unless at least count bytes remain; readers call it before they
    // allocate anything sized by a number read from the stream.
    void RequireRemaining(std::uint64_t count) const;
    // One byte; raises EReadError at the end. Streams over memory serve it without a call.
    std::uint8_t ReadByte() {
        if (mDirect && mDirectPos < mDirectSize)
            return mDirect[mDirectPos++];
        return ReadByteSlow();
    }
    void WriteByte(std::uint8_t value) { Write(&value, 1); }
    // The next count bytes without a copy when the stream holds them in memory, and moves past
    // them; null when it does not (then they are to be read). The bytes stay valid until the
    // stream is written to or destroyed.
    const std::uint8_t* Borrow(std::size_t count) {
        if (!mDirect || mDirectPos < 0 || mDirectPos > mDirectSize ||
            count > static_cast<std::uint64_t>(mDirectSize - mDirectPos))
            return nullptr;
        const std::uint8_t* bytes = mDirect + mDirectPos;
        mDirectPos += static_cast<std::int64_t>(count);
        return bytes;
    }

protected:
    // Streams over memory keep their bytes, size and position here.
    const std::uint8_t* mDirect = nullptr;
    std::int64_t mDirectSize = 0;
    std::int64_t mDirectPos = 0;

private:
    std::uint8_t ReadByteSlow();
};

// A stream over an owned, growable byte buffer.
class TMemoryStream final : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string bytes) : mBytes(std::move(bytes)) { Refresh(); }
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return mDirectPos; }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(mBytes.size()); }

    void Clear();
    const std::string& Bytes() const { return mBytes; }
    std::string TakeBytes();
    // Appends the whole content of another memory stream.
    void CopyFrom(const TMemoryStream& source) { Write(source.mBytes.data(), source.mBytes.size()); }

private:
    void Refresh() {
        mDirect = reinterpret_cast<const std::uint8_t*>(mBytes.data());
        mDirectSize = static_cast<std::int64_t>(mBytes.size());
    }
    std::string mBytes;
};

// A read-only stream over bytes owned by someone else (for parsing without a copy).
class TByteViewStream final : public TStream {
public:
    explicit TByteViewStream(std::string_view bytes) : mBytes(bytes) { Refresh(); }
    TByteViewStream(const std::uint8_t* data, std::size_t size)
        : mBytes(reinterpret_cast<const char*>(data), size) { Refresh(); }

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;  // raises: read-only
    std::int64_t Position() const override { return mDirectPos; }
    void SetPosition(std::int64_t position) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(mBytes.size()); }

private:
    void Refresh() {
        mDirect = reinterpret_cast<const std::uint8_t*>(mBytes.data());
        mDirectSize = static_cast<std::int64_t>(mBytes.size());
    }
    std::string_view mBytes;
};

// Variable-length integer: big-endian groups of 7 bits, bit 7 set on every byte but the last.
// The value is taken as unsigned 32-bit, so a negative value takes 5 bytes.
std::int32_t ReadVarInt(TStream& stream);
// withLength: write the number of value bytes (1..5) as one byte before the value.
void WriteVarInt(TStream& stream, std::int32_t value, bool withLength = false);
// Number of bytes WriteVarInt writes for a value (without the length byte).
int VarIntSize(std::int32_t value);

// Counted string: variable-length byte count, then the bytes, no terminator; bytes as they are.
void ReadString(TStream& stream, std::string& text);
std::string ReadString(TStream& stream);
void WriteString(TStream& stream, std::string_view text);

// Little-endian fixed-size integers, as used by clipboard headers.
std::int32_t ReadInt32LE(TStream& stream);
void WriteInt32LE(TStream& stream, std::int32_t value);

}  // namespace quillon
