#include "events/CommandFormBatches.h"

namespace quillon {

void AddSystemCommandForms(std::vector<TCommandForm>& forms) {
    (void)forms;
}

}  // namespace quillon
