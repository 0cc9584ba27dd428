#include "data/EditorMode.h"

namespace quillon {

namespace {
bool gEditorMode = false;
}

bool EditorMode() { return gEditorMode; }
void SetEditorMode(bool on) { gEditorMode = on; }

}  // namespace quillon
