// quillon-cli render against the reference rasteriser (Debian's tmxrasterizer) on the same
// picture in the same run: a 999 × 999 map at 1/8 (3996 × 3996 pixels). The map is written into a
// fresh project; the same map is written as a .tmx file whose 4-pixel tileset holds every tile
// picture the map uses, drawn by our chipset graphic at that size, so both programs draw the same
// pixels. Each program runs a few times by turns; the best wall and processor times and the
// largest peak resident memory count. Reports both programs' figures and the ratios (speed-up and
// cpu_ratio = their time / ours, memory and file size as ours / theirs); on a loaded machine the
// processor times are the steadier figure. Skips when tmxrasterizer is not installed; a
// second case reports our own figures at 1/4 (7992 × 7992), the largest 999 × 999 picture.
#include "data/EditorMode.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "graphics/MapRender.h"
#include "graphics/PictureFile.h"
#include "tools/lib/SampleProject.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

constexpr int kMapSide = 999;
bool gFixtureMade = false;

struct TRun {
    double Seconds = 0;     // wall time
    double PeakMiB = 0;
    bool Ok = false;
    double CpuSeconds = 0;  // user and system time of all its threads
};

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; }

TRun Better(const TRun& a, const TRun& b) {
    return {std::min(a.Seconds, b.Seconds), std::max(a.PeakMiB, b.PeakMiB), a.Ok && b.Ok,
            std::min(a.CpuSeconds, b.CpuSeconds)};
}

// Runs the program and waits for it: wall time and peak resident memory of the child.
TRun RunProgram(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    TRun run;
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.PeakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.CpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    return run;
}

std::string OwnFolder() {
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error).parent_path().string();
}

void PutBigEndian32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift));
}

// A small RGBA PNG (the tileset; the reference reads transparency from the alpha channel).
void WriteRgbaPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.append(reinterpret_cast<const char*>(rgba.data()) + static_cast<std::size_t>(y) * width * 4,
                   static_cast<std::size_t>(width) * 4);
    }
    std::vector<std::uint8_t> packed(compressBound(static_cast<uLong>(raw.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 9);
    std::string file = "\x89PNG\r\n\x1a\n";
    const auto chunk = [&](const char* type, const std::string& data) {
        PutBigEndian32(file, static_cast<std::uint32_t>(data.size()));
        const std::string body = std::string(type, 4) + data;
        file += body;
        PutBigEndian32(file, static_cast<std::uint32_t>(
                                 crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
    };
    std::string header;
    PutBigEndian32(header, static_cast<std::uint32_t>(width));
    PutBigEndian32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x06\x00\x00\x00", 5);
    chunk("IHDR", header);
    chunk("IDAT", std::string(reinterpret_cast<const char*>(packed.data()), packedSize));
    chunk("IEND", "");
    std::ofstream(path, std::ios::binary) << file;
}

struct TFixture {
    std::string Project;
    std::string Tmx;
    std::string Out;
};

// The project with the 999 × 999 map (water, autotiles, animated and plain tiles below, upper tiles
// on a quarter of the cells), its chipset, and the equivalent .tmx with its tileset.
const TFixture& Fixture() {
    static const TFixture fixture = [] {
        TFixture f;
        const fs::path base = fs::temp_directory_path() / ("quillon-bench-render-cli-" + std::to_string(getpid()));
        fs::remove_all(base);
        fs::create_directories(base);
        f.Project = (base / "project").string();
        f.Tmx = (base / "map.tmx").string();
        f.Out = base.string();
        MakeSampleProject(f.Project);
        gFixtureMade = true;

        TKelMap map;
        map.LoadFromFile(f.Project + "/" + MapFileName(1));
        TKelDataBase database;
        database.Load(f.Project + "/");
        const auto* chipSet = database.ChipSet.FindByID(map.ChipSetId);
        const std::string chipName = chipSet ? chipSet->FileName : "Bench";
        fs::create_directories(fs::path(f.Project) / "ChipSet");
        SavePicture(benchkit::ChipSetImage(), f.Project + "/ChipSet/" + chipName + ".png");

        map.Events.Clear();
        map.SetWidth(kMapSide);
        map.SetHeight(kMapSide);
        std::mt19937 random(11);
        for (int y = 0; y < kMapSide; ++y)
            for (int x = 0; x < kMapSide; ++x) {
                const std::uint16_t lower = benchkit::RandomLowerTile(random);
                map.LowerLayer.SetCell(x, y, lower);
                map.UpperLayer.SetCell(x, y, benchkit::RandomUpperTile(random));
            }
        map.SaveToFile(f.Project + "/" + MapFileName(1));

        // Every tile picture the map uses, drawn at 4 pixels as the render verb draws it.
        TEditorModeScope mode(true);
        TKelChipSetGraphic chips(FolderImageFinder({f.Project}));
        chips.LoadGraphic(chipName);
        std::map<std::pair<int, bool>, int> tiles;  // (tile ID, upper) -> tileset index
        for (int layer = 0; layer < 2; ++layer)
            for (int y = 0; y < kMapSide; ++y)
                for (int x = 0; x < kMapSide; ++x) {
                    const int id = (layer == 0 ? map.LowerLayer : map.UpperLayer).Cell(x, y);
                    tiles.emplace(std::pair{id, layer == 1}, 0);
                }
        const int columns = 64;
        const int rows = (static_cast<int>(tiles.size()) + columns - 1) / columns;
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(columns * 4) * rows * 4 * 4, 0);
        int index = 0;
        std::map<std::pair<int, bool>, bool> empty;
        for (auto& [key, slot] : tiles) {
            slot = index;
            chips.SetTransparent(key.second);
            TOrlenBoard black, white;
            black.SetSize(4, 4);
            white.SetSize(4, 4);
            FillBoardRect(white, MakeBounds(0, 0, 4, 4), 0xFFFF);
            chips.DrawTile(black, 0, 0, 0, key.first, false, 4);
            chips.DrawTile(white, 0, 0, 0, key.first, false, 4);
            bool any = false;
            for (int py = 0; py < 4; ++py)
                for (int px = 0; px < 4; ++px) {
                    const std::uint16_t c = black.ScanLine(py)[px];
                    const bool drawn = c == white.ScanLine(py)[px];
                    any = any || drawn;
                    const unsigned r = c >> 11, g = (c >> 5) & 63, b = c & 31;
                    std::uint8_t* p = rgba.data() + ((static_cast<std::size_t>(index / columns) * 4 + py) * columns * 4 +
                                                     static_cast<std::size_t>(index % columns) * 4 + px) * 4;
                    p[0] = static_cast<std::uint8_t>(r << 3 | r >> 2);
                    p[1] = static_cast<std::uint8_t>(g << 2 | g >> 4);
                    p[2] = static_cast<std::uint8_t>(b << 3 | b >> 2);
                    p[3] = drawn ? 255 : 0;
                }
            empty[key] = !any;
            ++index;
        }
        WriteRgbaPng(f.Out + "/tiles.png", columns * 4, rows * 4, rgba);
        std::ofstream tmx(f.Tmx);
        tmx << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            << "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\"" << kMapSide
            << "\" height=\"" << kMapSide << "\" tilewidth=\"4\" tileheight=\"4\" infinite=\"0\" nextlayerid=\"3\" nextobjectid=\"1\">\n"
            << " <tileset firstgid=\"1\" name=\"chips\" tilewidth=\"4\" tileheight=\"4\" tilecount=\"" << index
            << "\" columns=\"" << columns << "\">\n"
            << "  <image source=\"tiles.png\" width=\"" << columns * 4 << "\" height=\"" << rows * 4 << "\"/>\n"
            << " </tileset>\n";
        for (int layer = 0; layer < 2; ++layer) {
            tmx << " <layer id=\"" << layer + 1 << "\" name=\"" << (layer == 0 ? "lower" : "upper") << "\" width=\""
                << kMapSide << "\" height=\"" << kMapSide << "\">\n  <data encoding=\"csv\">\n";
            for (int y = 0; y < kMapSide; ++y) {
                for (int x = 0; x < kMapSide; ++x) {
                    const std::pair key{static_cast<int>((layer == 0 ? map.LowerLayer : map.UpperLayer).Cell(x, y)), layer == 1};
                    tmx << (empty[key] ? 0 : tiles[key] + 1);
                    if (x + 1 < kMapSide || y + 1 < kMapSide)
                        tmx << ',';
                }
                tmx << '\n';
            }
            tmx << "  </data>\n </layer>\n";
        }
        tmx << "</map>\n";
        return f;
    }();
    return fixture;
}

double FileMiB(const std::string& path) {
    std::error_code error;
    return static_cast<double>(fs::file_size(path, error)) / (1024.0 * 1024.0);
}

std::vector<std::string> OursArgs(const TFixture& f, int zoom, const std::string& out) {
    return {OwnFolder() + "/quillon-cli", "render", f.Project, "1", out, "--zoom", std::to_string(zoom),
            "--layers", "lower,upper"};
}

void BM_RenderCliAgainstReference(benchmark::State& state) {
    const std::string reference = "/usr/bin/tmxrasterizer";
    if (access(reference.c_str(), X_OK) != 0) {
        state.SkipWithError("tmxrasterizer is not installed (Debian package tiled)");
        for (auto _ : state) {
        }
        return;
    }
    const TFixture& f = Fixture();
    const std::string ourOut = f.Out + "/ours.png";
    const std::string theirOut = f.Out + "/theirs.png";
    TRun ours{1e9, 0, true, 1e9}, theirs{1e9, 0, true, 1e9};
    for (auto _ : state) {
        for (int round = 0; round < 3; ++round) {
            ours = Better(ours, RunProgram(OursArgs(f, 8, ourOut)));
            theirs = Better(theirs, RunProgram({reference, f.Tmx, theirOut}));
        }
    }
    if (!ours.Ok || !theirs.Ok) {
        state.SkipWithError(ours.Ok ? "tmxrasterizer failed" : "quillon-cli render failed");
        return;
    }
    state.counters["ours_s"] = ours.Seconds;
    state.counters["theirs_s"] = theirs.Seconds;
    state.counters["speedup"] = theirs.Seconds / ours.Seconds;
    state.counters["ours_cpu_s"] = ours.CpuSeconds;
    state.counters["theirs_cpu_s"] = theirs.CpuSeconds;
    state.counters["cpu_ratio"] = theirs.CpuSeconds / ours.CpuSeconds;
    state.counters["ours_MiB"] = ours.PeakMiB;
    state.counters["theirs_MiB"] = theirs.PeakMiB;
    state.counters["memory_ratio"] = ours.PeakMiB / theirs.PeakMiB;
    state.counters["ours_file_MiB"] = FileMiB(ourOut);
    state.counters["theirs_file_MiB"] = FileMiB(theirOut);
    state.counters["file_ratio"] = FileMiB(ourOut) / FileMiB(theirOut);
}

// Our own figures for the largest picture of the map (1/4: 7992 × 7992).
void BM_RenderCliQuarterZoom(benchmark::State& state) {
    const TFixture& f = Fixture();
    TRun ours{1e9, 0, true, 1e9};
    for (auto _ : state) {
        for (int round = 0; round < 2; ++round)
            ours = Better(ours, RunProgram(OursArgs(f, 4, f.Out + "/ours4.png")));
    }
    if (!ours.Ok) {
        state.SkipWithError("quillon-cli render failed");
        return;
    }
    state.counters["ours_s"] = ours.Seconds;
    state.counters["ours_cpu_s"] = ours.CpuSeconds;
    state.counters["ours_MiB"] = ours.PeakMiB;
    state.counters["ours_file_MiB"] = FileMiB(f.Out + "/ours4.png");
}

}  // namespace

BENCHMARK(BM_RenderCliAgainstReference)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_RenderCliQuarterZoom)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::error_code error;
    // QUILLON_BENCH_KEEP=1 keeps the project, the .tmx and the pictures for a look.
    if (gFixtureMade && !std::getenv("QUILLON_BENCH_KEEP"))
        fs::remove_all(Fixture().Out, error);
    else if (gFixtureMade)
        std::printf("kept %s\n", Fixture().Out.c_str());
    benchmark::Shutdown();
    return 0;
}
