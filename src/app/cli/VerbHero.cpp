// The hero page's curves and rules without a window: the experience tables of "Curve of
// Experience", the curve generator of "Create Curve", and a hero as the page shows it.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "data/LD_DataBase.h"
#include "database/ED_Player.h"
#include "database/ED_PlayerExp.h"
#include "database/ED_PlayerParameter.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kExpUsage = "usage: quillon-cli exp-table BASIC INCREASE CORRECTION [--display]";
constexpr const char* kCurveUsage = "usage: quillon-cli gen-curve START END SHAPE";
constexpr const char* kHeroUsage = "usage: quillon-cli hero FILE ID";

const char* const kSlotNames[TKelPlayerItem::kEquipmentSlots] = {"weapon", "shield", "armor", "helmet", "accessory"};

}  // namespace

int VerbExpTable(const TArgs& args) {
    bool display = false;
    std::vector<std::int32_t> values;
    for (const std::string& arg : args) {
        if (arg == "--display") {
            display = true;
            continue;
        }
        const auto value = ReadNumber32(arg);
        if (!value)
            return Fail("exp-table", "not a number: " + arg + "\n" + kExpUsage);
        values.push_back(*value);
    }
    if (values.size() != 3)
        return Fail("exp-table", kExpUsage);
    const TExpTotals totals = ExpTotals(TExpCurve{values[0], values[1], values[2]}.Clamped());
    for (int level = 1; level <= kExpLevels; ++level) {
        if (display) {
            std::printf("%s\t%s\n", ExpTotalLine(totals, level).c_str(), ExpNextLine(totals, level).c_str());
            continue;
        }
        const std::int32_t next = ExpToNext(totals, level);
        if (next >= 0)
            std::printf("%d\t%d\t%d\n", level, static_cast<int>(totals[level - 1]), static_cast<int>(next));
        else
            std::printf("%d\t%d\t------\n", level, static_cast<int>(totals[level - 1]));
    }
    return 0;
}

int VerbGenCurve(const TArgs& args) {
    if (args.size() != 3)
        return Fail("gen-curve", kCurveUsage);
    const auto start = ReadNumber32(args[0]), end = ReadNumber32(args[1]), shape = ReadNumber32(args[2]);
    if (!start || !end || !shape)
        return Fail("gen-curve", std::string("not a number\n") + kCurveUsage);
    if (*shape < kCurveShapeMin || *shape > kCurveShapeMax)
        return Fail("gen-curve", "SHAPE must be -2 .. 8\n" + std::string(kCurveUsage));
    const TParameterCurve curve = GenerateCurve(*start, *end, *shape);
    for (int level = 1; level <= kParameterLevels; ++level)
        std::printf("%d\t%d\n", level, static_cast<int>(curve[level - 1]));
    return 0;
}

int VerbHero(const TArgs& args) {
    if (args.size() != 2)
        return Fail("hero", kHeroUsage);
    const auto id = ReadNumber32(args[1]);
    if (!id)
        return Fail("hero", "not an ID: " + args[1] + "\n" + kHeroUsage);
    auto db = std::make_unique<TKelDataBase>();
    db->LoadFromFile(args[0]);
    if (!db->Player.FindByID(*id))
        return Fail(args[0], "no hero " + std::to_string(*id));
    TDataBaseContext context;
    context.DataBase = db.get();
    TPlayerPageModel model(context);
    model.SelectId(*id);
    const TKelPlayerItem& hero = model.Hero();
    const auto utf8 = [](const std::string& bytes) { return Cp932ToUtf8(bytes); };

    std::printf("entry: %s\n", utf8(model.RowText(model.CurrentRow())).c_str());
    std::printf("degree: %s\n", utf8(hero.Degree).c_str());
    std::printf("walk: %s %d%s\n", utf8(hero.CharSetName).c_str(), static_cast<int>(hero.CharSetIndex),
                hero.CharSetTransparent ? " transparent" : "");
    std::printf("face: %s %d\n", utf8(hero.FaceName).c_str(), static_cast<int>(hero.FaceIndex));
    std::printf("levels: %d .. %d\n", static_cast<int>(model.InitialLevel()), static_cast<int>(model.MaxLevel()));
    if (model.CriticalEnabled())
        std::printf("critical: 1 in %d\n", static_cast<int>(model.CriticalChance()));
    else
        std::printf("critical: off\n");
    std::printf("options:%s%s%s%s\n", hero.TwoSwords ? " two-swords" : "", hero.EquipmentFixed ? " equipment-fix" : "",
                hero.AiControl ? " ai" : "", hero.StrongDefense ? " strong-defense" : "");
    std::printf("experience: %s\n", model.ExpSummary().c_str());
    std::printf("unarmed-animation: %d\n", static_cast<int>(model.UnarmedAnimation()));
    std::printf("skill-name: %s\n", model.CustomSkillName() ? utf8(hero.SkillCommandName).c_str() : "(default)");
    for (int p = 0; p < kParameterCount; ++p) {
        std::printf("curve %s:", ParameterCaption(p));
        for (int level = 1; level <= kParameterLevels; ++level)
            std::printf(" %d", static_cast<int>(model.Parameter(p, level)));
        std::printf("\n");
    }
    for (int p = 0; p < kParameterCount; ++p)
        std::printf("max %s: %d\n", ParameterCaption(p), static_cast<int>(model.ShownMax(p)));
    for (int slot = 0; slot < TKelPlayerItem::kEquipmentSlots; ++slot) {
        const std::int32_t shown = model.SlotItem(slot);
        std::printf("slot %s:", kSlotNames[slot]);
        for (const TFieldChoice& choice : model.SlotChoices(slot))
            std::printf(" %s%d:%s", choice.Id == shown ? ">" : "", static_cast<int>(choice.Id), utf8(choice.Name).c_str());
        std::printf("\n");
    }
    for (int row = 0; row + 1 < model.LearningRowCount(); ++row)
        std::printf("learning: %s\t%s\n", model.LearningLevelText(row).c_str(), utf8(model.LearningSkillText(row)).c_str());
    return 0;
}

}  // namespace quillon::cli
