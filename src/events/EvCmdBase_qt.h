// The event command dialog: a modal form over one command's description. It loads the edited
// command's lines (or the last settings, for a new command) into the dialog model, shows the
// command's fields built from the description, and on "&Ok" writes the command's lines into the
// result script: after refusing settings the command cannot take, and after asking before the
// bodies that hold commands are dropped. "Cancel" changes nothing. Dialogs with a layout of their
// own derive from it and keep its protocol.
#pragma once

#include "controls/KelBase_qt.h"
#include "events/CommandForm.h"

#include <memory>

class QFormLayout;
class QPushButton;

namespace quillon {

class TFieldBinder;

class TFormEvCmdBase : public TFormKelBase {
    Q_OBJECT
public:
    // The dialog of `form`, built from its fields; `resultScript` holds the edited command's
    // lines (nothing for a new command) and receives the new lines on OK.
    TFormEvCmdBase(QWidget* parent, const TCommandForm& form, const TEventCommandContext& context,
                   TKelEventScriptList& resultScript);
    ~TFormEvCmdBase() override;

    // Shows the dialog modally; true when it closed with OK (the result script holds the lines).
    virtual bool Execute() { return Run(); }

    TKelEventScriptList& ResultScript() const { return mResultScript; }
    TCommandDialogModel& Model() { return mModel; }
    const TEventCommandContext& Context() const { return mContext; }
    // The binder of the built fields; nullptr for a dialog with a layout of its own.
    TFieldBinder* Binder() const { return mBinder; }
    QPushButton* ButtonOk() const { return mButtonOk; }

protected:
    enum class TLayout { Fields, OwnLayout };
    // A dialog that lays out its controls itself in Body().
    TFormEvCmdBase(QWidget* parent, const TCommandForm& form, const TEventCommandContext& context,
                   TKelEventScriptList& resultScript, TLayout layout);

    // Where the settings are shown.
    QWidget* Body() const { return mBody; }
    // The buttons are made before the settings (the settings' Alt letters keep clear of theirs)
    // but come after them when tabbing; a dialog with its own layout calls this once it is made.
    void ButtonsLastInTabOrder();
    // Gives the dialog the size its contents ask for, within the screen.
    void FitToContents();
    // OK: takes what the controls hold into the record (for controls the binder does not hold).
    virtual void TakeInput() {}
    bool CanConfirm() override;

private:
    void Make(TLayout layout);

    TKelEventScriptList& mResultScript;
    TEventCommandContext mContext;
    TCommandDialogModel mModel;
    QWidget* mBody = nullptr;
    QFormLayout* mFields = nullptr;
    TFieldBinder* mBinder = nullptr;
    QPushButton* mButtonOk = nullptr;
};

// The caption of a command's dialog: the command's caption in the catalogue.
QString CommandDialogCaption(std::int32_t code);

}  // namespace quillon
