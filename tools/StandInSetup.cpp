// The stand-in set-up program delivered on game disks as "Setup.exe": it reads "Setup.ini"
// beside itself, joins the archive's pieces when the game came on several disks, and extracts
// the archive into the folder it is given. Entries with unsafe names, and archives that are
// damaged, are refused before anything is written.
//
//   Setup.exe TARGET [DISKFOLDER...]
//
// Pieces ("<ProjectName>.001" …) are looked for beside the program, in the DISKFOLDERs given,
// and in folders "Disk<n>" beside the program's folder.
#include "platform/FileUtils.h"
#include "platform/LhaArchive.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string ProgramFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        exe = std::filesystem::absolute(argv0);
    return quillon::IncludeTrailingDelimiter(exe.parent_path().string());
}

std::string FindPiece(const std::string& name, int number, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders)
        if (quillon::FileExists(folder + name))
            return folder + name;
    throw quillon::EFileError("disk " + std::to_string(number) + " (\"" + name + "\") was not found");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quillon;
    if (argc < 2) {
        std::fprintf(stderr, "usage: Setup.exe TARGET [DISKFOLDER...]\n");
        return 2;
    }
    try {
        const std::string here = ProgramFolder(argv[0]);
        TProfileFile ini(here + "Setup.ini");
        const std::string project = ini.ReadString("Setup", "ProjectName", "");
        const int disks = ini.ReadInteger("Setup", "DiskNumber", 0);
        if (project.empty() || project.find('/') != std::string::npos || project == "." || project == "..")
            throw EFileError("\"" + here + "Setup.ini\" names no project");
        if (disks < 0 || disks > 999)
            throw EFileError("\"" + here + "Setup.ini\" gives an impossible number of disks");
        std::string archive;
        if (disks == 0) {
            archive = ReadWholeFile(here + project + ".lzh", kTemplateFileLimit);
        } else {
            std::vector<std::string> folders{here};
            for (int i = 2; i < argc; ++i)
                folders.push_back(IncludeTrailingDelimiter(argv[i]));
            const std::filesystem::path parent = std::filesystem::path(here).parent_path().parent_path();
            for (int i = 1; i <= disks; ++i)
                folders.push_back(IncludeTrailingDelimiter((parent / ("Disk" + std::to_string(i))).string()));
            for (int i = 1; i <= disks; ++i) {
                char suffix[8];
                std::snprintf(suffix, sizeof suffix, ".%.3d", i);
                archive += ReadWholeFile(FindPiece(project + suffix, i, folders), kTemplateFileLimit);
                if (archive.size() > kTemplateFileLimit)
                    throw EFileError("the archive is too large");
            }
        }
        const TLhaArchiveReader reader(std::move(archive));
        reader.Test();
        reader.ExtractTo(argv[1]);
        std::printf("installed %zu entries of \"%s\" into %s\n", reader.Entries().size(),
                    ini.ReadString("Setup", "GameTitle", project).c_str(), argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Setup.exe: %s\n", e.what());
        return 1;
    }
    return 0;
}
