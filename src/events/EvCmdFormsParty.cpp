#include "events/CommandFormBatches.h"

namespace quillon {

void AddPartyCommandForms(std::vector<TCommandForm>& forms) {
    (void)forms;
}

}  // namespace quillon
