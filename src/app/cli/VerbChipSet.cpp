// The chipset page without a window: one click of a mode on one tile of a chipset, the tile's
// terrain and flags printed, and the database saved back on request.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "app/cli/PageVerb.h"
#include "database/ED_ChipSet.h"

#include <cstdio>

namespace quillon::cli {

namespace {

constexpr const char* kChipSetUsage =
    "usage: quillon-cli chipset FOLDER ID lower|upper INDEX terrain N | pass [right] | dir X Y | counter [--save]";

const char* MarkName(TPassageMark mark) {
    switch (mark) {
    case TPassageMark::Circle: return "circle";
    case TPassageMark::Cross: return "cross";
    case TPassageMark::Star: return "star";
    case TPassageMark::Square: return "square";
    }
    return "?";
}

void PrintTile(const TChipSetPageModel& model, int grid, int index) {
    const std::uint8_t flags = model.CellFlags(grid, index);
    std::printf("%s %d: tile %d", grid == cgUpper ? "upper" : "lower", index, static_cast<int>(ChipGridTile(grid, index)));
    if (grid == cgLower)
        std::printf(" terrain %d", static_cast<int>(model.CellTerrain(index)));
    std::printf(" flags 0x%02x mark %s directions", flags, MarkName(PassageMark(flags)));
    const struct {
        std::uint8_t Bit;
        const char* Name;
    } bits[] = {{0x08, "up"}, {0x04, "right"}, {0x01, "down"}, {0x02, "left"}};
    bool any = false;
    for (const auto& b : bits)
        if (flags & b.Bit) {
            std::printf("%s%s", any ? "," : " ", b.Name);
            any = true;
        }
    if (!any)
        std::printf(" none");
    std::printf(" counter %s\n", flags & TKelChipSetItem::cfCounter ? "on" : "off");
}

}  // namespace

int VerbChipSet(const TArgs& args) {
    TPageVerb verb(args);
    const std::vector<std::string>& words = verb.Words;
    if (words.size() < 5)
        return Fail("chipset", kChipSetUsage);
    const auto id = ReadNumber32(words[1]);
    const int grid = words[2] == "upper" ? cgUpper : words[2] == "lower" ? cgLower : -1;
    const auto index = ReadNumber32(words[3]);
    if (!id || grid < 0 || !index)
        return Fail("chipset", kChipSetUsage);
    const std::string& op = words[4];

    verb.Open();
    TChipSetPageModel model(verb.Context(), nullptr);
    if (!model.SelectId(*id))
        return Fail("chipset", "no chipset " + std::to_string(*id));
    if (*index < 0 || *index >= ChipGridCells(grid))
        return Fail("chipset", "refused: no cell " + std::to_string(*index) + " on the " + words[2] + " grid");
    if (!model.CellEditable(grid, *index))
        return Fail("chipset", "refused: the empty upper tile is not edited");
    model.SetGrid(grid);
    const int x = (*index % kChipGridColumns) * kChipGridCell;
    const int y = (*index / kChipGridColumns) * kChipGridCell;
    TChipButton button = TChipButton::Left;
    int dx = kChipGridCell / 2, dy = kChipGridCell / 2;
    if (op == "terrain" && words.size() == 6 && grid == cgLower) {
        const auto terrain = ReadNumber32(words[5]);
        if (!terrain || *terrain < 1 || *terrain > model.TerrainRows())
            return Fail("chipset", "refused: no terrain " + words[5]);
        model.SetMode(grid, TChipSetMode::Terrain);
        model.SetTerrainRow(*terrain - 1);
    } else if (op == "pass" && (words.size() == 5 || (words.size() == 6 && words[5] == "right"))) {
        model.SetMode(grid, TChipSetMode::Passage);
        if (words.size() == 6)
            button = TChipButton::Right;
    } else if (op == "dir" && words.size() == 7) {
        const auto px = ReadNumber32(words[5]), py = ReadNumber32(words[6]);
        if (!px || !py || *px < 0 || *py < 0 || *px >= kChipGridCell || *py >= kChipGridCell)
            return Fail("chipset", "refused: X and Y lie in the cell, 0..31");
        model.SetMode(grid, TChipSetMode::Direction);
        dx = *px;
        dy = *py;
    } else if (op == "counter" && words.size() == 5 && grid == cgUpper) {
        model.SetMode(grid, TChipSetMode::Counter);
    } else {
        return Fail("chipset", kChipSetUsage);
    }
    model.Press(button, x + dx, y + dy);
    model.Release();
    PrintTile(model, grid, *index);
    verb.SaveIfAsked();
    return 0;
}

}  // namespace quillon::cli
