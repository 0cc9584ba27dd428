#include "events/EventManager_qt.h"

#include "mapedit/MapShift_qt.h"

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
    return mCommands.RunDialog(kCodeTeleport, result, context);
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
