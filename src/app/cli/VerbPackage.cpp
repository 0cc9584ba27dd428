// quillon-cli package: the game disk packer as "Make Game disk..." runs it; quillon-cli lzh: the
// archive reader on an LZH archive.
#include "app/cli/CliVerbs.h"

#include "platform/LhaArchive.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "project/FloppyDrives.h"
#include "project/PathUtils.h"
#include "project/ProjPack.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace quillon::cli {

namespace {

constexpr const char* kPackageUsage = "usage: quillon-cli package FOLDER TARGET [--include-rtp] [--floppy]";
constexpr const char* kLzhUsage = "usage: quillon-cli lzh list|test|extract ARCHIVE [DIR]";

// Every message is printed; every question is answered OK.
class TPrintingMessageBox final : public IMessageBox {
public:
    int Show(const std::string& text, int, const void*) override {
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
        return mrOk;
    }
};

class TPrintingHost final : public IPackHost {
public:
    explicit TPrintingHost(TFolderFloppyDrive* floppy) : mFloppy(floppy) {}
    bool Progress(const std::string&, std::uint64_t, std::uint64_t) override { return true; }
    void Delivered(const std::string& path, std::uint64_t size) override {
        std::printf("%s %llu\n", path.c_str(), static_cast<unsigned long long>(size));
    }
    void BeforeDiskPrompt(int) override {
        if (mFloppy)
            mFloppy->ChangeDisk();
    }
    void Reason(const std::string& text) override { std::fprintf(stderr, "quillon-cli: %s\n", text.c_str()); }

private:
    TFolderFloppyDrive* mFloppy;
};

std::string Absolute(const std::string& path) {
    return IncludeTrailingDelimiter(std::filesystem::absolute(path).lexically_normal().string());
}

}  // namespace

int VerbPackage(const TArgs& args) {
    std::vector<std::string> positional;
    bool includeRtp = false, floppy = false;
    for (const std::string& arg : args) {
        if (arg == "--include-rtp")
            includeRtp = true;
        else if (arg == "--floppy")
            floppy = true;
        else if (!arg.empty() && arg[0] == '-')
            return Fail(arg, kPackageUsage);
        else
            positional.push_back(arg);
    }
    if (positional.size() != 2)
        return Fail("package", kPackageUsage);
    const std::string folder = Absolute(positional[0]);
    const std::string target = Absolute(positional[1]);
    if (!FolderExists(folder) || !std::filesystem::exists(folder + "GMK_RT.exe"))
        return Fail(positional[0], "not a project folder (no GMK_RT.exe)");
    // Packing marks the project's settings file while it works: no other writer meanwhile.
    const TProjectLock lock = LockForWriting(folder);
    try {
        if (!SetCurrentDir(folder))
            return Fail(positional[0], "cannot enter the folder");
        SetProjectPath(folder);
        std::unique_ptr<IFloppyDrives> drives;
        TFolderFloppyDrive* simulated = nullptr;
        if (floppy) {
            auto drive = std::make_unique<TFolderFloppyDrive>(target);
            simulated = drive.get();
            drives = std::move(drive);
        } else {
            drives = std::make_unique<TSystemFloppyDrives>();
        }
        TProjectPackModel model(*drives);
        model.StoreOption = false;
        model.IncludeRtp = includeRtp;
        model.SetTarget(target);
        TPrintingMessageBox box;
        IMessageBox* previous = SetMessageBox(&box);
        TPrintingHost host(simulated);
        int result = 0;
        try {
            result = model.Pack(host);
        } catch (...) {
            SetMessageBox(previous);
            throw;
        }
        SetMessageBox(previous);
        if (simulated)
            simulated->ChangeDisk();
        return result == mrOk ? 0 : 1;
    } catch (const std::exception& e) {
        return Fail(positional[0], e.what());
    }
}

int VerbLzh(const TArgs& args) {
    if (args.size() < 2 || args.size() > 3)
        return Fail("lzh", kLzhUsage);
    const std::string& action = args[0];
    if (action != "list" && action != "test" && action != "extract")
        return Fail(action, kLzhUsage);
    if (action != "extract" && args.size() == 3)
        return Fail("lzh", kLzhUsage);
    try {
        const TLhaArchiveReader reader = TLhaArchiveReader::FromFile(args[1]);
        if (action == "list") {
            for (const TLhaEntry& e : reader.Entries())
                std::printf("%s %10llu %10llu %04x %s%s\n", e.Method.c_str(), static_cast<unsigned long long>(e.OriginalSize),
                            static_cast<unsigned long long>(e.PackedSize), e.Crc, Cp932ToUtf8(e.Name).c_str(),
                            e.IsFolder ? "/" : "");
        } else if (action == "test") {
            reader.Test();
            std::printf("ok %zu entries\n", reader.Entries().size());
        } else {
            reader.ExtractTo(args.size() == 3 ? args[2] : std::string("."));
            std::printf("extracted %zu entries\n", reader.Entries().size());
        }
    } catch (const std::exception& e) {
        return Fail(args[1], e.what());
    }
    return 0;
}

}  // namespace quillon::cli
