#include "app/cli/CliVerbs.h"

namespace quillon::cli {

int VerbDump(const TArgs&) { return Fail("dump", "not yet"); }
int VerbNewDatabase(const TArgs&) { return Fail("new-database", "not yet"); }
int VerbResave(const TArgs&) { return Fail("resave", "not yet"); }

}  // namespace quillon::cli
