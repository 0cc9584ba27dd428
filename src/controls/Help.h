// Help by context number. Every dialog's "&Help" and F1 end here; the editor installs the handler
// that shows the page, tests put a recorder in its place.
#pragma once

#include <functional>
#include <string>

namespace quillon {

// Contexts of the editor's own windows that have no number of their own.
inline constexpr int kHelpIndexContext = 0;
inline constexpr int kHelpProjectContext = 90001;  // the project dialogs
inline constexpr int kHelpTestPlayContext = 90002; // test play and battle test

using THelpHandler = std::function<void(int context)>;

// Installs the program-wide handler and answers the one it replaced.
THelpHandler SetHelpHandler(THelpHandler handler);
// Shows the help of a context through the installed handler (nothing without one).
void ShowHelp(int context);

// The page that stands for a context: our help pages are grouped by subject, so several
// contexts share a page ("drawing-maps", "events", "database" ...); "index" for an unknown one.
std::string HelpTopicName(int context);

}  // namespace quillon
