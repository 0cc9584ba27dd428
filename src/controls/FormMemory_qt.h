// A form's placement kept in a settings store under its object name: the normal rectangle (also
// while maximised) when it closes, back within the screen when it opens again.
#pragma once

class QWidget;

namespace quillon {

class TProfileFile;

void SaveFormPlacement(const QWidget& form, TProfileFile& store);
// Answers whether a stored placement was put on the form (maximised again when it was).
bool RestoreFormPlacement(QWidget& form, const TProfileFile& store);

}  // namespace quillon
