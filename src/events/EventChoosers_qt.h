// The event dialogs' pickers as the window layer opens them: the switch and variable pickers,
// the resource, event graphic, music and sound selectors, the place picker and the move route
// editor (handed in by whoever builds it).
#pragma once

#include "events/EventChoosers.h"

#include <QPoint>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace quillon {

class TKelDataBase;
class TKelMap;
class TKelMapTree;

class TEventChoosersQt final : public IEventChoosers {
public:
    // owner: the window the pickers belong to. mapTree: for "Set Place" (none: it is not
    // offered). chipSetName: the image of the current map's chipset (the event graphic's tiles).
    // sharedMap: the editor's open map, shown in "Set Place" with its unsaved changes.
    TEventChoosersQt(QWidget* owner, TKelDataBase& db, TKelMapTree* mapTree = nullptr, std::string chipSetName = {},
                     const TKelMap* sharedMap = nullptr);

    bool ChooseSwitch(std::int32_t& id) override;
    bool ChooseVariable(std::int32_t& id) override;
    bool ChooseResource(TSelKind kind, std::string& name, std::int32_t* index, const std::string& caption) override;
    bool ChooseSystemGraphic(std::string& name, std::int32_t& wallpaper, std::int32_t& font,
                             const std::string& caption) override;
    bool ChooseEventGraphic(std::string& name, std::int32_t& index, std::int32_t& direction,
                            std::int32_t& pattern) override;
    bool ChooseMusic(TKelMusic& music, const std::string& caption) override;
    bool ChooseSound(TKelSound& sound, const std::string& caption) override;
    void ListenToMusic() override;
    // Through RouteEditor; false while none is set.
    bool EditMoveRoute(TMoveRouteRequest& request, const TEventCommandContext& context) override;
    bool ChoosePlace(TMapPlaceRequest& place) override;
    bool DataBaseChanged() const override { return mDataBaseChanged; }
    void DataBaseSaved() override { mDataBaseChanged = false; }

    // Where the switch and variable pickers open, from the owner window's client origin (none:
    // centred on the owner).
    std::optional<QPoint> NamePickerOffset;
    // Where the image selectors of ChooseResource open, likewise.
    std::optional<QPoint> ResourcePickerOffset;

    // The move route editor.
    std::function<bool(TMoveRouteRequest&, const TEventCommandContext&)> RouteEditor;

private:
    QWidget* mOwner;
    TKelDataBase& mDb;
    TKelMapTree* mMapTree;
    std::string mChipSetName;
    const TKelMap* mSharedMap;
    bool mDataBaseChanged = false;
};

}  // namespace quillon
