// quillon-cli anim: the battle animation page's frame and cell operations without a window, and
// its playback written as one picture per step.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"
#include "app/cli/PageVerb.h"

#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "database/ED_Animation.h"
#include "graphics/MapRender.h"
#include "graphics/PictureFile.h"
#include "project/PathUtils.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"
#include "project/ProjectSettings.h"
#include "project/Resources.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kAnimUsage =
    "usage: quillon-cli anim FOLDER ID complement FROM TO CELL1 CELL2 [--pattern] [--motion] [--tone] [--save]\n"
    "       quillon-cli anim FOLDER ID insert K | delete K | copy A B C | clear A B [--save]\n"
    "       quillon-cli anim FOLDER ID anchor head|center|feet [--save]\n"
    "       quillon-cli anim FOLDER ID playback OUTDIR";

void PrintFrames(const TKelAnimationItem& anim) {
    for (int f = 0; f < anim.FrameCount(); ++f) {
        const TKelAnimationCell& cells = anim.Frames.Items(f)->Cells;
        std::printf("frame %d: %d cells\n", f + 1, cells.Count());
        for (int i = 0; i < cells.Count(); ++i) {
            const TKelAnimationCellItem& c = *cells.Items(i);
            std::printf("  cell %d: %s pattern %d at %d,%d mag %d rgb %d,%d,%d chroma %d transparency %d\n", i + 1,
                        c.Visible ? "shown" : "hidden", static_cast<int>(c.Pattern) + 1, static_cast<int>(c.X),
                        static_cast<int>(c.Y), static_cast<int>(c.Magnification), static_cast<int>(c.Red),
                        static_cast<int>(c.Green), static_cast<int>(c.Blue), static_cast<int>(c.Chroma),
                        static_cast<int>(c.Transparency));
        }
    }
    for (int t = 0; t < anim.Timing.Count(); ++t)
        std::printf("timing %d: frame %d sound %s\n", t + 1, static_cast<int>(anim.Timing.Items(t)->Frame),
                    Cp932ToUtf8(anim.Timing.Items(t)->Sound.Name).c_str());
}

}  // namespace

int VerbAnim(const TArgs& args) {
    if (args.size() < 3)
        return Fail("anim", kAnimUsage);
    const std::string folder = IncludeTrailingDelimiter(std::filesystem::absolute(args[0]).lexically_normal().string());
    const std::optional<std::int32_t> id = ReadNumber32(args[1]);
    if (!id)
        return Fail(args[1], std::string("not an animation ID\n") + kAnimUsage);
    const std::string& op = args[2];
    std::vector<std::int32_t> numbers;
    std::vector<std::string> words;
    bool save = false;
    TComplementItems items;
    for (std::size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--save")
            save = true;
        else if (args[i] == "--pattern")
            items.Pattern = true;
        else if (args[i] == "--motion")
            items.Motion = true;
        else if (args[i] == "--tone")
            items.Tone = true;
        else if (const auto n = ReadNumber32(args[i]))
            numbers.push_back(*n);
        else
            words.push_back(args[i]);
    }
    const auto wants = [&](std::size_t count, std::size_t wordCount) {
        return numbers.size() == count && words.size() == wordCount;
    };

    std::optional<TProjectLock> lock;
    auto db = std::make_unique<TKelDataBase>();
    try {
        if (save)
            lock.emplace(LockForWriting(folder));
        SetProjectPath(folder);
        LoadDataBaseToWrite(*db, folder + TKelDataBase::kFileName);
    } catch (const std::exception& e) {
        return Fail(folder, e.what());
    }
    (void)GetRtpPath();
    TEditorModeScope editorMode(true);
    TDataBaseContext context;
    context.DataBase = db.get();
    context.ProjectPath = folder;
    DataBaseMemory() = {};
    TAnimationPageModel page(context, nullptr, [](const std::string& kind, const std::string& name) {
        return FindResourceFile(name, kind, ImageExtensions);
    });
    if (!page.SelectId(*id))
        return Fail(args[1], "no such animation");

    const auto frame = [&](std::int32_t k) {
        if (k < 1 || k > page.FrameCount())
            return false;
        page.SelectFrame(k - 1);
        return page.CurrentFrame() == k - 1;
    };
    bool done = true;
    std::string refusal;
    if (op == "complement" && wants(4, 0)) {
        page.RunComplement(numbers[0], numbers[1], numbers[2], numbers[3], items);
    } else if (op == "insert" && wants(1, 0)) {
        done = frame(numbers[0]) && page.InsertFrame();
        refusal = "insert refused (no such frame, or 999 frames)";
    } else if (op == "delete" && wants(1, 0)) {
        done = frame(numbers[0]) && page.DeleteFrame();
        refusal = "delete refused (no such frame, or the only one)";
    } else if (op == "copy" && wants(3, 0)) {
        page.RunFrameTool(numbers[0], numbers[1], numbers[2], TFrameToolOperation::CopyPage);
    } else if (op == "clear" && wants(2, 0)) {
        page.RunFrameTool(numbers[0], numbers[1], 1, TFrameToolOperation::Clear);
    } else if (op == "anchor" && wants(0, 1)) {
        const std::string& line = words[0];
        const int n = line == "head" ? 0 : line == "center" ? 1 : line == "feet" ? 2 : -1;
        if (n < 0)
            return Fail(line, kAnimUsage);
        done = page.YLine() == n || page.SetYLine(n);
        refusal = "the anchor does not apply while the scope is \"All\"";
    } else if (op == "playback" && wants(0, 1) && !save) {
        const std::string out = IncludeTrailingDelimiter(words[0]);
        std::error_code error;
        std::filesystem::create_directories(out, error);
        if (!std::filesystem::is_directory(out))
            return Fail(words[0], "cannot create the folder");
        page.BeginPlayback();
        TOrlenBoard board;
        int n = 0;
        for (const TPlaybackStep& step : page.PlaybackSteps()) {
            page.DrawPlaybackStep(board, step);
            char name[32];
            std::snprintf(name, sizeof name, "step%04d.png", n++);
            try {
                SavePicture(BoardToBitmap(board), out + name);
            } catch (const std::exception& e) {
                return Fail(out + name, e.what());
            }
            std::string sounds;
            for (const std::string& sound : step.Sounds)
                sounds += (sounds.empty() ? "" : ",") + Cp932ToUtf8(sound);
            std::printf("step %d: %d ms frame %d sounds %s\n", step.Index, step.Millis,
                        step.Frame < 0 ? 0 : step.Frame + 1, sounds.empty() ? "-" : sounds.c_str());
        }
        page.EndPlayback();
        return 0;
    } else {
        return Fail(op, kAnimUsage);
    }
    if (!done)
        return Fail(args[1], refusal);
    PrintFrames(page.Item());
    if (save) {
        try {
            db->Save(folder);
        } catch (const EDamagedDataBase&) {
            throw;  // told with the option that allows it
        } catch (const std::exception& e) {
            return Fail(folder, e.what());
        }
    }
    return 0;
}

}  // namespace quillon::cli
