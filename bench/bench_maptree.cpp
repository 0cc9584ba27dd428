// Opening a project's map tree of 10,000 and 40,000 items: the tree window's model loads
// "GMK_RT.kmt" and fills its nodes, and the window (offscreen platform) builds its tree view and
// paints it, as at start-up. The reference is reading the same file into a map tree alone,
// measured in the same run; a linear load keeps the ratio the same at both sizes.
#include "data/EditorMode.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "mapedit/MapTreeView.h"
#include "mapedit/MapTreeView_qt.h"
#include "platform/FileUtils.h"
#include "project/ProjectManager.h"

#include "BenchKit.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace quillon;

namespace {

using benchkit::TClock;
using benchkit::Since;

QApplication& App() { return benchkit::App("bench_maptree"); }

// A tree of `count` items under the root: maps eight to a parent, some five levels deep, with an
// area under every tenth map; every other map expanded.
std::string MakeTreeFile(int count) {
    TKelMapTree tree;
    TKelMapTreeItem& root = tree.Obtain(0);
    root.Kind = TKelMapTreeItem::mkRoot;
    root.Name = "Bench";
    root.Expanded = 1;
    std::map<std::int32_t, std::vector<std::int32_t>> children;
    for (std::int32_t id = 1; id <= count; ++id) {
        TKelMapTreeItem& item = tree.Obtain(id);
        const bool area = id % 10 == 0;
        item.Kind = area ? TKelMapTreeItem::mkArea : TKelMapTreeItem::mkMap;
        item.Name = (area ? "AREA" : "MAP") + std::to_string(id);
        std::int32_t parent = (id - 1) / 8;
        while (parent != 0 && tree.FindByID(parent)->IsArea())
            parent = (parent - 1) / 8;
        if (area)
            parent = id - 1;  // a map, as id - 1 is not a multiple of ten
        item.ParentId = parent;
        item.Expanded = id % 2;
        if (area)
            item.AreaRect = {1, 1, 5, 5};
        children[parent].push_back(id);
    }
    // Pre-order, with depths.
    std::vector<std::pair<std::int32_t, int>> stack{{0, 0}};
    while (!stack.empty()) {
        const auto [id, depth] = stack.back();
        stack.pop_back();
        tree.FindByID(id)->Depth = depth;
        tree.Order.push_back(id);
        const auto below = children.find(id);
        if (below != children.end())
            for (auto it = below->second.rbegin(); it != below->second.rend(); ++it)
                stack.emplace_back(*it, depth + 1);
    }
    tree.CurrentMapId = 0;
    TMemoryStream stream;
    tree.SaveTreeToStream(stream);
    return stream.Bytes();
}

struct TFixture {
    TEditorModeScope EditorMode{true};
    std::string Folder;
    std::map<int, std::string> Bytes;

    TFixture() {
        App();
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
        Folder = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(Folder + "/tmp");
        ::setenv("TMPDIR", (Folder + "/tmp").c_str(), 1);
        std::filesystem::create_directories(Folder + "/project");
        SetProjectPath(Folder + "/project/");
    }
    ~TFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
    // The project's tree file holds `count` items.
    void UseTree(int count) {
        if (!Bytes.count(count))
            Bytes[count] = MakeTreeFile(count);
        WriteFileAtomic(ProjectPath() + TKelMapTree::kFileName, Bytes[count]);
    }
};

TFixture& Fixture() {
    static TFixture* fixture = new TFixture();
    return *fixture;
}

// Best of a few readings of the tree file into a map tree of its own.
double ReferenceSeconds(const std::string& bytes) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto start = TClock::now();
        TKelMapTree tree;
        TByteViewStream stream(bytes);
        tree.LoadTreeFromStream(stream);
        benchmark::DoNotOptimize(tree.Order.size());
        best = std::min(best, Since(start));
    }
    return best;
}

void Report(benchmark::State& state, double seconds, double reference) {
    benchkit::ReportRatio(state, seconds, reference);
    state.counters["us_per_item"] = seconds * 1e6 / static_cast<double>(state.range(0));
}

// The model alone: LoadTree (file, root title, nodes, selection).
void BM_LoadTreeModel(benchmark::State& state) {
    TFixture& f = Fixture();
    const int count = static_cast<int>(state.range(0));
    f.UseTree(count);
    const double reference = ReferenceSeconds(f.Bytes[count]);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        TKelMapTree tree;
        TKelMap map;
        TMapTreeModel model(tree, map);
        const auto start = TClock::now();
        model.LoadTree();
        total += Since(start);
        ++runs;
        if (static_cast<int>(model.Nodes().size()) != count + 1)
            state.SkipWithError("the nodes do not match the tree");
    }
    Report(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_LoadTreeModel)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The tree window as the main window opens a project: the model loads the tree, the view is
// built from its nodes (twice, as on opening) and painted.
void BM_OpenTreeWindow(benchmark::State& state) {
    TFixture& f = Fixture();
    const int count = static_cast<int>(state.range(0));
    f.UseTree(count);
    const double reference = ReferenceSeconds(f.Bytes[count]);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        TKelMapTree tree;
        TKelMap map;
        TMapTreeModel model(tree, map);
        {
            TFormMapTree window(model);
            window.resize(240, 600);
            const auto start = TClock::now();
            model.LoadTree();
            window.RefreshView();
            window.show();
            window.repaint();
            QApplication::processEvents();
            total += Since(start);
            ++runs;
            if (window.Tree()->topLevelItemCount() != 1 || window.Tree()->ItemOf(count - 1) == nullptr)
                state.SkipWithError("the view does not show the tree");
            state.PauseTiming();
        }
        QApplication::processEvents();
        state.ResumeTiming();
    }
    Report(state, total / std::max(runs, 1), reference);
}
BENCHMARK(BM_OpenTreeWindow)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
