#include "project/SplitFile.h"

#include "platform/FileUtils.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace quillon {

int SplitFile(const std::string& source, const std::string& folder, std::int64_t firstSize, std::int64_t nextSize) {
    if (firstSize <= 0 || nextSize <= 0)
        throw EFileError("Cannot split \"" + source + "\": piece sizes must be positive");
    const int fd = OpenRegularFile(source);
    struct TClose {
        int Fd;
        ~TClose() { ::close(Fd); }
    } closer{fd};
    const std::filesystem::path stem = std::filesystem::path(source).filename().replace_extension();
    const std::string target = IncludeTrailingDelimiter(folder);
    std::vector<char> buffer(static_cast<std::size_t>(std::max(firstSize, nextSize)));
    int pieces = 0;
    for (;;) {
        const std::int64_t size = pieces == 0 ? firstSize : nextSize;
        std::int64_t got = 0;
        while (got < size) {
            const ssize_t n = ::read(fd, buffer.data() + got, static_cast<std::size_t>(size - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw EFileError("Cannot read \"" + source + "\": " + std::strerror(errno));
            if (n == 0)
                break;
            got += n;
        }
        if (got <= 0)
            break;
        ++pieces;
        char extension[16];
        std::snprintf(extension, sizeof extension, ".%.3d", pieces);
        const std::string piece = target + stem.string() + extension;
        WriteFileAtomic(piece, std::string(buffer.data(), static_cast<std::size_t>(got)));
        if (got < size)
            break;
    }
    return pieces;
}

}  // namespace quillon
