#include "platform/LhaArchive.h"

#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <queue>
#include <sys/stat.h>

namespace quillon {

namespace {

// --- CRC-16 ---

const std::array<std::uint16_t, 256>& CrcTable() {
    static const std::array<std::uint16_t, 256> table = [] {
        std::array<std::uint16_t, 256> t{};
        for (unsigned i = 0; i < 256; ++i) {
            unsigned r = i;
            for (int k = 0; k < 8; ++k)
                r = (r & 1) ? (r >> 1) ^ 0xA001u : r >> 1;
            t[i] = static_cast<std::uint16_t>(r);
        }
        return t;
    }();
    return table;
}

// --- the -lh5- stream's constants ---

constexpr int kMaxMatch = 256;
constexpr int kThreshold = 3;
constexpr int kNC = 255 + kMaxMatch + 2 - kThreshold;  // 510 literal and length codes
constexpr int kCBit = 9;
constexpr int kNT = 19;  // codes of the code-length tree
constexpr int kTBit = 5;
constexpr int kMaxCodeLength = 16;
constexpr int kDictionaryBits = 13;
constexpr int kNP = kDictionaryBits + 1;  // distance codes of -lh5-
constexpr int kPBit = 4;
constexpr std::size_t kMaxDistance = (std::size_t{1} << kDictionaryBits) - 1;
constexpr std::size_t kBlockCodes = 32768;

class TBitWriter {
public:
    explicit TBitWriter(std::string& out) : mOut(out) {}
    void Put(int bits, std::uint32_t value) {
        if (bits <= 0)
            return;
        mAcc = (mAcc << bits) | (value & ((std::uint64_t{1} << bits) - 1));
        mCount += bits;
        while (mCount >= 8) {
            mCount -= 8;
            mOut.push_back(static_cast<char>(mAcc >> mCount));
        }
        mAcc &= (std::uint64_t{1} << mCount) - 1;
    }
    void Flush() {
        if (mCount > 0)
            mOut.push_back(static_cast<char>(mAcc << (8 - mCount)));
        mAcc = 0;
        mCount = 0;
    }

private:
    std::string& mOut;
    std::uint64_t mAcc = 0;
    int mCount = 0;
};

// Code lengths of a Huffman code over the frequencies, at most kMaxCodeLength bits (the deepest
// leaves are lifted by moving codes up the tree, keeping the code complete).
std::vector<std::uint8_t> HuffmanLengths(const std::vector<std::uint32_t>& freq) {
    const int n = static_cast<int>(freq.size());
    std::vector<std::uint8_t> lengths(freq.size(), 0);
    struct TNode {
        std::uint64_t Weight;
        int Left, Right;
    };
    std::vector<TNode> nodes;
    using TItem = std::pair<std::uint64_t, int>;
    std::priority_queue<TItem, std::vector<TItem>, std::greater<>> heap;
    for (int i = 0; i < n; ++i)
        if (freq[i] > 0) {
            nodes.push_back({freq[i], -1 - i, -1});
            heap.push({freq[i], static_cast<int>(nodes.size()) - 1});
        }
    if (nodes.size() < 2)
        return lengths;
    while (heap.size() > 1) {
        const TItem a = heap.top();
        heap.pop();
        const TItem b = heap.top();
        heap.pop();
        nodes.push_back({a.first + b.first, a.second, b.second});
        heap.push({a.first + b.first, static_cast<int>(nodes.size()) - 1});
    }
    // Depths of the leaves.
    std::vector<int> depth(nodes.size(), 0);
    std::array<int, kMaxCodeLength + 1> count{};
    for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; --i) {
        if (nodes[i].Right >= 0) {
            depth[nodes[i].Left] = depth[i] + 1;
            depth[nodes[i].Right] = depth[i] + 1;
        } else {
            ++count[std::min(depth[i], kMaxCodeLength)];
        }
    }
    std::uint64_t total = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len)
        total += static_cast<std::uint64_t>(count[len]) << (kMaxCodeLength - len);
    while (total > (std::uint64_t{1} << kMaxCodeLength)) {
        --count[kMaxCodeLength];
        for (int len = kMaxCodeLength - 1; len > 0; --len)
            if (count[len] > 0) {
                --count[len];
                count[len + 1] += 2;
                break;
            }
        --total;
    }
    // The most frequent symbols get the shortest codes.
    std::vector<int> symbols;
    for (int i = 0; i < n; ++i)
        if (freq[i] > 0)
            symbols.push_back(i);
    std::stable_sort(symbols.begin(), symbols.end(), [&](int a, int b) { return freq[a] > freq[b]; });
    std::size_t k = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len)
        for (int c = 0; c < count[len]; ++c)
            lengths[symbols[k++]] = static_cast<std::uint8_t>(len);
    return lengths;
}

// Canonical codes: shorter codes first, within a length in symbol order.
std::vector<std::uint16_t> CanonicalCodes(const std::vector<std::uint8_t>& lengths) {
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    std::uint32_t code = 0;
    for (int len = 1; len <= kMaxCodeLength; ++len) {
        for (std::size_t s = 0; s < lengths.size(); ++s)
            if (lengths[s] == len)
                codes[s] = static_cast<std::uint16_t>(code++);
        code <<= 1;
    }
    return codes;
}

int UsedSymbol(const std::vector<std::uint32_t>& freq, int& used) {
    used = 0;
    int last = 0;
    for (std::size_t i = 0; i < freq.size(); ++i)
        if (freq[i] > 0) {
            ++used;
            last = static_cast<int>(i);
        }
    return last;
}

int DistanceCode(std::uint32_t offset) {
    int j = 0;
    while (offset > 0) {
        ++j;
        offset >>= 1;
    }
    return j;
}

struct TToken {
    std::uint16_t Code;      // literal byte or 253 + length
    std::uint16_t Distance;  // distance - 1 for matches
};

void WritePtLengths(TBitWriter& bits, const std::vector<std::uint8_t>& len, int nbit, int special) {
    int n = static_cast<int>(len.size());
    while (n > 0 && len[n - 1] == 0)
        --n;
    bits.Put(nbit, static_cast<std::uint32_t>(n));
    int i = 0;
    while (i < n) {
        const int k = len[i++];
        if (k <= 6)
            bits.Put(3, static_cast<std::uint32_t>(k));
        else
            bits.Put(k - 3, (1u << (k - 3)) - 2);
        if (i == special) {
            while (i < 6 && len[i] == 0)
                ++i;
            bits.Put(2, static_cast<std::uint32_t>((i - 3) & 3));
        }
    }
}

// The runs of code lengths as the code-length tree's symbols: 0 one zero, 1 + 4 bits 3..18
// zeros, 2 + 9 bits 20.. zeros, 3.. a length of symbol - 2.
template <typename TVisit>
void VisitCLengths(const std::vector<std::uint8_t>& cLen, TVisit visit) {
    int n = kNC;
    while (n > 0 && cLen[n - 1] == 0)
        --n;
    int i = 0;
    while (i < n) {
        const int k = cLen[i++];
        if (k == 0) {
            int count = 1;
            while (i < n && cLen[i] == 0) {
                ++i;
                ++count;
            }
            if (count <= 2) {
                for (int z = 0; z < count; ++z)
                    visit(0, 0, 0);
            } else if (count <= 18) {
                visit(1, 4, count - 3);
            } else if (count == 19) {
                visit(0, 0, 0);
                visit(1, 4, 15);
            } else {
                visit(2, kCBit, count - 20);
            }
        } else {
            visit(k + 2, 0, 0);
        }
    }
}

void SendBlock(TBitWriter& bits, const std::vector<TToken>& tokens) {
    std::vector<std::uint32_t> cFreq(kNC, 0), pFreq(kNP, 0);
    for (const TToken& t : tokens) {
        ++cFreq[t.Code];
        if (t.Code > 255)
            ++pFreq[DistanceCode(t.Distance)];
    }
    bits.Put(16, static_cast<std::uint32_t>(tokens.size()));
    int cUsed = 0;
    const int cOnly = UsedSymbol(cFreq, cUsed);
    std::vector<std::uint8_t> cLen = HuffmanLengths(cFreq);
    std::vector<std::uint16_t> cCode = CanonicalCodes(cLen);
    if (cUsed >= 2) {
        std::vector<std::uint32_t> tFreq(kNT, 0);
        VisitCLengths(cLen, [&](int sym, int, int) { ++tFreq[sym]; });
        int tUsed = 0;
        const int tOnly = UsedSymbol(tFreq, tUsed);
        std::vector<std::uint8_t> tLen = HuffmanLengths(tFreq);
        const std::vector<std::uint16_t> tCode = CanonicalCodes(tLen);
        if (tUsed >= 2) {
            WritePtLengths(bits, tLen, kTBit, 3);
        } else {
            bits.Put(kTBit, 0);
            bits.Put(kTBit, static_cast<std::uint32_t>(tOnly));
        }
        int n = kNC;
        while (n > 0 && cLen[n - 1] == 0)
            --n;
        bits.Put(kCBit, static_cast<std::uint32_t>(n));
        VisitCLengths(cLen, [&](int sym, int extraBits, int extra) {
            bits.Put(tLen[sym], tCode[sym]);
            bits.Put(extraBits, static_cast<std::uint32_t>(extra));
        });
    } else {
        bits.Put(kTBit, 0);
        bits.Put(kTBit, 0);
        bits.Put(kCBit, 0);
        bits.Put(kCBit, static_cast<std::uint32_t>(cOnly));
        std::fill(cLen.begin(), cLen.end(), 0);
    }
    int pUsed = 0;
    const int pOnly = UsedSymbol(pFreq, pUsed);
    std::vector<std::uint8_t> pLen = HuffmanLengths(pFreq);
    const std::vector<std::uint16_t> pCode = CanonicalCodes(pLen);
    if (pUsed >= 2) {
        WritePtLengths(bits, pLen, kPBit, -1);
    } else {
        bits.Put(kPBit, 0);
        bits.Put(kPBit, static_cast<std::uint32_t>(pOnly));
        std::fill(pLen.begin(), pLen.end(), 0);
    }
    for (const TToken& t : tokens) {
        bits.Put(cLen[t.Code], cCode[t.Code]);
        if (t.Code > 255) {
            const int j = DistanceCode(t.Distance);
            bits.Put(pLen[j], pCode[j]);
            if (j > 1)
                bits.Put(j - 1, t.Distance - (1u << (j - 1)));
        }
    }
}

// --- decoding ---

class TBitReader {
public:
    explicit TBitReader(std::string_view data) : mData(data) {}
    std::uint32_t Peek16() {
        Fill();
        return static_cast<std::uint32_t>(mAcc >> (mCount - 16)) & 0xFFFFu;
    }
    void Skip(int bits) {
        Fill();
        mCount -= bits;
        mAcc &= (std::uint64_t{1} << mCount) - 1;
        if (mOverrun * 8 > static_cast<std::uint64_t>(mCount) + 32)
            throw ELhaError("the compressed data ends early");
    }
    std::uint32_t Get(int bits) {
        if (bits == 0)
            return 0;
        const std::uint32_t v = Peek16() >> (16 - bits);
        Skip(bits);
        return v;
    }

private:
    void Fill() {
        while (mCount <= 48) {
            std::uint8_t byte = 0;
            if (mPos < mData.size())
                byte = static_cast<std::uint8_t>(mData[mPos++]);
            else
                ++mOverrun;
            mAcc = (mAcc << 8) | byte;
            mCount += 8;
        }
    }
    std::string_view mData;
    std::size_t mPos = 0;
    std::uint64_t mAcc = 0;
    int mCount = 0;
    std::uint64_t mOverrun = 0;
};

// A canonical Huffman decoder: a 10-bit lookup for short codes, counting for long ones.
class THuffmanDecoder {
public:
    void Single(int symbol) {
        mSingle = symbol;
    }
    void Build(const std::vector<std::uint8_t>& lengths) {
        mSingle = -1;
        mCount.fill(0);
        for (std::uint8_t len : lengths)
            ++mCount[len];
        mCount[0] = 0;
        std::uint64_t kraft = 0;
        for (int len = 1; len <= kMaxCodeLength; ++len)
            kraft += static_cast<std::uint64_t>(mCount[len]) << (kMaxCodeLength - len);
        if (kraft > (std::uint64_t{1} << kMaxCodeLength))
            throw ELhaError("a Huffman table is damaged");
        std::array<int, kMaxCodeLength + 2> offset{};
        for (int len = 1; len <= kMaxCodeLength; ++len)
            offset[len + 1] = offset[len] + mCount[len];
        mSorted.assign(static_cast<std::size_t>(offset[kMaxCodeLength + 1]), 0);
        std::array<int, kMaxCodeLength + 2> next = offset;
        for (std::size_t s = 0; s < lengths.size(); ++s)
            if (lengths[s] > 0)
                mSorted[static_cast<std::size_t>(next[lengths[s]]++)] = static_cast<std::uint16_t>(s);
        mOffset = offset;
        std::uint32_t code = 0;
        for (int len = 1; len <= kMaxCodeLength; ++len) {
            mFirst[len] = code;
            code = (code + static_cast<std::uint32_t>(mCount[len])) << 1;
        }
        mTable.assign(std::size_t{1} << kTableBits, 0xFFFF);
        for (int len = 1; len <= kTableBits; ++len)
            for (int k = 0; k < mCount[len]; ++k) {
                const std::uint32_t c = mFirst[len] + static_cast<std::uint32_t>(k);
                const std::uint16_t sym = mSorted[static_cast<std::size_t>(mOffset[len] + k)];
                const std::uint32_t base = c << (kTableBits - len);
                for (std::uint32_t f = 0; f < (1u << (kTableBits - len)); ++f)
                    mTable[base + f] = static_cast<std::uint16_t>(sym | (len << 11));
            }
    }
    int Decode(TBitReader& bits) const {
        if (mSingle >= 0)
            return mSingle;
        const std::uint32_t v = bits.Peek16();
        const std::uint16_t hit = mTable[v >> (16 - kTableBits)];
        if (hit != 0xFFFF) {
            bits.Skip(hit >> 11);
            return hit & 0x7FF;
        }
        for (int len = kTableBits + 1; len <= kMaxCodeLength; ++len) {
            const std::uint32_t c = v >> (16 - len);
            if (c >= mFirst[len] && c - mFirst[len] < static_cast<std::uint32_t>(mCount[len])) {
                bits.Skip(len);
                return mSorted[static_cast<std::size_t>(mOffset[len]) + (c - mFirst[len])];
            }
        }
        throw ELhaError("the compressed data holds an unknown code");
    }

private:
    static constexpr int kTableBits = 10;
    int mSingle = -1;
    std::array<int, kMaxCodeLength + 1> mCount{};
    std::array<std::uint32_t, kMaxCodeLength + 1> mFirst{};
    std::array<int, kMaxCodeLength + 2> mOffset{};
    std::vector<std::uint16_t> mSorted;
    std::vector<std::uint16_t> mTable;
};

void ReadPtLengths(TBitReader& bits, THuffmanDecoder& decoder, int nn, int nbit, int special) {
    const int n = static_cast<int>(bits.Get(nbit));
    if (n == 0) {
        const int c = static_cast<int>(bits.Get(nbit));
        if (c >= nn)
            throw ELhaError("a Huffman table is damaged");
        decoder.Single(c);
        return;
    }
    if (n > nn)
        throw ELhaError("a Huffman table is damaged");
    std::vector<std::uint8_t> len(static_cast<std::size_t>(nn), 0);
    int i = 0;
    while (i < n) {
        int c = static_cast<int>(bits.Get(3));
        if (c == 7) {
            while (bits.Get(1) == 1)
                if (++c > kMaxCodeLength)
                    throw ELhaError("a Huffman table is damaged");
        }
        len[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(c);
        if (i == special) {
            int zeros = static_cast<int>(bits.Get(2));
            while (zeros-- > 0 && i < nn)
                len[static_cast<std::size_t>(i++)] = 0;
        }
    }
    decoder.Build(len);
}

void ReadCLengths(TBitReader& bits, const THuffmanDecoder& tree, THuffmanDecoder& decoder) {
    const int n = static_cast<int>(bits.Get(kCBit));
    if (n == 0) {
        const int c = static_cast<int>(bits.Get(kCBit));
        if (c >= kNC)
            throw ELhaError("a Huffman table is damaged");
        decoder.Single(c);
        return;
    }
    if (n > kNC)
        throw ELhaError("a Huffman table is damaged");
    std::vector<std::uint8_t> len(kNC, 0);
    int i = 0;
    while (i < n) {
        int c = tree.Decode(bits);
        if (c <= 2) {
            int zeros = c == 0 ? 1 : c == 1 ? static_cast<int>(bits.Get(4)) + 3 : static_cast<int>(bits.Get(kCBit)) + 20;
            if (i + zeros > kNC)
                throw ELhaError("a Huffman table is damaged");
            while (zeros-- > 0)
                len[static_cast<std::size_t>(i++)] = 0;
        } else {
            if (c - 2 > kMaxCodeLength)
                throw ELhaError("a Huffman table is damaged");
            len[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(c - 2);
        }
    }
    decoder.Build(len);
}

// --- header fields ---

void PutU16(std::string& s, std::uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void PutU32(std::string& s, std::uint64_t v) {
    PutU16(s, static_cast<std::uint32_t>(v & 0xFFFF));
    PutU16(s, static_cast<std::uint32_t>((v >> 16) & 0xFFFF));
}
std::uint32_t GetU16(std::string_view s, std::size_t at) {
    return static_cast<std::uint8_t>(s[at]) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 1])) << 8);
}
std::uint32_t GetU32(std::string_view s, std::size_t at) {
    return GetU16(s, at) | (GetU16(s, at + 2) << 16);
}
void SetU16(std::string& s, std::size_t at, std::uint32_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

int DictionaryBitsOf(const std::string& method) {
    if (method == "-lh4-")
        return 12;
    if (method == "-lh5-")
        return 13;
    if (method == "-lh6-")
        return 15;
    if (method == "-lh7-")
        return 16;
    return 0;
}

// Every component of the path below root is a real folder (made when missing).
void MakeFolders(const std::string& root, const std::string& relative) {
    std::string path = root;
    std::size_t start = 0;
    while (start < relative.size()) {
        std::size_t slash = relative.find('/', start);
        if (slash == std::string::npos)
            slash = relative.size();
        path += relative.substr(start, slash - start);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
                throw EFileError("Cannot create \"" + path + "\": " + std::strerror(errno));
            if (::lstat(path.c_str(), &st) != 0)
                throw EFileError("Cannot create \"" + path + "\": " + std::strerror(errno));
        }
        if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode))
            throw ELhaError("\"" + path + "\" is not a folder (a link or a file is in the way)");
        path += '/';
        start = slash + 1;
    }
}

}  // namespace

std::uint16_t LhaCrc16(std::string_view data, std::uint16_t crc) {
    const auto& table = CrcTable();
    for (char ch : data)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ table[(crc ^ static_cast<std::uint8_t>(ch)) & 0xFF]);
    return crc;
}

std::string LhaCompress(std::string_view data, const TLhaProgress& progress) {
    std::string out;
    TBitWriter bits(out);
    const std::size_t n = data.size();
    const auto* p = reinterpret_cast<const std::uint8_t*>(data.data());
    constexpr int kHashBits = 15;
    constexpr std::size_t kRing = std::size_t{1} << (kDictionaryBits + 1);
    // Search effort as deflate's default level spends it: chains of up to 128, a quarter of that
    // when the match in hand is already good, no second look past a match of 16.
    constexpr int kMaxChain = 128;
    constexpr int kGoodLength = 8;
    constexpr int kMaxLazy = 16;
    constexpr int kNiceLength = 128;
    std::vector<std::int32_t> head(std::size_t{1} << kHashBits, -1);
    std::vector<std::int32_t> prev(kRing, -1);
    auto hash = [&](std::size_t at) {
        const std::uint32_t x = p[at] | (static_cast<std::uint32_t>(p[at + 1]) << 8) | (static_cast<std::uint32_t>(p[at + 2]) << 16);
        return (x * 2654435761u) >> (32 - kHashBits);
    };
    auto insert = [&](std::size_t at) {
        if (at + 2 < n) {
            const std::uint32_t h = hash(at);
            prev[at & (kRing - 1)] = head[h];
            head[h] = static_cast<std::int32_t>(at);
        }
    };
    // The longest match at `at` longer than `shorter`, or 0.
    auto find = [&](std::size_t at, std::size_t& distance, int shorter, int chainLimit) -> int {
        if (at + kThreshold > n)
            return 0;
        const int limit = static_cast<int>(std::min<std::size_t>(kMaxMatch, n - at));
        if (shorter >= limit)
            return 0;
        int best = std::max(shorter, kThreshold - 1);
        int found = 0;
        std::int32_t cand = head[hash(at)];
        const std::uint8_t* here = p + at;
        for (int chain = 0; chain < chainLimit && cand >= 0; ++chain) {
            const std::size_t c = static_cast<std::size_t>(cand);
            if (at - c > kMaxDistance)
                break;
            const std::uint8_t* there = p + c;
            if (there[best] == here[best] && there[0] == here[0] && there[1] == here[1]) {
                int len = 2;
                while (len < limit && there[len] == here[len])
                    ++len;
                if (len > best) {
                    best = found = len;
                    distance = at - c;
                    if (len >= kNiceLength || len == limit)
                        break;
                }
            }
            const std::int32_t next = prev[c & (kRing - 1)];
            if (next >= cand)
                break;
            cand = next;
        }
        return found;
    };
    std::vector<TToken> tokens;
    tokens.reserve(kBlockCodes);
    auto emit = [&](TToken t) {
        tokens.push_back(t);
        if (tokens.size() == kBlockCodes) {
            SendBlock(bits, tokens);
            tokens.clear();
        }
    };
    std::size_t pos = 0;
    std::size_t nextReport = 1 << 20;
    while (pos < n) {
        if (progress && pos >= nextReport) {
            nextReport = pos + (1 << 20);
            if (!progress(pos))
                throw ELhaCancelled();
        }
        std::size_t distance = 0;
        const int len = find(pos, distance, 0, kMaxChain);
        insert(pos);
        if (len == 0) {
            emit({p[pos], 0});
            ++pos;
            continue;
        }
        if (len < kMaxLazy && pos + 1 < n) {
            std::size_t laterDistance = 0;
            if (find(pos + 1, laterDistance, len, len >= kGoodLength ? kMaxChain / 4 : kMaxChain) > 0) {
                emit({p[pos], 0});
                ++pos;
                continue;
            }
        }
        emit({static_cast<std::uint16_t>(len + 256 - kThreshold), static_cast<std::uint16_t>(distance - 1)});
        for (int k = 1; k < len; ++k)
            insert(pos + static_cast<std::size_t>(k));
        pos += static_cast<std::size_t>(len);
    }
    if (!tokens.empty())
        SendBlock(bits, tokens);
    bits.Flush();
    if (progress && !progress(n))
        throw ELhaCancelled();
    return out;
}

std::string LhaDecompress(std::string_view packed, std::uint64_t originalSize, int dictionaryBits) {
    if (dictionaryBits < 12 || dictionaryBits > 16)
        throw ELhaError("unknown dictionary size");
    if (originalSize > kLhaEntryLimit)
        throw ELhaError("an entry is too large");
    const int np = dictionaryBits <= 13 ? 14 : dictionaryBits + 1;
    const int pbit = dictionaryBits <= 13 ? 4 : 5;
    const std::size_t window = std::size_t{1} << dictionaryBits;
    std::string out;
    out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(originalSize, packed.size() * 4 + 4096)));
    TBitReader bits(packed);
    THuffmanDecoder tTree, cTree, pTree;
    std::uint32_t blockLeft = 0;
    while (out.size() < originalSize) {
        if (blockLeft == 0) {
            blockLeft = bits.Get(16);
            ReadPtLengths(bits, tTree, kNT, kTBit, 3);
            ReadCLengths(bits, tTree, cTree);
            ReadPtLengths(bits, pTree, np, pbit, -1);
            if (blockLeft == 0)
                continue;
        }
        --blockLeft;
        const int c = cTree.Decode(bits);
        if (c < 256) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        std::size_t len = static_cast<std::size_t>(c - 256 + kThreshold);
        int j = pTree.Decode(bits);
        std::size_t offset = static_cast<std::size_t>(j);
        if (j > 1)
            offset = (std::size_t{1} << (j - 1)) + bits.Get(j - 1);
        const std::size_t distance = offset + 1;
        if (distance > out.size() || distance > window)
            throw ELhaError("the compressed data refers before its start");
        len = static_cast<std::size_t>(std::min<std::uint64_t>(len, originalSize - out.size()));
        std::size_t from = out.size() - distance;
        for (std::size_t k = 0; k < len; ++k)
            out.push_back(out[from + k]);
    }
    return out;
}

bool IsSafeLhaName(std::string_view name) {
    if (name.empty() || name.front() == '/')
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t slash = name.find('/', start);
        if (slash == std::string_view::npos)
            slash = name.size();
        const std::string_view part = name.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = slash + 1;
    }
    for (char ch : name)
        if (ch == '\\' || static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            return false;
    return true;
}

// --- writer ---

void TLhaArchiveWriter::AddFile(const std::string& name, std::string_view data, std::int64_t time,
                                const TLhaProgress& progress) {
    if (!IsSafeLhaName(name))
        throw ELhaError("\"" + name + "\" cannot be stored: unsafe name");
    if (data.size() > kLhaEntryLimit)
        throw ELhaError("\"" + name + "\" is too large to be stored");
    TLhaEntry entry;
    entry.Name = name;
    entry.OriginalSize = data.size();
    entry.Crc = LhaCrc16(data);
    entry.Time = time;
    std::string packed = data.empty() ? std::string() : LhaCompress(data, progress);
    if (packed.size() >= data.size()) {
        entry.Method = "-lh0-";
        AddHeader(std::move(entry), data);
    } else {
        entry.Method = "-lh5-";
        AddHeader(std::move(entry), packed);
    }
}

void TLhaArchiveWriter::AddFolder(const std::string& name, std::int64_t time) {
    if (!IsSafeLhaName(name))
        throw ELhaError("\"" + name + "\" cannot be stored: unsafe name");
    TLhaEntry entry;
    entry.Name = name;
    entry.Method = "-lhd-";
    entry.IsFolder = true;
    entry.Time = time;
    AddHeader(std::move(entry), {});
}

void TLhaArchiveWriter::AddHeader(TLhaEntry entry, std::string_view data) {
    std::string folder, file;
    if (entry.IsFolder) {
        folder = entry.Name;
    } else {
        const std::size_t slash = entry.Name.rfind('/');
        if (slash != std::string::npos) {
            folder = entry.Name.substr(0, slash);
            file = entry.Name.substr(slash + 1);
        } else {
            file = entry.Name;
        }
    }
    std::string h;
    PutU16(h, 0);  // header size, set below
    h += entry.Method;
    entry.PackedSize = data.size();
    PutU32(h, entry.PackedSize);
    PutU32(h, entry.OriginalSize);
    PutU32(h, static_cast<std::uint64_t>(std::max<std::int64_t>(0, std::min<std::int64_t>(entry.Time, 0xFFFFFFFFll))));
    h.push_back(0x20);
    h.push_back(2);  // level
    PutU16(h, entry.Crc);
    h.push_back('W');
    auto extension = [&h](int type, std::string_view body) {
        PutU16(h, static_cast<std::uint32_t>(body.size() + 3));
        h.push_back(static_cast<char>(type));
        h += body;
    };
    extension(0x00, std::string(2, '\0'));  // header CRC, set below
    const std::size_t crcAt = h.size() - 2;
    if (!file.empty())
        extension(0x01, file);
    if (!folder.empty()) {
        std::string path = folder;
        std::replace(path.begin(), path.end(), '/', '\xFF');
        path.push_back('\xFF');
        extension(0x02, path);
    }
    std::string attribute;
    PutU16(attribute, entry.IsFolder ? 0x10 : 0x20);
    extension(0x40, attribute);
    PutU16(h, 0);  // no further extension
    // A size whose low byte is 0 would read as the end mark's byte: one padding byte.
    if ((h.size() & 0xFF) == 0)
        h.push_back('\0');
    if (h.size() > 0xFFFF)
        throw ELhaError("\"" + entry.Name + "\" cannot be stored: name too long");
    SetU16(h, 0, static_cast<std::uint32_t>(h.size()));
    SetU16(h, crcAt, LhaCrc16(h));
    entry.DataOffset = mBytes.size() + h.size();
    mBytes += h;
    mBytes += data;
    mEntries.push_back(std::move(entry));
}

std::string TLhaArchiveWriter::Finish() const {
    return mBytes + std::string(1, '\0');
}

// --- reader ---

TLhaArchiveReader::TLhaArchiveReader(std::string bytes) : mBytes(std::move(bytes)) {
    std::size_t pos = 0;
    const std::string_view all(mBytes);
    while (pos < all.size() && all[pos] != '\0') {
        if (all.size() - pos < 26)
            throw ELhaError("a header is cut short");
        const std::size_t size = GetU16(all, pos);
        if (static_cast<std::uint8_t>(all[pos + 20]) != 2)
            throw ELhaError("only level-2 headers are read");
        if (size < 26 || size > all.size() - pos)
            throw ELhaError("a header is cut short");
        std::string header(all.substr(pos, size));
        TLhaEntry entry;
        entry.Method = header.substr(2, 5);
        entry.PackedSize = GetU32(header, 7);
        entry.OriginalSize = GetU32(header, 11);
        entry.Time = GetU32(header, 15);
        entry.Crc = static_cast<std::uint16_t>(GetU16(header, 21));
        std::string file, folder;
        std::size_t at = 24;
        std::size_t next = GetU16(header, at);
        at += 2;
        std::size_t crcAt = 0;
        bool hasCrc = false;
        while (next != 0) {
            if (next < 3 || next > size - at)
                throw ELhaError("a header's extension runs past the header");
            const int type = static_cast<std::uint8_t>(header[at]);
            const std::string body = header.substr(at + 1, next - 3);
            if (type == 0x00 && body.size() >= 2) {
                crcAt = at + 1;
                hasCrc = true;
            } else if (type == 0x01) {
                file = body;
            } else if (type == 0x02) {
                folder = body;
            }
            const std::size_t following = GetU16(header, at + next - 2);
            at += next;
            next = following;
        }
        if (hasCrc) {
            const std::uint16_t stored = static_cast<std::uint16_t>(GetU16(header, crcAt));
            SetU16(header, crcAt, 0);
            if (LhaCrc16(header) != stored)
                throw ELhaError("a header's CRC does not match");
        }
        std::replace(folder.begin(), folder.end(), '\xFF', '/');
        while (!folder.empty() && folder.back() == '/')
            folder.pop_back();
        entry.IsFolder = entry.Method == "-lhd-";
        entry.Name = folder.empty() ? file : file.empty() ? folder : folder + "/" + file;
        if (!IsSafeLhaName(entry.Name))
            throw ELhaError("the entry \"" + entry.Name + "\" has an unsafe name");
        entry.DataOffset = pos + size;
        if (entry.PackedSize > all.size() - entry.DataOffset)
            throw ELhaError("the data of \"" + entry.Name + "\" runs past the end of the archive");
        pos = entry.DataOffset + entry.PackedSize;
        mEntries.push_back(std::move(entry));
    }
}

TLhaArchiveReader TLhaArchiveReader::FromFile(const std::string& path) {
    return TLhaArchiveReader(ReadWholeFile(path, kTemplateFileLimit));
}

std::string TLhaArchiveReader::Contents(const TLhaEntry& entry) const {
    if (entry.IsFolder)
        return {};
    const std::string_view data = std::string_view(mBytes).substr(entry.DataOffset, entry.PackedSize);
    std::string out;
    if (entry.Method == "-lh0-") {
        if (entry.PackedSize != entry.OriginalSize)
            throw ELhaError("\"" + entry.Name + "\": stored size does not match");
        out = std::string(data);
    } else if (const int bits = DictionaryBitsOf(entry.Method)) {
        try {
            out = LhaDecompress(data, entry.OriginalSize, bits);
        } catch (const ELhaError& e) {
            throw ELhaError("\"" + entry.Name + "\": " + e.what());
        }
    } else {
        throw ELhaError("\"" + entry.Name + "\": unsupported method " + entry.Method);
    }
    if (LhaCrc16(out) != entry.Crc)
        throw ELhaError("\"" + entry.Name + "\": CRC error");
    return out;
}

void TLhaArchiveReader::Test() const {
    for (const TLhaEntry& entry : mEntries)
        Contents(entry);
}

void TLhaArchiveReader::ExtractTo(const std::string& folder) const {
    const std::string root = IncludeTrailingDelimiter(folder);
    // The folder itself is the caller's choice; below it nothing goes through a link.
    std::error_code error;
    std::filesystem::create_directories(root, error);
    if (!std::filesystem::is_directory(root))
        throw EFileError("Cannot create \"" + root + "\": " + error.message());
    for (const TLhaEntry& entry : mEntries) {
        const std::string name = Cp932ToUtf8(entry.Name);
        if (!IsSafeLhaName(name))
            throw ELhaError("the entry \"" + name + "\" has an unsafe name");
        if (entry.IsFolder) {
            MakeFolders(root, name);
            continue;
        }
        const std::size_t slash = name.rfind('/');
        if (slash != std::string::npos)
            MakeFolders(root, name.substr(0, slash));
        const std::string target = root + name;
        struct stat st {};
        if (::lstat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            throw ELhaError("\"" + target + "\" is a folder");
        WriteFileAtomic(target, Contents(entry));
    }
}

}  // namespace quillon
