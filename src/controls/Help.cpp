#include "controls/Help.h"

#include <utility>

namespace quillon {

namespace {

THelpHandler& Handler() {
    static THelpHandler handler;
    return handler;
}

}  // namespace

THelpHandler SetHelpHandler(THelpHandler handler) { return std::exchange(Handler(), std::move(handler)); }

void ShowHelp(int context) {
    if (const THelpHandler& handler = Handler())
        handler(context);
}

std::string HelpTopicName(int context) {
    switch (context) {
    case kHelpProjectContext: return "getting-started";
    case kHelpTestPlayContext: return "test-play";
    case 171:  // map properties
    case 190:  // area properties
        return "drawing-maps";
    case 177:  // material manager
        return "materials";
    case 201:  // event editor
    case 26:   // move route editor
        return "events";
    default: break;
    }
    if (context >= 2 && context <= 14)  // the database pages
        return "database";
    if (context >= 10000 && context < 30000)  // the event command dialogs, by command code
        return "events";
    return "index";
}

}  // namespace quillon
