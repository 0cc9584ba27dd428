// The hourglass as Qt's override cursor.
#pragma once

#include "platform/BusyCursor.h"

namespace quillon {

class TQtBusyCursor final : public IBusyCursor {
public:
    void Begin() override;
    void End() override;
};

}  // namespace quillon
