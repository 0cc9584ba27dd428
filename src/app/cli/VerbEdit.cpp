// The edit verb: draws into a map of a project as the editor's tools do, and saves it.
#include "app/cli/CliVerbs.h"

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "graphics/GR_ChipSet.h"
#include "mapedit/MapEditUtils.h"
#include "platform/Paths.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"
#include "project/Resources.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kEditUsage =
    "usage: quillon-cli edit FOLDER MAPID OPS...\n"
    "  lower | upper                  the layer the following operations draw on (lower at first)\n"
    "  --ctrl | --shift               hold Ctrl (map edge is a border) or Shift (no shape\n"
    "                                 resolution) for the following operations\n"
    "  place X Y TILEID               the pen on one cell\n"
    "  rect X1 Y1 X2 Y2 TILEID        a filled rectangle\n"
    "  ellipse X1 Y1 X2 Y2 TILEID     a filled ellipse\n"
    "  fill X Y TILEID                a seed fill";

enum class TOpKind { Layer, Keys, Place, Rect, Ellipse, Fill };

struct TOp {
    TOpKind Kind = TOpKind::Place;
    TKelEditMode Mode = TKelEditMode::Lower;
    TKelEditKeys Keys;
    TPoint A, B;
    std::uint16_t Tile = 0;
};

std::optional<std::int64_t> ParseNumber(const std::string& text, std::int64_t low, std::int64_t high) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < low || value > high)
        return std::nullopt;
    return value;
}

// Reads the operations; on an error names the argument and says why.
bool ParseOps(const TArgs& args, std::size_t first, std::vector<TOp>& ops, std::string& bad, std::string& why) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    TKelEditKeys keys;
    for (std::size_t i = first; i < args.size();) {
        const std::string& word = args[i];
        TOp op;
        op.Keys = keys;
        std::size_t operands = 0;
        if (word == "lower" || word == "upper") {
            op.Kind = TOpKind::Layer;
            op.Mode = word == "lower" ? TKelEditMode::Lower : TKelEditMode::Upper;
        } else if (word == "--ctrl" || word == "--shift") {
            (word == "--ctrl" ? keys.Ctrl : keys.Shift) = true;
            op.Kind = TOpKind::Keys;
        } else if (word == "place" || word == "fill") {
            op.Kind = word == "place" ? TOpKind::Place : TOpKind::Fill;
            operands = 3;
        } else if (word == "rect" || word == "ellipse") {
            op.Kind = word == "rect" ? TOpKind::Rect : TOpKind::Ellipse;
            operands = 5;
        } else {
            bad = word;
            why = "not an operation";
            return false;
        }
        if (operands > 0 && i + operands >= args.size()) {
            bad = word;
            why = "needs " + std::to_string(operands) + " numbers";
            return false;
        }
        std::int32_t numbers[4] = {};
        for (std::size_t n = 0; n < operands; ++n) {
            const std::string& text = args[i + 1 + n];
            const bool isTile = n + 1 == operands;
            const auto value = isTile ? ParseNumber(text, 0, std::numeric_limits<std::uint16_t>::max())
                                      : ParseNumber(text, kMin, kMax);
            if (!value) {
                bad = text;
                why = isTile ? "not a tile ID (0..65535)" : "not a cell coordinate";
                return false;
            }
            if (isTile)
                op.Tile = static_cast<std::uint16_t>(*value);
            else
                numbers[n] = static_cast<std::int32_t>(*value);
        }
        op.A = TPoint{numbers[0], numbers[1]};
        op.B = TPoint{numbers[2], numbers[3]};
        if (op.Kind != TOpKind::Keys)
            ops.push_back(op);
        i += 1 + operands;
    }
    return true;
}

}  // namespace

int VerbEdit(const TArgs& args) {
    if (args.size() < 2)
        return Fail("edit", kEditUsage);
    const auto mapId = ParseNumber(args[1], 1, std::numeric_limits<std::int32_t>::max());
    if (!mapId)
        return Fail(args[1], "not a map ID");
    std::vector<TOp> ops;
    std::string bad, why;
    if (!ParseOps(args, 2, ops, bad, why))
        return Fail(bad, why + "\n" + kEditUsage);

    const std::string folder =
        IncludeTrailingDelimiter(std::filesystem::absolute(args[0]).lexically_normal().string());
    SetProjectPath(folder);
    const TProjectLock lock(folder);  // no other writer between the load and the save
    auto map = std::make_unique<TKelMap>();
    map->LoadFromProject(folder, static_cast<std::int32_t>(*mapId));
    auto database = std::make_unique<TKelDataBase>();
    database->LoadFromFile(folder + TKelDataBase::kFileName);

    // The chipset image tells which autotiles join which; without it none do.
    TKelChipSetGraphic chips([](const std::string& kind, const std::string& name) {
        return FindResourceFile(name, kind, ImageExtensions);
    });
    const TKelChipSetItem* chipSet = database->ChipSet.FindByID(map->ChipSetId);
    if (!chipSet) {
        std::fprintf(stderr, "quillon-cli: chipset %d is not in the database: autotiles link to nothing\n",
                     map->ChipSetId);
    } else {
        try {
            chips.SetChipSet(chipSet);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "quillon-cli: chipset image \"%s\": %s: autotiles link to nothing\n",
                         chipSet->FileName.c_str(), e.what());
        }
    }

    TKelMapEditModel model;
    model.LoadMap(map.get());
    model.Links = [&chips](std::int32_t chip) { return chips.GetAutotileLink(chip); };
    const std::vector<std::uint16_t> lowerBefore = map->LowerLayer.Cells();
    const std::vector<std::uint16_t> upperBefore = map->UpperLayer.Cells();
    for (const TOp& op : ops) {
        if (op.Kind == TOpKind::Layer) {
            model.Mode = op.Mode;
            continue;
        }
        model.Pattern().SetSingle(op.Tile);
        model.PatternOffset = {};
        switch (op.Kind) {
        case TOpKind::Place: model.ApplyPenStroke({op.A}, op.Keys); break;
        case TOpKind::Rect: model.ApplyRectangle(op.A, op.B, op.Keys); break;
        case TOpKind::Ellipse: model.ApplyEllipse(op.A, op.B, op.Keys); break;
        case TOpKind::Fill: model.ApplySeedFill(op.A, op.Keys); break;
        default: break;
        }
    }
    std::size_t changed = 0;
    for (std::size_t i = 0; i < lowerBefore.size(); ++i)
        changed += lowerBefore[i] != map->LowerLayer.Cells()[i] || upperBefore[i] != map->UpperLayer.Cells()[i];
    map->SaveToProject(folder, static_cast<std::int32_t>(*mapId));
    std::printf("%s%s: %d x %d, %zu cells changed\n", folder.c_str(), MapFileName(static_cast<std::int32_t>(*mapId)).c_str(),
                map->Width(), map->Height(), changed);
    return 0;
}

}  // namespace quillon::cli
