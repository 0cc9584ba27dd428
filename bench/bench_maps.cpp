// Load and save of a 500 x 500 map with 2,000 events (each with a 20-line script) and of a
// database with 5,000 heroes, in MB/s of file bytes and as a multiple of the time it takes to
// read the same file into memory, measured in the same run.
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "platform/FileUtils.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

using namespace quillon;

namespace {

double BestReadSeconds(const std::string& path) {
    double best = 1e9;
    for (int batch = 0; batch < 10; ++batch) {
        const int runs = 20;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < runs; ++i)
            benchmark::DoNotOptimize(ReadWholeFile(path));
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs);
    }
    return best;
}

struct TFixture {
    std::string Folder;
    std::string MapPath, DataBasePath;
    std::int64_t MapSize = 0, DataBaseSize = 0;
    double MapRead = 0, DataBaseRead = 0;

    TFixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
        Folder = ::mkdtemp(pattern.data());
        MapPath = Folder + "/Map0001.kmu";
        DataBasePath = Folder + "/GMK_RT.kdb";

        auto map = std::make_unique<TKelMap>();
        map->SetWidth(500);
        map->SetHeight(500);
        for (int y = 0; y < 500; ++y)
            for (int x = 0; x < 500; ++x) {
                map->LowerLayer.SetCell(x, y, static_cast<std::uint16_t>(5000 + (x * 7 + y * 13) % 144));
                if ((x + y) % 5 == 0)
                    map->UpperLayer.SetCell(x, y, static_cast<std::uint16_t>(10000 + (x + y) % 144));
            }
        for (int id = 1; id <= 2000; ++id) {
            TKelEventItem& event = map->Events.Obtain(id);
            event.Name = "EV" + std::to_string(id);
            event.X = id % 500;
            event.Y = id / 4;
            TKelEventPageItem& page = event.Pages.Obtain(1);
            page.GraphicName = "Hero1";
            page.Script.Clear();
            for (int i = 0; i < 19; ++i) {
                TKelEventScriptLine& line = page.Script.Add();
                line.Code = ToInt(TCommandCode::ShowMessage) + 10 * (i % 30);
                line.Indent = i % 2;
                if (i % 3 == 0)
                    line.Text = "Some words of event " + std::to_string(id);
                line.SetParamCount(i % 6);
                for (int p = 0; p < line.ParamCount(); ++p)
                    line.SetParam(p, p * 37 - 5);
            }
            page.Script.Add();
        }
        map->SaveToFile(MapPath);
        MapSize = static_cast<std::int64_t>(ReadWholeFile(MapPath).size());

        auto db = std::make_unique<TKelDataBase>();
        for (int id = 1; id <= 5000; ++id) {
            TKelPlayerItem& hero = db->Player.Obtain(id);
            hero.Name = "Hero " + std::to_string(id);
            hero.CharSetName = "Hero1";
            for (int level = 1; level <= 50; level += 7)
                hero.SetParameter(0, level, 100 + level * 12);
            hero.Learning.Obtain(1).SkillId = id % 50 + 1;
        }
        db->SaveToFile(DataBasePath);
        DataBaseSize = db->CachedFileSize;
        MapRead = BestReadSeconds(MapPath);
        DataBaseRead = BestReadSeconds(DataBasePath);
    }
    ~TFixture() { std::filesystem::remove_all(Folder); }
};

TFixture& Fixture() {
    static TFixture fixture;
    return fixture;
}

template <class Work>
void Measure(benchmark::State& state, std::int64_t fileSize, double readSeconds, Work work) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        work();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * fileSize);
    state.counters["file_MB"] = static_cast<double>(fileSize) / 1e6;
    state.counters["x_read_time"] = seconds / readSeconds;
}

void BM_ReadMapFile(benchmark::State& state) {
    TFixture& f = Fixture();
    Measure(state, f.MapSize, f.MapRead, [&] { benchmark::DoNotOptimize(ReadWholeFile(f.MapPath)); });
}

void BM_LoadMap(benchmark::State& state) {
    TFixture& f = Fixture();
    auto map = std::make_unique<TKelMap>();
    Measure(state, f.MapSize, f.MapRead, [&] { map->LoadFromFile(f.MapPath); });
}

void BM_SaveMapToMemory(benchmark::State& state) {
    TFixture& f = Fixture();
    auto map = std::make_unique<TKelMap>();
    map->LoadFromFile(f.MapPath);
    Measure(state, f.MapSize, f.MapRead, [&] {
        TMemoryStream image;
        WriteString(image, TKelMap::kSignature);
        map->SaveToStream(image);
        benchmark::DoNotOptimize(image.Bytes().data());
    });
}

void BM_LoadHeroDataBase(benchmark::State& state) {
    TFixture& f = Fixture();
    auto db = std::make_unique<TKelDataBase>();
    Measure(state, f.DataBaseSize, f.DataBaseRead, [&] { db->LoadFromFile(f.DataBasePath); });
}

void BM_SaveHeroDataBaseToMemory(benchmark::State& state) {
    TFixture& f = Fixture();
    auto db = std::make_unique<TKelDataBase>();
    db->LoadFromFile(f.DataBasePath);
    Measure(state, f.DataBaseSize, f.DataBaseRead, [&] {
        TMemoryStream image;
        db->SaveToStream(image);
        benchmark::DoNotOptimize(image.Bytes().data());
    });
}

}  // namespace

BENCHMARK(BM_ReadMapFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveMapToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadHeroDataBase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveHeroDataBaseToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
