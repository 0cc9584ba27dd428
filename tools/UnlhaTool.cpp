// The archiver delivered beside the set-up program as "UNLHA32.DLL": the same command line the
// editor gives its archiver ("a -+ -r2 -d -jsl "ARCHIVE" @RESPONSE"), plus "l", "t" and
// "x ARCHIVE [DIR]" to list, test and extract. Exit status: the archiver's result.
#include "platform/LhaArchive.h"
#include "platform/LhaArchiveCommand.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    using namespace quillon;
    if (argc >= 3 && (std::string(argv[1]) == "l" || std::string(argv[1]) == "t" || std::string(argv[1]) == "x")) {
        try {
            const TLhaArchiveReader reader = TLhaArchiveReader::FromFile(argv[2]);
            const std::string action = argv[1];
            if (action == "l")
                for (const TLhaEntry& e : reader.Entries())
                    std::printf("%s %10llu %s\n", e.Method.c_str(), static_cast<unsigned long long>(e.OriginalSize),
                                Cp932ToUtf8(e.Name).c_str());
            else if (action == "t")
                reader.Test();
            else
                reader.ExtractTo(argc >= 4 ? argv[3] : ".");
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", argv[2], e.what());
            return kUnlhaFailed;
        }
        return kUnlhaOk;
    }
    std::string line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        line += (i > 1 ? " " : "") + (arg.find(' ') != std::string::npos && arg[0] != '@' ? "\"" + arg + "\"" : arg);
    }
    const TUnlhaResult result = Unlha(line);
    if (result.Code != kUnlhaOk)
        std::fprintf(stderr, "%s\n", result.Message.c_str());
    return result.Code;
}
