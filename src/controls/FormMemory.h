// Form placement memory: a window's normal rectangle kept in a settings store as the 44-byte
// placement record written in hex, read back and kept within the screen.
#pragma once

#include "graphics/GraphicsTypes.h"

#include <optional>
#include <string>

namespace quillon {

class TProfileFile;

// The placement is stored as the 44-byte record of the original binary value, written as 88 hex
// digits: length, flags, show state, minimised and maximised positions, normal rectangle (left,
// top, right, bottom), each a little-endian 32-bit integer.
std::string PlacementToHex(const TRect& normal, bool maximized);
// The normal rectangle of a stored value; nullopt for a value of the wrong length, a non-hex digit,
// a record length other than 44 or an empty rectangle.
std::optional<TRect> PlacementFromHex(const std::string& hex);
// Whether a stored value asks for the maximised window.
bool PlacementMaximized(const std::string& hex);
// The window's rectangle kept within the screen's available area: at least the minimum size, at
// most the area's size, moved inside it.
TRect ClampToScreen(TRect window, const TRect& screen, int minWidth, int minHeight);

// The value a form's placement is stored under: "<form name>_Placement".
std::string PlacementValueName(const std::string& formName);
void StoreFormPlacement(TProfileFile& store, const std::string& formName, const TRect& normal, bool maximized);
// The stored rectangle clamped into the screen; nullopt when nothing usable is stored.
std::optional<TRect> StoredFormPlacement(const TProfileFile& store, const std::string& formName, const TRect& screen,
                                         int minWidth, int minHeight);

}  // namespace quillon
