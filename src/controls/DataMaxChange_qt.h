// The count dialog "Data Maximum (30,000)": the number of entries of a list, 1 .. 30000, with
// the loss question when it goes down.
#pragma once

#include "controls/DataMaxChange.h"
#include "controls/KelBase_qt.h"

#include <optional>

class QPoint;

namespace quillon {

class TNumberEdit;

class TFormDataMaxChange : public TFormKelBase {
    Q_OBJECT
public:
    TFormDataMaxChange(TDataMaxChangeModel& model, QWidget* owner = nullptr);
    TNumberEdit* NumberEdit() const { return mNumber; }

protected:
    // OK takes the number; a smaller one asks first (No stays in the dialog).
    bool CanConfirm() override;

private:
    TDataMaxChangeModel& mModel;
    TNumberEdit* mNumber;
};

// Opens the dialog on `current` (centred on the owner, or at `offset` from its client origin);
// on OK stores the new number in `count` and answers true.
bool ChangeDataCount(QWidget* owner, int current, int& count, std::optional<QPoint> offset = std::nullopt);

}  // namespace quillon
