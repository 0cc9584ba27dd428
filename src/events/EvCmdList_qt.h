// The event command palettes ("Event Commands"): TFormEvCmdList with three tabs of 30 buttons
// for map events and common events, TFormEvCmdList2 with 32 buttons for troop battle pages.
// Their buttons are made from the command catalogue, each in the place it names. A button runs
// its command's dialog on the palette's result script; OK there closes the palette with OK.
// TEventCommandDialogsQt is what the script list opens them through.
#pragma once

#include "events/EvCmdList.h"

#include "controls/KelBase_qt.h"

#include <functional>
#include <memory>

class QGridLayout;
class QPushButton;

namespace Ui {
class TFormEvCmdList;
class TFormEvCmdList2;
}  // namespace Ui

namespace quillon {

// Opens the form of a command on a result script (the edited lines, or nothing for a new
// command); true on OK. Answers false for a code it has no form for.
using TCommandDialogRunner = std::function<bool(QWidget* owner, std::int32_t code, TKelEventScriptList& result,
                                                const TEventCommandContext& context)>;

// The palettes and the command forms as the script list reaches them.
class TEventCommandDialogsQt final : public IEventCommandDialogs {
public:
    explicit TEventCommandDialogsQt(QWidget* owner);
    // Installs a runner that opens the commands' forms in place of the dialogs (a test's). The
    // commands without settings are still made without one (BuildCommandWithoutForm).
    void SetRunner(TCommandDialogRunner runner) { mRunner = std::move(runner); }

    bool ChooseCommand(TScriptEditorKind kind, TKelEventScriptList& result,
                       const TEventCommandContext& context) override;
    // The commands without settings at once, the selector commands through their selectors,
    // messages and comments in the memo, every other command with a form in its dialog; a code
    // without any of them does nothing.
    bool RunDialog(std::int32_t code, TKelEventScriptList& result, const TEventCommandContext& context) override;

private:
    QWidget* mOwner;
    TCommandDialogRunner mRunner;
};

// What both palettes share: the buttons, the palette model and the dialog they run.
class TFormEvCmdListBase : public TFormKelBase {
    Q_OBJECT

public:
    TFormEvCmdListBase(QWidget* parent, bool battle, IEventCommandDialogs& dialogs,
                       const TEventCommandContext& context);

    TEvCmdPalette& Palette() { return mPalette; }
    // The lines the chosen command's dialog made.
    const TKelEventScriptList& ResultScript() const { return mPalette.ResultScript(); }
    QPushButton* Button(int index) const;

public slots:
    void ButtonClick();

protected:
    // Makes a button per command, each in the grid of its tab, then wires the standard buttons
    // and sets the Tab order: `first` (the tab bar, or nullptr), the command buttons in their
    // order, then the standard buttons.
    void MakeButtons(const std::function<QGridLayout*(int tab)>& gridOfTab, QWidget* first,
                     const std::vector<QWidget*>& standard);
    // Brings the button's tab to the front.
    virtual void ShowButton(int index) = 0;
    void showEvent(QShowEvent* event) override;
    // Enter and Return on a focused command button press it, as Space does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TEvCmdPalette mPalette;
    IEventCommandDialogs& mDialogs;
    TEventCommandContext mContext;
    std::vector<QPushButton*> mButtons;
};

class TFormEvCmdList final : public TFormEvCmdListBase {
    Q_OBJECT

public:
    TFormEvCmdList(QWidget* parent, IEventCommandDialogs& dialogs, const TEventCommandContext& context);
    ~TFormEvCmdList() override;
    int CurrentTab() const;

protected:
    void ShowButton(int index) override;

private:
    std::unique_ptr<Ui::TFormEvCmdList> mUi;
};

class TFormEvCmdList2 final : public TFormEvCmdListBase {
    Q_OBJECT

public:
    TFormEvCmdList2(QWidget* parent, IEventCommandDialogs& dialogs, const TEventCommandContext& context);
    ~TFormEvCmdList2() override;

protected:
    void ShowButton(int index) override;

private:
    std::unique_ptr<Ui::TFormEvCmdList2> mUi;
};

}  // namespace quillon
