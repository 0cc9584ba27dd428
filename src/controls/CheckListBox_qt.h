// A check list: rows with a check box each (attribute sets and the like). Space or a click on the
// box toggles a row; CheckEdited comes only for the user's changes.
#pragma once

#include <QListWidget>

#include <string>
#include <vector>

namespace quillon {

class TCheckListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TCheckListBox(QWidget* parent = nullptr);
    // Rows of CP932 names, all unchecked.
    void SetRows(const std::vector<std::string>& names);
    bool Checked(int row) const;
    // No signal.
    void SetChecked(int row, bool checked);
    std::vector<bool> CheckedRows() const;
    void SetCheckedRows(const std::vector<bool>& checked);

signals:
    void CheckEdited(int row, bool checked);

private:
    bool mSetting = false;
};

}  // namespace quillon
