// The game disk packer: the response file, the delivered files, floppy pieces and prompts, and
// that every way out leaves the project without FullPackageFlag and without the work folder.
#include "project/ProjPack.h"

#include "platform/LhaArchive.h"
#include "platform/MessageBox.h"
#include "platform/ProfileFile.h"
#include "project/ProjectSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace quillon {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spit(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string Noise(std::size_t n) {
    std::mt19937 random(5);
    std::string s(n, '\0');
    for (char& ch : s)
        ch = static_cast<char>(random());
    return s;
}

class TScriptedBox final : public IMessageBox {
public:
    std::vector<std::string> Texts;
    std::deque<int> Answers;
    TScriptedBox() { mPrevious = SetMessageBox(this); }
    ~TScriptedBox() override { SetMessageBox(mPrevious); }
    int Show(const std::string& text, int, const void*) override {
        Texts.push_back(text);
        if (Answers.empty())
            return mrOk;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

private:
    IMessageBox* mPrevious = nullptr;
};

// A floppy drive at one folder whose emptiness the test scripts (one answer a question).
class TScriptedFloppy final : public IFloppyDrives {
public:
    std::string Folder;
    mutable std::deque<bool> Empty;
    bool IsFloppy(const std::string& path) const override { return !Folder.empty() && path == Folder; }
    bool IsReady(const std::string&) const override { return true; }
    bool IsEmpty(const std::string&) const override {
        if (Empty.empty())
            return true;
        const bool answer = Empty.front();
        Empty.pop_front();
        return answer;
    }
    std::string FindFloppy() const override { return Folder; }
};

class TRecordingHost final : public IPackHost {
public:
    std::vector<std::string> Delivered_;
    std::vector<std::uint64_t> Sizes;
    std::string FlagDuringArchiving = "unseen";
    std::string Ini;
    std::string CancelAt;  // the step (its beginning) at which the user cancels
    std::string Reason_;
    bool ThrowOnDelivery = false;
    int Began = 0, Ended = 0;
    void BeginWork() override { ++Began; }
    void EndWork() override { ++Ended; }
    bool Progress(const std::string& step, std::uint64_t, std::uint64_t) override {
        if (step == "Archiving" && FlagDuringArchiving == "unseen")
            FlagDuringArchiving = TProfileFile(Ini).ReadString("GMK_RT", "FullPackageFlag", "");
        return CancelAt.empty() || step.rfind(CancelAt, 0) != 0;
    }
    void Reason(const std::string& text) override { Reason_ = text; }
    void Delivered(const std::string& path, std::uint64_t size) override {
        if (ThrowOnDelivery)
            throw std::runtime_error("disk full");
        Delivered_.push_back(fs::path(path).filename().string());
        Sizes.push_back(size);
    }
};

class ProjPackTest : public ::testing::Test {
public:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillon-pack-XXXXXX").string();
        Root = std::string(::mkdtemp(pattern.data())) + "/";
        Project = Root + "base/MyGame/";
        Rtp = Root + "rtp/";
        Editor = Root + "editor/";
        Target = Root + "target/";
        Spit(Project + "GMK_RT.exe", "runtime");
        Spit(Project + "GMK_RT.kdb", std::string(5000, 'd'));
        Spit(Project + "GMK_RT.kmt", "tree");
        Spit(Project + "GMK_RT.ini", "[GMK_RT]\r\nGameTitle=My Game\r\n");
        Spit(Project + "Map0001.kmu", "map1");
        Spit(Project + "CharSet/Hero.png", "own hero");
        Spit(Project + "GMK_RT.log", "not packed");
        Spit(Rtp + "CharSet/Hero.bmp", "rtp hero, left out");
        Spit(Rtp + "CharSet/Other.png", "rtp other");
        Spit(Rtp + "Music/Town.mid", "rtp town");
        Spit(Editor + "Setup.exe.dat", "setup");
        Spit(Editor + "UNLHA32.DLL", "archiver");
        Spit(Editor + "UNLHA32.TXT", "notes");
        fs::create_directories(Root + "work");
        Floppy.Folder = "";
    }
    void TearDown() override { fs::remove_all(Root); }

    TProjectPackModel Model() {
        TProjectPackModel model(Floppy);
        model.StoreOption = false;
        model.ProjectFolder = Project;
        model.RtpFolder = Rtp;
        model.EditorFolder = Editor;
        model.WorkParent = Root + "work";
        model.SetTarget(Target);
        Host.Ini = Project + "GMK_RT.ini";
        return model;
    }
    bool FlagLeft() const { return TProfileFile(Project + "GMK_RT.ini").Read("GMK_RT", "FullPackageFlag").has_value(); }
    std::vector<std::string> ArchiveNames(const std::string& path) const {
        std::vector<std::string> names;
        const TLhaArchiveReader reader = TLhaArchiveReader::FromFile(path);
        for (const TLhaEntry& e : reader.Entries())
            names.push_back(e.Name);
        return names;
    }

    std::string Root, Project, Rtp, Editor, Target;
    TScriptedFloppy Floppy;
    TRecordingHost Host;
    TScriptedBox Box;
};

TEST_F(ProjPackTest, ResponseFileListsThePackageAroundTheProject) {
    TProjectPackModel model = Model();
    model.IncludeRtp = false;
    const std::string without = model.ResponseText();
    EXPECT_EQ(without.substr(0, without.find('\n')), "\"" + Project + "\"");
    EXPECT_EQ(without.substr(without.size() - 13), "\nMap????.kmu\n");
    model.IncludeRtp = true;
    const std::string with = model.ResponseText();
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = with.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(with.substr(at, end - at));
    ASSERT_EQ(lines.size(), 1u + 14 + 1 + 14 + 5 + 1);
    EXPECT_EQ(lines[0], "\"" + Rtp + "\"");
    EXPECT_EQ(lines[1], "Backdrop");
    EXPECT_EQ(lines[14], "Title");
    EXPECT_EQ(lines[15], "\"" + Project + "\"");
    EXPECT_EQ(lines[30], "GMK_RT.exe");
    EXPECT_EQ(lines.back(), "\"" + Rtp + "\"");
    EXPECT_EQ(model.ProjectName(), "MyGame");
    EXPECT_EQ(model.CommandLine(), "a -+ -r2 -d -jsl \"" + Root + "work/GameDisk/MyGame.lzh\" @" + Root + "work/GameDisk/Response.lst");
}

TEST_F(ProjPackTest, PacksToAFolder) {
    for (const bool includeRtp : {false, true}) {
        SCOPED_TRACE(includeRtp);
        fs::remove_all(Target);
        Host = TRecordingHost();
        Box.Texts.clear();
        TProjectPackModel model = Model();
        model.IncludeRtp = includeRtp;
        ASSERT_EQ(model.Pack(Host), mrOk) << (Box.Texts.empty() ? "" : Box.Texts.back());
        // "Setup.ini" last: a disk without it was not finished.
        const std::vector<std::string> delivered = {"Setup.exe", "UNLHA32.DLL", "UNLHA32.TXT", "MyGame.lzh", "Setup.ini"};
        EXPECT_EQ(Host.Delivered_, delivered);
        EXPECT_EQ(Box.Texts, std::vector<std::string>{kPackCompletedMessage});
        EXPECT_EQ(TProfileFile(Target + "Setup.ini").ReadString("Setup", "DiskNumber", "?"), "0");
        EXPECT_EQ(TProfileFile(Target + "Setup.ini").ReadString("Setup", "GameTitle", "?"), "My Game");
        EXPECT_EQ(Slurp(Target + "Setup.exe"), "setup");
        EXPECT_EQ(Host.FlagDuringArchiving, includeRtp ? "1" : "");
        EXPECT_FALSE(FlagLeft());
        EXPECT_FALSE(fs::exists(Root + "work/GameDisk"));
        EXPECT_EQ(Host.Began, 1);
        EXPECT_EQ(Host.Ended, 1);

        const TLhaArchiveReader reader = TLhaArchiveReader::FromFile(Target + "MyGame.lzh");
        reader.Test();
        std::vector<std::string> names;
        for (const TLhaEntry& e : reader.Entries()) {
            names.push_back(e.Name);
            if (e.Name == "GMK_RT.ini") {  // the archived settings carry the flag exactly with the package
                EXPECT_EQ(reader.Contents(e).find("FullPackageFlag=1") != std::string::npos, includeRtp);
            }
        }
        std::vector<std::string> expected = {"CharSet", "CharSet/Hero.png", "GMK_RT.exe", "GMK_RT.kdb",
                                             "GMK_RT.ini", "GMK_RT.kmt", "Map0001.kmu"};
        if (includeRtp)  // the package's Hero.bmp is left out: the project has a CharSet "Hero"
            expected = {"CharSet", "CharSet/Other.png", "Music", "Music/Town.mid", "CharSet/Hero.png",
                        "GMK_RT.exe", "GMK_RT.kdb", "GMK_RT.ini", "GMK_RT.kmt", "Map0001.kmu"};
        EXPECT_EQ(names, expected);
    }
}

TEST_F(ProjPackTest, FloppyPiecesAndDiskPrompts) {
    Spit(Project + "Movie/Intro.avi", Noise(3000000));  // stored: the archive is just over 3,000,000 bytes
    Floppy.Folder = Target;
    Floppy.Empty = {false, true, true, true};  // disk 1 is not empty at first: asked for again
    TProjectPackModel model = Model();
    ASSERT_EQ(model.TargetPath, Target);
    ASSERT_EQ(model.Pack(Host), mrOk);
    EXPECT_EQ(model.DiskNumber(), 3);
    const std::vector<std::string> texts = {"There's 3 of 1.44MB Floppy Disks Necessary", "Prepare 1 of formatted disks",
                                            "Prepare 1 of formatted disks", "Prepare 2 of formatted disks",
                                            "Prepare 3 of formatted disks", kPackCompletedMessage};
    EXPECT_EQ(Box.Texts, texts);
    const std::vector<std::string> delivered = {"Setup.exe", "UNLHA32.DLL", "UNLHA32.TXT", "MyGame.001",
                                                "Setup.ini", "MyGame.002", "MyGame.003"};
    EXPECT_EQ(Host.Delivered_, delivered);
    EXPECT_EQ(Host.Sizes[3], 640000u);
    EXPECT_EQ(Host.Sizes[5], 1440000u);
    EXPECT_EQ(TProfileFile(Target + "Setup.ini").ReadString("Setup", "DiskNumber", "?"), "3");
    // The pieces joined are the archive.
    const std::string joined = Slurp(Target + "MyGame.001") + Slurp(Target + "MyGame.002") + Slurp(Target + "MyGame.003");
    EXPECT_GT(joined.size(), 3000000u);
    TLhaArchiveReader(joined).Test();
}

TEST_F(ProjPackTest, EveryWayOutRemovesTheFlagAndTheWorkFolder) {
    struct TCase {
        const char* Name;
        std::function<void(ProjPackTest&)> Arrange;
        bool Throws;
    };
    const TCase cases[] = {
        {"archiver fails (a plain file is missing)", [](ProjPackTest& t) { fs::remove(t.Project + "GMK_RT.kdb"); }, false},
        {"cancelled while archiving", [](ProjPackTest& t) { t.Host.CancelAt = "Archiving"; }, false},
        {"cancelled while copying", [](ProjPackTest& t) { t.Host.CancelAt = "Copying"; }, false},
        {"a setup file is missing", [](ProjPackTest& t) { fs::remove(t.Editor + "UNLHA32.TXT"); }, false},
        {"disk prompt cancelled", [](ProjPackTest& t) {
             t.Floppy.Folder = t.Target;
             t.Box.Answers = {mrOk, mrCancel};
         }, false},
        {"an error is raised", [](ProjPackTest& t) { t.Host.ThrowOnDelivery = true; }, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TearDown();
        SetUp();
        Host = TRecordingHost();
        Box.Texts.clear();
        Box.Answers.clear();
        c.Arrange(*this);
        TProjectPackModel ready = Model();
        ready.IncludeRtp = true;
        if (c.Throws)
            EXPECT_THROW(ready.Pack(Host), std::runtime_error);
        else
            EXPECT_EQ(ready.Pack(Host), mrCancel);
        ASSERT_FALSE(Box.Texts.empty());
        EXPECT_EQ(Box.Texts.back(), kPackStoppedMessage);
        EXPECT_FALSE(FlagLeft());
        EXPECT_FALSE(fs::exists(Root + "work/GameDisk"));
        EXPECT_EQ(Host.Ended, 1);
    }
}

TEST_F(ProjPackTest, TargetsInsideTheProjectOrTheWorkFolderAreRefused) {
    for (const std::string& target : {Project, Project + "CharSet/", Root + "work/GameDisk/", Root + "work/GameDisk/deeper/"}) {
        SCOPED_TRACE(target);
        Box.Texts.clear();
        TProjectPackModel model = Model();
        model.SetTarget(target);
        EXPECT_EQ(model.Pack(Host), mrCancel);
        EXPECT_EQ(Box.Texts, std::vector<std::string>{kTargetInsideMessage});
        EXPECT_FALSE(fs::exists(target + "Setup.ini"));
    }
    // Through a link to the project, too.
    fs::create_directory_symlink(Project, Root + "alias");
    TProjectPackModel model = Model();
    model.SetTarget(Root + "alias/");
    EXPECT_EQ(model.TargetRefusal(), kTargetInsideMessage);
    model.SetTarget(Root + "base/");  // beside the project is fine
    EXPECT_EQ(model.TargetRefusal(), "");
}

TEST_F(ProjPackTest, NoLinkIsFollowedAndNoSpecialFileArchived) {
    Spit(Root + "victim/keep.txt", "keep");
    // A link planted where the work folder goes: removed, its target left alone.
    fs::create_directory_symlink(Root + "victim", Root + "work/GameDisk");
    fs::create_directory_symlink(Root + "victim", Project + "Picture");
    fs::create_symlink(Root + "victim/keep.txt", Project + "CharSet/Stolen.png");
    TProjectPackModel model = Model();
    ASSERT_EQ(model.Pack(Host), mrOk);
    EXPECT_EQ(Slurp(Root + "victim/keep.txt"), "keep");
    const std::vector<std::string> names = ArchiveNames(Target + "MyGame.lzh");
    for (const std::string& name : names) {
        EXPECT_EQ(name.find("Picture"), std::string::npos) << name;
        EXPECT_EQ(name.find("Stolen"), std::string::npos) << name;
    }
}

// The names in a folder that contain `part`.
std::vector<std::string> NamesWith(const std::string& folder, const std::string& part) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().find(part) != std::string::npos)
            names.push_back(entry.path().lexically_relative(folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ProjPackTest, TemporaryFilesLeftBehindAreRemovedAndNeverArchived) {
    // Left by a killed import and a killed save in the project, and by a killed packing in the
    // target; one in the project this user may not remove (another's file, or a folder it may
    // not write), and one in the target that is no copy of a file the disk delivers.
    Spit(Project + "Sound/big.wav.quillon-save-Ab12Cd", Noise(1000));
    Spit(Project + "GMK_RT.kdb.quillon-save-x1y2z3", "half a database");
    Spit(Project + "Music/held.mid.quillon-save-Zz9Yy8", "not removable");
    const bool root = ::geteuid() == 0;
    if (root)
        ASSERT_EQ(::chown((Project + "Music/held.mid.quillon-save-Zz9Yy8").c_str(), 65534, 65534), 0);
    else
        fs::permissions(Project + "Music", fs::perms::owner_read | fs::perms::owner_exec);
    Spit(Target + "Setup.exe.quillon-copy-Qw3Er4", "half a set-up program");
    Spit(Target + "notes.txt.quillon-copy-Qw3Er4", "the user's");
    for (const bool includeRtp : {false, true}) {
        SCOPED_TRACE(includeRtp);
        TProjectPackModel model = Model();
        model.IncludeRtp = includeRtp;
        ASSERT_EQ(model.Pack(Host), mrOk) << Host.Reason_;
        for (const std::string& name : ArchiveNames(Target + "MyGame.lzh"))
            EXPECT_EQ(name.find(".quillon-"), std::string::npos) << name;
    }
    if (!root)
        fs::permissions(Project + "Music", fs::perms::owner_all);
    EXPECT_EQ(NamesWith(Project, ".quillon-"), std::vector<std::string>{"Music/held.mid.quillon-save-Zz9Yy8"});
    EXPECT_EQ(NamesWith(Target, ".quillon-"), std::vector<std::string>{"notes.txt.quillon-copy-Qw3Er4"});
}

TEST_F(ProjPackTest, AFullDiskOrTheSizeLimitStopsWithoutSetupIniOrHalfFiles) {
    // The copy of one delivered file writes part of it, then fails as the system would.
    for (const int error : {ENOSPC, EFBIG}) {
        for (const std::string failing : {"Setup.exe", "UNLHA32.TXT", "MyGame.lzh"}) {
            SCOPED_TRACE(failing + " " + std::strerror(error));
            Spit(Target + "Setup.ini", "[Setup]\r\nDiskNumber=0\r\n");  // an earlier disk's
            Host = TRecordingHost();
            Box.Texts.clear();
            TProjectPackModel model = Model();
            bool started = false;
            model.CopyWrite = [&](int fd, const void* data, std::size_t size) -> long {
                char path[4096] = {};
                const ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path - 1);
                if (length <= 0 || fs::path(path).filename().string().rfind(failing + ".quillon-copy-", 0) != 0)
                    return ::write(fd, data, size);
                if (!started && size > 1) {
                    started = true;
                    return ::write(fd, data, size / 2);
                }
                errno = error;
                return -1;
            };
            EXPECT_EQ(model.Pack(Host), mrCancel);
            EXPECT_EQ(Box.Texts, std::vector<std::string>{kPackStoppedMessage});
            EXPECT_NE(Host.Reason_.find(std::strerror(error)), std::string::npos) << Host.Reason_;
            EXPECT_FALSE(fs::exists(Target + "Setup.ini"));
            EXPECT_EQ(NamesWith(Target, ".quillon-"), std::vector<std::string>{});
            EXPECT_FALSE(FlagLeft());
        }
    }
}

TEST_F(ProjPackTest, StartWaitsForAFolder) {
    TProjectPackModel none(Floppy);
    EXPECT_EQ(none.TargetPath, "");
    EXPECT_FALSE(none.StartEnabled());
    none.SetTarget(Target);
    EXPECT_TRUE(none.StartEnabled());
    Floppy.Folder = "/media/floppy";
    TProjectPackModel floppy(Floppy);
    EXPECT_EQ(floppy.TargetPath, "/media/floppy/");
}

}  // namespace
}  // namespace quillon
