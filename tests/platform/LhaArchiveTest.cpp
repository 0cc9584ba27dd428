// The LZH archiver: the -lh5- coder against its own decoder and Debian's lha, hostile archives,
// the command line and the response file's rules.
#include "platform/LhaArchive.h"
#include "platform/LhaArchiveCommand.h"

#include "platform/FileUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

std::string RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string s(n, '\0');
    for (char& ch : s)
        ch = static_cast<char>(random() & 0xFF);
    return s;
}

// Text-like data with repeats near and far (up to the window's edge).
std::string Structured(std::size_t n) {
    std::mt19937 random(7);
    std::string s;
    const char* words[] = {"hero ", "slime ", "castle ", "potion ", "\r\n", "0123 ", "dragon "};
    while (s.size() < n) {
        if (s.size() > 9000 && random() % 5 == 0) {
            const std::size_t distance = 8100 + random() % 91;  // right at the window's end
            const std::size_t len = 3 + random() % 300;
            for (std::size_t k = 0; k < len; ++k)
                s.push_back(s[s.size() - distance]);
        } else {
            s += words[random() % 7];
        }
    }
    s.resize(n);
    return s;
}

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spit(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

bool HaveLha() {
    return std::system("lha --version >/dev/null 2>&1") == 0 || std::system("command -v lha >/dev/null 2>&1") == 0;
}

class LhaTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-lha-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
    }
    void TearDown() override { fs::remove_all(Root); }
    std::string Root;
};

TEST(LhaCodec, RoundTripsAndShrinksWhatRepeats) {
    struct TCase {
        const char* Name;
        std::string Data;
        bool Shrinks;
    };
    std::string allBytes;
    for (int i = 0; i < 256 * 40; ++i)
        allBytes.push_back(static_cast<char>(i * 7));
    const TCase cases[] = {
        {"one byte", "x", false},
        {"one symbol, long", std::string(200000, 'a'), true},
        {"random", RandomBytes(70000, 1), false},
        {"structured, several blocks", Structured(600000), true},
        {"every byte value", allBytes, true},
        {"two symbols", std::string(5000, 'a') + std::string(5000, 'b'), true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string packed = LhaCompress(c.Data);
        EXPECT_EQ(LhaDecompress(packed, c.Data.size(), 13), c.Data);
        if (c.Shrinks)
            EXPECT_LT(packed.size(), c.Data.size() / 2);
    }
    EXPECT_EQ(LhaCrc16("123456789"), 0xBB3D);  // the check value of CRC-16/ARC
}

TEST(LhaCodec, DamagedStreamsAreRefusedNotCrashed) {
    const std::string data = Structured(50000);
    const std::string packed = LhaCompress(data);
    // Cut short: refused (never read past the end, never an endless loop).
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{5}, packed.size() / 2, packed.size() - 40})
        EXPECT_THROW(LhaDecompress(packed.substr(0, cut), data.size(), 13), ELhaError) << cut;
    // Flipped bits: either refused or decoded to something; the size never exceeds the claim.
    for (std::size_t at = 0; at < packed.size(); at += packed.size() / 37 + 1) {
        std::string bad = packed;
        bad[at] = static_cast<char>(bad[at] ^ 0x5A);
        try {
            EXPECT_LE(LhaDecompress(bad, data.size(), 13).size(), data.size());
        } catch (const ELhaError&) {
        }
    }
}

// A level-2 header written by hand, so that names the writer refuses can be tried on the reader.
std::string RawEntry(const std::string& folder, const std::string& file, const std::string& data, bool goodHeaderCrc = true) {
    std::string h(2, '\0');
    auto u16 = [&h](unsigned v) {
        h.push_back(static_cast<char>(v & 0xFF));
        h.push_back(static_cast<char>(v >> 8));
    };
    auto u32 = [&](unsigned v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    h += "-lh0-";
    u32(static_cast<unsigned>(data.size()));
    u32(static_cast<unsigned>(data.size()));
    u32(0);
    h.push_back(0x20);
    h.push_back(2);
    u16(LhaCrc16(data));
    h.push_back('U');
    u16(5);
    h.push_back(0);
    u16(0);
    const std::size_t crcAt = h.size() - 2;
    u16(static_cast<unsigned>(file.size() + 3));
    h.push_back(1);
    h += file;
    u16(static_cast<unsigned>(folder.size() + 3));
    h.push_back(2);
    h += folder;
    u16(0);
    h[0] = static_cast<char>(h.size() & 0xFF);
    h[1] = static_cast<char>(h.size() >> 8);
    const std::uint16_t crc = static_cast<std::uint16_t>(LhaCrc16(h) ^ (goodHeaderCrc ? 0 : 1));
    h[crcAt] = static_cast<char>(crc & 0xFF);
    h[crcAt + 1] = static_cast<char>(crc >> 8);
    return h + data;
}

TEST(LhaReader, RefusesUnsafeNamesAndDamagedHeaders) {
    struct TCase {
        const char* Name;
        std::string Archive;
        bool Accepted;
    };
    const TCase cases[] = {
        {"plain", RawEntry("Music\xFF", "Town.mid", "abc") + '\0', true},
        {"parent folder", RawEntry("..\xFF", "x", "abc") + '\0', false},
        {"parent inside", RawEntry("Music\xFF..\xFF..\xFF", "x", "abc") + '\0', false},
        {"absolute", RawEntry("\xFF" "etc\xFF", "passwd", "abc") + '\0', false},
        {"backslash", RawEntry("", "..\\x", "abc") + '\0', false},
        {"control character", RawEntry("", "a\nb", "abc") + '\0', false},
        {"header CRC", RawEntry("", "x", "abc", false) + '\0', false},
        {"data past the end", RawEntry("", "x", "abcdef").substr(0, 40), false},
        {"header cut short", RawEntry("", "x", "abc").substr(0, 20), false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Accepted) {
            const TLhaArchiveReader reader(c.Archive);
            ASSERT_EQ(reader.Entries().size(), 1u);
            EXPECT_EQ(reader.Entries()[0].Name, "Music/Town.mid");
            EXPECT_EQ(reader.Contents(reader.Entries()[0]), "abc");
        } else {
            EXPECT_THROW(TLhaArchiveReader{c.Archive}, ELhaError);
        }
    }
    // A stored CRC that does not match the data: listed, but the test fails.
    std::string bad = RawEntry("", "x", "abc") + '\0';
    bad[bad.size() - 2] = 'X';
    const TLhaArchiveReader reader(bad);
    EXPECT_THROW(reader.Test(), ELhaError);
}

TEST_F(LhaTest, ExtractionNeverWritesThroughALink) {
    TLhaArchiveWriter writer;
    writer.AddFolder("Sub", 0);
    writer.AddFile("Sub/file.txt", "inside", 0);
    const TLhaArchiveReader reader(writer.Finish());
    fs::create_directories(Root + "elsewhere");
    fs::create_directories(Root + "dest");
    fs::create_directory_symlink(Root + "elsewhere", Root + "dest/Sub");
    EXPECT_THROW(reader.ExtractTo(Root + "dest"), ELhaError);
    EXPECT_TRUE(fs::is_empty(Root + "elsewhere"));
    // A link in place of the file itself is replaced, its target left alone.
    fs::remove(Root + "dest/Sub");
    fs::create_directories(Root + "dest/Sub");
    Spit(Root + "victim", "keep");
    fs::create_symlink(Root + "victim", Root + "dest/Sub/file.txt");
    reader.ExtractTo(Root + "dest");
    EXPECT_EQ(Slurp(Root + "victim"), "keep");
    EXPECT_FALSE(fs::is_symlink(Root + "dest/Sub/file.txt"));
    EXPECT_EQ(Slurp(Root + "dest/Sub/file.txt"), "inside");
}

TEST_F(LhaTest, DebiansLhaListsTestsAndExtractsOurArchives) {
    if (!HaveLha())
        GTEST_SKIP() << "lha (package lhasa) is not installed";
    TLhaArchiveWriter writer;
    const std::string text = Structured(300000), noise = RandomBytes(20000, 3);
    writer.AddFolder("CharSet", 1700000000);
    writer.AddFile("CharSet/Hero1.png", noise, 1700000000);
    writer.AddFolder("Empty", 1700000000);
    writer.AddFile("GMK_RT.kdb", text, 1700000000);
    writer.AddFile("GMK_RT.ini", "", 1700000000);
    writer.AddFile("Map0001.kmu", std::string(70000, 'z'), 1700000000);
    writer.AddFile("Deep/er/still.txt", "x", 1700000000);
    EXPECT_EQ(writer.Entries()[1].Method, "-lh0-");
    EXPECT_EQ(writer.Entries()[3].Method, "-lh5-");
    Spit(Root + "Game.lzh", writer.Finish());
    const std::string quiet = " >" + Root + "lha.log 2>&1";
    ASSERT_EQ(std::system(("lha t " + Root + "Game.lzh" + quiet).c_str()), 0) << Slurp(Root + "lha.log");
    ASSERT_EQ(std::system(("lha l " + Root + "Game.lzh" + quiet).c_str()), 0);
    const std::string listing = Slurp(Root + "lha.log");
    EXPECT_NE(listing.find("GMK_RT.kdb"), std::string::npos) << listing;  // letter case kept
    EXPECT_NE(listing.find("CharSet/Hero1.png"), std::string::npos) << listing;
    fs::create_directories(Root + "out");
    ASSERT_EQ(std::system(("cd " + Root + "out && lha xq ../Game.lzh" + quiet).c_str()), 0) << Slurp(Root + "lha.log");
    EXPECT_EQ(Slurp(Root + "out/CharSet/Hero1.png"), noise);
    EXPECT_EQ(Slurp(Root + "out/GMK_RT.kdb"), text);
    EXPECT_EQ(Slurp(Root + "out/Map0001.kmu"), std::string(70000, 'z'));
    EXPECT_EQ(Slurp(Root + "out/Deep/er/still.txt"), "x");
    EXPECT_TRUE(fs::is_directory(Root + "out/Empty"));
    EXPECT_EQ(fs::file_size(Root + "out/GMK_RT.ini"), 0u);
}

TEST(LhaCommand, OnlyTheSwitchesOfTheGameDiskAreTaken) {
    struct TCase {
        const char* Line;
        int Code;
    };
    const TCase cases[] = {
        {"a -x \"a.lzh\" @r.lst", kUnlhaBadCommand},
        {"x -+ -r2 -d -jsl \"a.lzh\" @r.lst", kUnlhaBadCommand},
        {"a -+ -r2 -d -jsl \"a.lzh\"", kUnlhaBadCommand},
        {"a -+ -r2 -d -jsl @r.lst", kUnlhaBadCommand},
        {"a -r1 \"a.lzh\" @r.lst", kUnlhaBadCommand},
        {"", kUnlhaBadCommand},
        {"a -+ -r2 -d -jsl \"/nonexistent/a.lzh\" @/nonexistent/r.lst", kUnlhaFailed},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Unlha(c.Line).Code, c.Code) << c.Line;
    const std::vector<std::string> words = SplitUnlhaCommandLine("a -+ \"my dir/G.lzh\" @/tmp/with space/R.lst");
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[2], "my dir/G.lzh");
    EXPECT_EQ(words[3], "@/tmp/with space/R.lst");
}

TEST_F(LhaTest, ResponseFileRules) {
    const std::string a = Root + "a/", b = Root + "b/";
    Spit(a + "CharSet/Hero.png", "rtp hero");
    Spit(a + "CharSet/Other.png", "rtp other");
    Spit(a + "Music/Town.mid", "rtp town");
    Spit(b + "charset/hero.PNG", "own hero");  // other letter case: replaces the package's
    Spit(b + "Map0001.kmu", "1");
    Spit(b + "map0002.KMU", "2");
    Spit(b + "Map01.kmu", "not four");
    Spit(b + "GMK_RT.exe", "exe");
    Spit(Root + "outside.txt", "secret");
    fs::create_symlink(Root + "outside.txt", b + "charset/link.png");
    ::mkfifo((b + "charset/pipe.png").c_str(), 0600);
    const std::string base = "\"" + a + "\"\nCharSet\nMusic\nMovie\n\"" + b + "\"\nCharSet\nMovie\nGMK_RT.exe\nMap????.kmu\n";
    std::vector<std::string> skipped;
    const std::vector<TLhaSource> sources = CollectLhaSources(base, {}, &skipped);
    std::vector<std::string> names;
    for (const TLhaSource& s : sources)
        names.push_back(s.Name + (s.IsFolder ? "/" : "") + (s.IsFolder ? "" : "=" + Slurp(s.Path)));
    const std::vector<std::string> expected = {"CharSet/", "CharSet/Other.png=rtp other", "Music/", "Music/Town.mid=rtp town",
                                               "CharSet/hero.PNG=own hero", "GMK_RT.exe=exe", "Map0001.kmu=1", "map0002.KMU=2"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(skipped.size(), 2u);  // the link and the FIFO

    struct TCase {
        const char* Name;
        std::string Text;
    };
    Spit(b + "back\\slash.png", "x");
    const TCase failures[] = {
        {"missing plain file", "\"" + b + "\"\nGMK_RT.kdb\n"},
        {"parent folder", "\"" + b + "\"\n../a/CharSet\n"},
        {"absolute line", "\"" + b + "\"\n/etc/passwd\n"},
        {"backslash in a line", "\"" + b + "\"\nCharSet\\x.png\n"},
        {"backslash in a file's name", "\"" + b + "\"\nback?slash.png\n"},
        {"named link", "\"" + b + "\"\ncharset/link.png\n"},
    };
    for (const TCase& c : failures)
        EXPECT_THROW(CollectLhaSources(c.Text, {}), ELhaError) << c.Name;

    // Left out on request.
    TUnlhaOptions options;
    options.Exclude = [&](const std::string& from, const std::string& relative) { return from == a && relative == "Music/Town.mid"; };
    const std::vector<TLhaSource> fewer = CollectLhaSources("\"" + a + "\"\nMusic\n", options);
    ASSERT_EQ(fewer.size(), 1u);
    EXPECT_TRUE(fewer[0].IsFolder);
}

TEST_F(LhaTest, TheCommandWritesTheArchiveAndReportsProgress) {
    Spit(Root + "p/Music/Town.mid", Structured(100000));
    Spit(Root + "p/GMK_RT.exe", RandomBytes(3000, 9));
    Spit(Root + "r.lst", "\"" + Root + "p/\"\r\nMusic\r\nGMK_RT.exe\r\n");
    std::uint64_t last = 0, total = 0;
    TUnlhaOptions options;
    options.Progress = [&](std::uint64_t done, std::uint64_t all) {
        EXPECT_GE(done, last);
        last = done;
        total = all;
        return true;
    };
    const TUnlhaResult result = Unlha("a -+ -r2 -d -jsl \"" + Root + "G.lzh\" @" + Root + "r.lst", options);
    ASSERT_EQ(result.Code, kUnlhaOk) << result.Message;
    EXPECT_EQ(total, 103000u);
    EXPECT_EQ(last, total);
    const TLhaArchiveReader reader = TLhaArchiveReader::FromFile(Root + "G.lzh");
    reader.Test();
    ASSERT_EQ(reader.Entries().size(), 3u);
    EXPECT_EQ(reader.Contents(reader.Entries()[1]), Slurp(Root + "p/Music/Town.mid"));

    // Cancelled: no archive replaces the old one.
    options.Progress = [](std::uint64_t, std::uint64_t) { return false; };
    Spit(Root + "G.lzh", "old");
    EXPECT_EQ(Unlha("a -+ -r2 -d -jsl \"" + Root + "G.lzh\" @" + Root + "r.lst", options).Code, kUnlhaCancelled);
    EXPECT_EQ(Slurp(Root + "G.lzh"), "old");
}

TEST_F(LhaTest, NamesAreStoredAsCp932) {
    const std::string name = "\xE5\x8B\x87\xE8\x80\x85.png";  // "勇者.png" in UTF-8
    Spit(Root + "p/CharSet/" + name, "hero");
    Spit(Root + "r.lst", "\"" + Root + "p/\"\nCharSet\n");
    ASSERT_EQ(Unlha("a -+ -r2 -d -jsl \"" + Root + "G.lzh\" @" + Root + "r.lst").Code, kUnlhaOk);
    const TLhaArchiveReader reader = TLhaArchiveReader::FromFile(Root + "G.lzh");
    ASSERT_EQ(reader.Entries().size(), 2u);
    EXPECT_EQ(reader.Entries()[1].Name, "CharSet/\x97\x45\x8E\xD2.png");
    reader.ExtractTo(Root + "out");
    EXPECT_EQ(Slurp(Root + "out/CharSet/" + name), "hero");
}

}  // namespace
}  // namespace quillon
