// The windows the event manager opens in the editor: the event editor (installed by the owner),
// "Set Vehicle Position", the "Teleport to a Place" command dialog, and the database save after a
// dialog changed names.
#pragma once

#include "events/EventChoosers.h"
#include "events/EventManager.h"
#include "events/EvCmdList_qt.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace quillon {

class TEventManagerDialogsQt final : public IEventManagerDialogs {
public:
    using TCommit = std::function<bool(const TKelEventItem&)>;

    explicit TEventManagerDialogsQt(QWidget* owner);

    // The event editor, modal on `copy`; while it is not set, editing opens nothing.
    std::function<void(TKelEventItem& copy, std::int32_t id, bool applyEnabled, const TCommit& commit)> OpenEditor;
    // Writes the database file; raises when it cannot be written. Unset: a save fails.
    std::function<void()> SaveDataBaseFile;
    // The pickers a dialog opened from the canvas uses ("Set Place" of the teleport event);
    // unset: the dialog offers none.
    std::function<std::unique_ptr<IEventChoosers>()> MakeChoosers;
    // The command dialogs the teleport dialog is run through (the owner installs their runner).
    TEventCommandDialogsQt& CommandDialogs() { return mCommands; }

    void EditEvent(TKelEventItem& copy, std::int32_t id, bool applyEnabled, const TCommit& commit) override;
    int ChooseVehicle() override;
    bool RunTeleportDialog(TKelEventScriptList& result, const TEventCommandContext& context) override;
    bool SaveDataBase(std::string& error) override;

private:
    QWidget* mOwner;
    TEventCommandDialogsQt mCommands;
};

}  // namespace quillon
