// The "Multi Copy" dialog: how many entries, from the current one on, go into one clipboard block.
#pragma once

#include "controls/KelBase_qt.h"

#include <QPoint>

namespace quillon {

class TNumberEdit;

class TFormDataMultiCopy : public TFormKelBase {
    Q_OBJECT
public:
    // most: the entries from the current one to the end of the list (the box allows 1 .. most
    // and starts at most).
    TFormDataMultiCopy(int most, QWidget* owner = nullptr);
    TNumberEdit* NumberEdit() const { return mNumber; }
    int Value() const;

private:
    TNumberEdit* mNumber;
};

// Opens the dialog at `offset` from the owner's client origin; on OK stores the number in
// `count` and answers true.
bool AskMultiCopyCount(QWidget* owner, int most, int& count, QPoint offset);

}  // namespace quillon
