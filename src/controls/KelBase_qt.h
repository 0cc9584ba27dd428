// The base of every modal dialog of the editor. It opens centred on its owner (or at a fixed
// offset from the owner's client origin) and clamped into the screen's available area; F1 and
// "&Help" open its help context; Esc and the window's close box mean Cancel; it ends with mrOk or
// mrCancel; a context menu is shown only for the widget under the mouse cursor.
#pragma once

#include "platform/MessageBox.h"

#include <QDialog>
#include <QPoint>

#include <functional>
#include <optional>

class QAbstractButton;
class QBoxLayout;
class QPushButton;

namespace quillon {

class TFormKelBase : public QDialog {
    Q_OBJECT
public:
    explicit TFormKelBase(QWidget* parent = nullptr);
    ~TFormKelBase() override;

    // The help context that "&Help" and F1 open.
    void SetHelpContext(int context) { mHelpContext = context; }
    int HelpContext() const { return mHelpContext; }
    // Dialogs that sit at a fixed place: the offset from the owner's client origin.
    void SetFixedOffset(QPoint offset) { mFixedOffset = offset; }

    // Shows the dialog modally (through the test runner when one is installed) and answers its
    // result.
    int RunModal();
    // True when the user confirmed (the dialog ended with mrOk).
    bool Run() { return RunModal() == mrOk; }

    // The standard buttons among the children: "ButtonOk" runs ButtonOkClick, "ButtonCancel"
    // cancels, "ButtonHelp" opens the help context. Buttons that are not there are left out.
    void ConnectStandardButtons();
    // Dialogs built in code: the row of "ButtonOk" (the default button, captioned okCaption),
    // "Cancel" and (withHelp) "&Help" at the right end, added to `layout` and connected.
    // Answers OK.
    QPushButton* AddStandardButtons(QBoxLayout& layout, const QString& okCaption, bool withHelp = true);

    // Moves the dialog where it opens (done on its first show).
    void Place();

public slots:
    void Confirm() { done(mrOk); }
    void Cancel() { done(mrCancel); }
    void accept() override { Confirm(); }
    // Esc and the window's close box.
    void reject() override { Cancel(); }

    // OK: confirms when CanConfirm agrees.
    virtual void ButtonOkClick();
    void ButtonCancelClick() { Cancel(); }
    void ButtonHelpClick();

protected:
    // OK's last word: false keeps the dialog open (the refusal has been shown by then).
    virtual bool CanConfirm() { return true; }
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void HelpKeyPressed();

private:
    int mHelpContext = 0;
    std::optional<QPoint> mFixedOffset;
    bool mPlaced = false;
};

// Puts a top-level window where a dialog of the editor opens: centred on `owner` (its window),
// or at `fixedOffset` from the owner's client origin, clamped into the available screen area.
void PlaceDialogWindow(QWidget& dialog, const QWidget* owner, std::optional<QPoint> fixedOffset = std::nullopt);

// Runs every dialog of the base in place of its modal loop while it lives (tests drive dialogs
// with it); the runner answers the result. Runners nest: the previous one returns at the end.
class TScopedModalRunner {
public:
    using TRunner = std::function<int(TFormKelBase& dialog)>;
    explicit TScopedModalRunner(TRunner runner);
    ~TScopedModalRunner();
    TScopedModalRunner(const TScopedModalRunner&) = delete;
    TScopedModalRunner& operator=(const TScopedModalRunner&) = delete;

private:
    TRunner mPrevious;
};

}  // namespace quillon
