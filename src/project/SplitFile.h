// Splitting a file into numbered pieces for a game disk.
#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// Writes the source in pieces into the folder: the first piece of firstSize bytes, every further
// one of nextSize bytes (the last one shorter), each named like the source with the extension
// replaced by the piece number in three digits (".001", ".002" …). Answers the number of pieces,
// 0 for an empty source. Raises EFileError naming the file that failed.
int SplitFile(const std::string& source, const std::string& folder, std::int64_t firstSize, std::int64_t nextSize);

}  // namespace quillon
