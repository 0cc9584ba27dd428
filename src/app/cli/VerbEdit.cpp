// The edit verb: draws into a map of a project as the editor's tools do, and saves it.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "graphics/GR_ChipSet.h"
#include "mapedit/MapEditor.h"
#include "platform/Clipboard.h"
#include "platform/FileUtils.h"
#include "platform/Paths.h"
#include "project/ProjectLock.h"
#include "project/ProjectManager.h"
#include "project/Resources.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    "  fill X Y TILEID                a seed fill\n"
    "  pattern TILEID                 the layer's pattern becomes 1 x 1 of the tile\n"
    "  select C1 R1 C2 R2             the select tool dragged over the cells between both corners\n"
    "  move DX DY                     the selection dragged by DX, DY cells\n"
    "  clear | selectall | undo       Del, Ctrl+A, Ctrl+Z\n"
    "  copy FILE                      Ctrl+C; the clipboard block written to FILE\n"
    "  paste FILE X Y                 the block in FILE pasted with Ctrl+V, the view centred on (X, Y)\n"
    "The operations run in one session of the map canvas (selection and undo live until the end).";

enum class TOpKind { Layer, Keys, Place, Rect, Ellipse, Fill, Pattern, Select, Move, Clear, SelectAll, Undo, Copy, Paste };

struct TOp {
    TOpKind Kind = TOpKind::Place;
    TKelEditMode Mode = TKelEditMode::Lower;
    TKelEditKeys Keys;
    TPoint A, B;
    std::uint16_t Tile = 0;
    std::string File;
};

// The largest clipboard block file read: far more than a 999 x 999 map's block.
constexpr std::uintmax_t kMaxBlockFile = 64u << 20;
// The largest move of a selection, in cells.
constexpr std::int64_t kMaxMove = 65536;

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
        } else if (word == "pattern") {
            op.Kind = TOpKind::Pattern;
            operands = 1;
        } else if (word == "select") {
            op.Kind = TOpKind::Select;
            operands = 4;
        } else if (word == "move") {
            op.Kind = TOpKind::Move;
            operands = 2;
        } else if (word == "clear" || word == "selectall" || word == "undo") {
            op.Kind = word == "clear" ? TOpKind::Clear : word == "selectall" ? TOpKind::SelectAll : TOpKind::Undo;
        } else if (word == "copy" || word == "paste") {
            op.Kind = word == "copy" ? TOpKind::Copy : TOpKind::Paste;
            if (i + 1 >= args.size()) {
                bad = word;
                why = "needs a file name";
                return false;
            }
            op.File = args[i + 1];
            ++i;
            operands = word == "paste" ? 2 : 0;
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
        const bool endsWithTile = op.Kind == TOpKind::Place || op.Kind == TOpKind::Rect ||
                                  op.Kind == TOpKind::Ellipse || op.Kind == TOpKind::Fill || op.Kind == TOpKind::Pattern;
        for (std::size_t n = 0; n < operands; ++n) {
            const std::string& text = args[i + 1 + n];
            const bool isTile = endsWithTile && n + 1 == operands;
            const bool isMove = op.Kind == TOpKind::Move;
            const auto value = isTile   ? ReadNumber(text, 0, std::numeric_limits<std::uint16_t>::max())
                               : isMove ? ReadNumber(text, -kMaxMove, kMaxMove)
                                        : ReadNumber(text, kMin, kMax);
            if (!value) {
                bad = text;
                why = isTile ? "not a tile ID (0..65535)" : isMove ? "not a move in cells" : "not a cell coordinate";
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
    const auto mapId = ReadNumber(args[1], 1, std::numeric_limits<std::int32_t>::max());
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

    // One canvas over the whole map at 1/1, so grid points and cells have plain pixel positions.
    TMemoryClipboard clipboard;
    TKelMapEditorModel canvas;
    canvas.SetGraphics(&chips, nullptr);
    canvas.SetClipboard(&clipboard);
    const auto fullView = [&canvas, &map] {
        canvas.SetClientSize(std::max(map->Width(), 1) * TKelMapViewModel::kFullCellSize,
                             std::max(map->Height(), 1) * TKelMapViewModel::kFullCellSize);
        canvas.ScrollTo(0, 0);
    };
    fullView();
    canvas.LoadMap(map.get());
    canvas.SetMode(TKelEditMode::Lower);
    const auto useSelectTool = [&canvas] {
        if (canvas.Tool() != TKelEditTool::Select)
            canvas.SetTool(TKelEditTool::Select);
    };
    const auto inside = [&map](TPoint cell) {
        return cell.X >= 0 && cell.Y >= 0 && cell.X < map->Width() && cell.Y < map->Height();
    };
    const std::vector<std::uint16_t> lowerBefore = map->LowerLayer.Cells();
    const std::vector<std::uint16_t> upperBefore = map->UpperLayer.Cells();
    for (const TOp& op : ops) {
        TKelMapEditModel& model = canvas.EditModel();
        switch (op.Kind) {
        case TOpKind::Layer:
            canvas.SetMode(op.Mode);
            continue;
        case TOpKind::Place:
        case TOpKind::Rect:
        case TOpKind::Ellipse:
        case TOpKind::Fill:
            model.Pattern().SetSingle(op.Tile);
            model.PatternOffset = {};
            break;
        default:
            break;
        }
        switch (op.Kind) {
        case TOpKind::Place: model.ApplyPenStroke({op.A}, op.Keys); break;
        case TOpKind::Rect: model.ApplyRectangle(op.A, op.B, op.Keys); break;
        case TOpKind::Ellipse: model.ApplyEllipse(op.A, op.B, op.Keys); break;
        case TOpKind::Fill: model.ApplySeedFill(op.A, op.Keys); break;
        case TOpKind::Pattern: {
            TKelCurrentChip pattern;
            pattern.SetSingle(op.Tile);
            canvas.SetPattern(canvas.Mode(), pattern);
            break;
        }
        case TOpKind::Select: {
            // A fresh selection: the tool change drops the one there is.
            canvas.SetTool(TKelEditTool::Select);
            const auto clampX = [&map](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, 0, map->Width())); };
            const auto clampY = [&map](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, 0, map->Height())); };
            const TPoint from = canvas.CellOrigin(TPoint{clampX(std::min(op.A.X, op.B.X)), clampY(std::min(op.A.Y, op.B.Y))});
            const TPoint to = canvas.CellOrigin(TPoint{clampX(std::max<std::int64_t>(op.A.X, op.B.X) + 1),
                                                       clampY(std::max<std::int64_t>(op.A.Y, op.B.Y) + 1)});
            canvas.MouseDown(TCanvasButton::Left, from.X, from.Y, op.Keys);
            canvas.MouseMove(to.X, to.Y, op.Keys);
            canvas.MouseUp(TCanvasButton::Left, to.X, to.Y, op.Keys);
            if (!canvas.HasSelection())
                std::fprintf(stderr, "quillon-cli: select: no cell of the map lies between the corners\n");
            break;
        }
        case TOpKind::Move: {
            if (!canvas.HasSelection() || canvas.Tool() != TKelEditTool::Select)
                return Fail("move", "there is no selection to move");
            const TRect selection = canvas.Selection();
            const TPoint start = canvas.CellOrigin(TPoint{selection.Left, selection.Top});
            const int half = TKelMapViewModel::kFullCellSize / 2;
            const std::int64_t size = TKelMapViewModel::kFullCellSize;
            const auto pixel = [](std::int64_t v) {
                return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
            };
            canvas.MouseDown(TCanvasButton::Left, start.X + half, start.Y + half, op.Keys);
            const int x = pixel(start.X + half + op.A.X * size), y = pixel(start.Y + half + op.A.Y * size);
            canvas.MouseMove(x, y, op.Keys);
            canvas.MouseUp(TCanvasButton::Left, x, y, op.Keys);
            break;
        }
        case TOpKind::Clear:
            useSelectTool();
            if (!canvas.KeyDown(TCanvasKey::Delete, op.Keys))
                std::fprintf(stderr, "quillon-cli: clear: there is no selection\n");
            break;
        case TOpKind::SelectAll:
            useSelectTool();
            canvas.KeyDown(TCanvasKey::A, TKelEditKeys{op.Keys.Shift, true});
            break;
        case TOpKind::Undo:
            if (!canvas.KeyDown(TCanvasKey::Z, TKelEditKeys{op.Keys.Shift, true}))
                std::fprintf(stderr, "quillon-cli: undo: nothing to undo\n");
            break;
        case TOpKind::Copy: {
            if (canvas.Tool() != TKelEditTool::Select || !canvas.KeyDown(TCanvasKey::C, TKelEditKeys{op.Keys.Shift, true}))
                return Fail("copy", "there is no selection to copy");
            try {
                WriteFileAtomic(op.File, *clipboard.GetData(kMapCellClipboardFormat));
            } catch (const std::exception& e) {
                return Fail(op.File, e.what());
            }
            break;
        }
        case TOpKind::Paste: {
            std::error_code error;
            const std::uintmax_t size = std::filesystem::file_size(op.File, error);
            if (error)
                return Fail(op.File, "cannot be read");
            if (size > kMaxBlockFile)
                return Fail(op.File, "not a map cell block (too large)");
            std::ifstream in(op.File, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            if (!in && !in.eof())
                return Fail(op.File, "cannot be read");
            if (!DecodeMapCellBlock(bytes))
                return Fail(op.File, "not a map cell block (its length does not match its size)");
            if (!inside(op.A))
                return Fail("paste", "the centre cell lies outside the map");
            clipboard.SetData(kMapCellClipboardFormat, bytes);
            useSelectTool();
            // A view of one cell, scrolled onto the centre cell: Ctrl+V centres the block there.
            canvas.SetClientSize(TKelMapViewModel::kFullCellSize, TKelMapViewModel::kFullCellSize);
            canvas.ScrollTo(static_cast<std::int64_t>(op.A.X) * TKelMapViewModel::kFullCellSize,
                            static_cast<std::int64_t>(op.A.Y) * TKelMapViewModel::kFullCellSize);
            const bool pasted = canvas.KeyDown(TCanvasKey::V, TKelEditKeys{op.Keys.Shift, true});
            fullView();
            if (!pasted)
                return Fail(op.File, "was not pasted");
            break;
        }
        default:
            break;
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
