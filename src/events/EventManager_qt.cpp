#include "events/EventManager_qt.h"

#include "mapedit/MapShift_qt.h"
#include "platform/MessageBox.h"

#include <exception>

namespace quillon {

TEventManagerDialogsQt::TEventManagerDialogsQt(QWidget* owner) : mOwner(owner), mCommands(owner) {}

void TEventManagerDialogsQt::EditEvent(TKelEventItem& copy, std::int32_t id, bool applyEnabled,
                                       const TCommit& commit) {
    if (OpenEditor)
        OpenEditor(copy, id, applyEnabled, commit);
}

int TEventManagerDialogsQt::ChooseVehicle() {
    // The chooser answers 1 boat, 2 ship, 3 airship, 0 cancelled.
    return quillon::ChooseVehicle(mOwner) - 1;
}

bool TEventManagerDialogsQt::RunTeleportDialog(TKelEventScriptList& result, const TEventCommandContext& context) {
    if (context.Choosers != nullptr || !MakeChoosers)
        return mCommands.RunDialog(ToInt(TCommandCode::Teleport), result, context);
    // Pickers of the dialog's own: what they change in the database is saved here.
    const std::unique_ptr<IEventChoosers> choosers = MakeChoosers();
    TEventCommandContext own = context;
    own.Choosers = choosers.get();
    const bool ok = mCommands.RunDialog(ToInt(TCommandCode::Teleport), result, own);
    std::string error;
    if (choosers && choosers->DataBaseChanged() && !SaveDataBase(error))
        ShowError(error.empty() ? std::string("The database could not be saved.") : error);
    return ok;
}

bool TEventManagerDialogsQt::SaveDataBase(std::string& error) {
    if (!SaveDataBaseFile) {
        error = "The database could not be saved.";
        return false;
    }
    try {
        SaveDataBaseFile();
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

}  // namespace quillon
