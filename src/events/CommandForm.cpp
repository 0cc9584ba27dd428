#include "events/CommandForm.h"

#include "events/CommandFormBatches.h"

#include <algorithm>

namespace quillon {

std::span<const TCommandForm> CommandForms() {
    static const std::vector<TCommandForm> forms = [] {
        std::vector<TCommandForm> all;
        AddBlockCommandForms(all);
        AddPartyCommandForms(all);
        AddScreenCommandForms(all);
        AddSystemCommandForms(all);
        std::sort(all.begin(), all.end(), [](const TCommandForm& a, const TCommandForm& b) { return a.Code < b.Code; });
        return all;
    }();
    return forms;
}

const TCommandForm* FindCommandForm(std::int32_t code) {
    const std::span<const TCommandForm> forms = CommandForms();
    const auto found = std::lower_bound(forms.begin(), forms.end(), code,
                                        [](const TCommandForm& form, std::int32_t c) { return form.Code < c; });
    return found != forms.end() && found->Code == code ? &*found : nullptr;
}

}  // namespace quillon
