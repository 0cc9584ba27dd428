// The switch and variable pickers without a window: the group rows and the rows of the
// selected group, as the picker shows them after opening on an ID and changing the count.
#include "app/cli/CliVerbs.h"
#include "app/cli/CliArgs.h"

#include "controls/DataMaxChange.h"
#include "controls/SelSwitch.h"
#include "data/LD_DataBase.h"
#include "platform/TextCodec.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace quillon::cli {

namespace {

constexpr const char* kPickerUsage =
    "usage: quillon-cli picker FILE switch|variable [--count N] [--select ID]";

}  // namespace

int VerbPicker(const TArgs& args) {
    if (args.size() < 2 || (args[1] != "switch" && args[1] != "variable"))
        return Fail("picker", kPickerUsage);
    std::optional<int> count, select;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const bool isCount = args[i] == "--count", isSelect = args[i] == "--select";
        if ((!isCount && !isSelect) || i + 1 >= args.size())
            return Fail("picker", kPickerUsage);
        const std::optional<int> value = ReadNumber32(args[++i]);
        if (!value)
            return Fail("picker", "not a number: " + args[i] + "\n" + kPickerUsage);
        if (isCount && (*value < kMinDataCount || *value > kMaxDataCount))
            return Fail("picker", "the count lies between 1 and 30000");
        (isCount ? count : select) = value;
    }

    auto database = std::make_unique<TKelDataBase>();
    database->LoadFromFile(args[0]);
    TCatalog& list = args[1] == "switch" ? static_cast<TCatalog&>(database->Switch)
                                         : static_cast<TCatalog&>(database->Variable);
    TSelSwitchModel model(list);
    model.Open(select.value_or(1));
    if (count)
        model.SetCount(*count);

    std::printf("count %d, current %s\n", model.Count(), model.IdLabel().c_str());
    const std::vector<std::string> groups = model.GroupRows();
    for (int g = 0; g < static_cast<int>(groups.size()); ++g)
        std::printf("%c %s\n", g == model.Group() ? '>' : ' ', groups[static_cast<std::size_t>(g)].c_str());
    std::printf("\n");
    const std::vector<std::string> rows = model.Rows();
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        std::printf("%c %s\n", r == model.Row() ? '>' : ' ', Cp932ToUtf8(rows[static_cast<std::size_t>(r)]).c_str());
    return 0;
}

}  // namespace quillon::cli
