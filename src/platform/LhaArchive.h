// LZH archives: level-2 headers, -lh5- compression (8 KiB window, static Huffman blocks), stored
// (-lh0-) files and folder (-lhd-) entries, CRC-16 over every file's bytes and every header.
// Entry names are CP932 bytes with '/' between folders; on the disk they are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A damaged or hostile archive, or an entry that cannot be written or extracted.
class ELhaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The work was stopped through a progress callback.
class ELhaCancelled : public ELhaError {
public:
    ELhaCancelled() : ELhaError("cancelled") {}
};

// Largest entry the reader unpacks and the writer packs.
inline constexpr std::uint64_t kLhaEntryLimit = std::uint64_t{1} << 30;

// CRC-16 (polynomial 0xA001, reflected, starting at `crc`).
std::uint16_t LhaCrc16(std::string_view data, std::uint16_t crc = 0);

// Called with the bytes done so far; answering false stops the work (ELhaCancelled).
using TLhaProgress = std::function<bool(std::uint64_t done)>;

// The -lh5- stream of the bytes.
std::string LhaCompress(std::string_view data, const TLhaProgress& progress = {});
// Unpacks a -lh4-/-lh5-/-lh6-/-lh7- stream (dictionaryBits 12, 13, 15, 16) to originalSize
// bytes. Raises ELhaError when the stream is damaged or ends early.
std::string LhaDecompress(std::string_view packed, std::uint64_t originalSize, int dictionaryBits);

// An entry name is safe when it is not empty, does not begin with '/', holds no backslash, no
// empty, "." or ".." component and no control character.
bool IsSafeLhaName(std::string_view name);

struct TLhaEntry {
    std::string Name;    // CP932, '/' between folders, no trailing '/'
    std::string Method;  // "-lh5-", "-lh0-", "-lhd-" …
    bool IsFolder = false;
    std::uint64_t PackedSize = 0;
    std::uint64_t OriginalSize = 0;
    std::uint16_t Crc = 0;
    std::int64_t Time = 0;  // seconds since the epoch
    std::size_t DataOffset = 0;
};

// Builds an archive in memory: entries in the order they are added, then the end mark.
class TLhaArchiveWriter {
public:
    // Files that do not shrink are stored (-lh0-). Raises ELhaError for an unsafe name.
    void AddFile(const std::string& name, std::string_view data, std::int64_t time,
                 const TLhaProgress& progress = {});
    void AddFolder(const std::string& name, std::int64_t time);
    // The archive's bytes with the end mark.
    std::string Finish() const;
    const std::vector<TLhaEntry>& Entries() const { return mEntries; }

private:
    void AddHeader(TLhaEntry entry, std::string_view data);
    std::string mBytes;
    std::vector<TLhaEntry> mEntries;
};

class TLhaArchiveReader {
public:
    // Reads every header (level 2; levels 0 and 1 are refused). Raises ELhaError when a header
    // is damaged, an entry's data runs past the end, or a name is unsafe.
    explicit TLhaArchiveReader(std::string bytes);
    static TLhaArchiveReader FromFile(const std::string& path);

    const std::vector<TLhaEntry>& Entries() const { return mEntries; }
    // An entry's bytes, checked against its CRC; raises ELhaError.
    std::string Contents(const TLhaEntry& entry) const;
    // Unpacks every entry and checks its CRC; raises ELhaError naming the first bad entry.
    void Test() const;
    // Writes every entry below the folder (made when missing), replacing files of the same
    // name; never writes through a symbolic link. Raises ELhaError or EFileError.
    void ExtractTo(const std::string& folder) const;

private:
    std::string mBytes;
    std::vector<TLhaEntry> mEntries;
};

}  // namespace quillon
