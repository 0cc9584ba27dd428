#include "events/CommandFormBatches.h"

namespace quillon {

void AddBlockCommandForms(std::vector<TCommandForm>& forms) {
    (void)forms;
}

}  // namespace quillon
