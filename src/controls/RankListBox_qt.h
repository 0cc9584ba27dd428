// A rank list: a row per condition or attribute with its name and its rank letter A..E. A click
// on a row's rank steps it on; A..E typed set it, + and - (or Right and Left) step it.
#pragma once

#include <QTreeWidget>

#include <memory>

namespace quillon {

// Signal.h is kept out of headers that moc sees together with Qt's keyword macros.
class TConnection;
class TRankListModel;

class TRankListBox : public QTreeWidget {
    Q_OBJECT
public:
    // Shows the model's rows; the model outlives the list.
    explicit TRankListBox(TRankListModel& model, QWidget* parent = nullptr);
    ~TRankListBox() override;
    // Reads the rows again (after the model's rows were replaced).
    void Refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ShowRank(int row, int rank);
    TRankListModel& mModel;
    std::unique_ptr<TConnection> mChanged;
};

}  // namespace quillon
