#include "events/CommandFormBatches.h"

namespace quillon {

void AddScreenCommandForms(std::vector<TCommandForm>& forms) {
    (void)forms;
}

}  // namespace quillon
