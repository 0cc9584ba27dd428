// "Show Message" (10110) and "Comment" (12410): a fixed memo of four lines. The memo holds the
// command's line and its continuation lines, one memo line each; Ctrl+Enter presses "&Ok",
// Esc cancels. Two thin guide lines over the memo mark where a line ends in the game's message
// window beside a face graphic and without one.
#pragma once

#include "events/EvCmdBase_qt.h"

#include <QPlainTextEdit>

namespace quillon {

// The memo: no wrapping, at most a number of lines, code page 932 characters only.
class TMessageMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    // Columns of half-width characters where the guide lines stand.
    static constexpr int kGuideColumns[2] = {38, 50};

    TMessageMemo(int maxLines, QWidget* parent = nullptr);
    int MaxLines() const { return mMaxLines; }
    // The x of a guide line in the viewport (for the column given).
    int GuideX(int column) const;

signals:
    // Ctrl+Enter.
    void ConfirmRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Check();

    int mMaxLines;
    QString mAccepted;
    bool mChecking = false;
};

class TFormEvCmd10110 : public TFormEvCmdBase {
    Q_OBJECT
public:
    // `form` is the description of 10110 or 12410 (it has text lines).
    TFormEvCmd10110(QWidget* parent, const TCommandForm& form, const TEventCommandContext& context,
                    TKelEventScriptList& resultScript);

    TMessageMemo* Memo() const { return mMemo; }

protected:
    void TakeInput() override;

private:
    TMessageMemo* mMemo;
};

}  // namespace quillon
