// Files written as a stream: replaced only on Commit, the previous file untouched and no temporary
// file left when the writer gives up; and whole-file reads that take no more memory than the file.
#include "data/FileWriteStream.h"
#include "platform/FileUtils.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

using namespace quillon;

namespace {

std::string Folder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quillon-" + name + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

int FilesIn(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

}  // namespace

TEST(FileWriteStream, ReplacesTheFileOnlyOnCommit) {
    const std::string folder = Folder("writestream");
    const std::string path = folder + "picture.png";
    WriteFileAtomic(path, "old");
    // Small writes, and one larger than the buffer.
    std::string expected;
    {
        TFileWriteStream stream(path);
        for (int i = 0; i < 1000; ++i) {
            const std::string piece = "piece " + std::to_string(i) + ";";
            stream.Write(piece.data(), piece.size());
            expected += piece;
        }
        const std::string big(3 * 1024 * 1024 + 7, 'b');
        stream.Write(big.data(), big.size());
        expected += big;
        EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(expected.size()));
        EXPECT_EQ(ReadWholeFile(path), "old");  // nothing replaced yet
        EXPECT_THROW(stream.SetPosition(0), std::logic_error);
        stream.Commit();
    }
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_EQ(FilesIn(folder), 1);

    // Given up half way: the previous file stays, the temporary one goes.
    {
        TFileWriteStream stream(path);
        stream.Write("new", 3);
    }
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_EQ(FilesIn(folder), 1);

    EXPECT_THROW(TFileWriteStream(folder + "no/such/folder.png"), EFileError);
    std::filesystem::remove_all(folder);
}

TEST(FileUtils, WholeFileReadsHoldNoMoreThanTheFile) {
    const std::string folder = Folder("readwhole");
    for (const std::size_t size : {std::size_t{0}, std::size_t{4096}, std::size_t{3 * 1024 * 1024 + 5}}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7 + i / 251);
        WriteFileAtomic(folder + "f.bin", bytes);
        const std::string read = ReadWholeFile(folder + "f.bin");
        EXPECT_EQ(read, bytes);
        // The buffer is the file's size, not twice it (a 4 MB map read whole cost 8 MB).
        EXPECT_LE(read.capacity(), size + 4096) << size;
    }
    std::filesystem::remove_all(folder);
}
