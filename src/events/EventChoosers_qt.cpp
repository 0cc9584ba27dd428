#include "events/EventChoosers_qt.h"

#include "controls/SelSwitch_qt.h"
#include "data/LD_DataBase.h"
#include "mapedit/MapSetPlace_qt.h"
#include "platform/Cp932Text_qt.h"
#include "project/SelBase_qt.h"
#include "project/SelEvChar_qt.h"
#include "project/SelMusic_qt.h"

#include <utility>

namespace quillon {

namespace {
QString Caption(const std::string& bytes) { return bytes.empty() ? QString() : Cp932ToQString(bytes); }
}  // namespace

TEventChoosersQt::TEventChoosersQt(QWidget* owner, TKelDataBase& db, TKelMapTree* mapTree, std::string chipSetName,
                                   const TKelMap* sharedMap)
    : mOwner(owner), mDb(db), mMapTree(mapTree), mChipSetName(std::move(chipSetName)), mSharedMap(sharedMap) {}

bool TEventChoosersQt::ChooseSwitch(std::int32_t& id) {
    return quillon::ChooseSwitch(mOwner, mDb, id, mDataBaseChanged, NamePickerOffset);
}

bool TEventChoosersQt::ChooseVariable(std::int32_t& id) {
    return quillon::ChooseVariable(mOwner, mDb, id, mDataBaseChanged, NamePickerOffset);
}

bool TEventChoosersQt::ChooseResource(TSelKind kind, std::string& name, std::int32_t* index,
                                      const std::string& caption) {
    return SelectResource(mOwner, kind, name, index, Caption(caption), ResourcePickerOffset);
}

bool TEventChoosersQt::ChooseSystemGraphic(std::string& name, std::int32_t& wallpaper, std::int32_t& font,
                                           const std::string& caption) {
    int shownWallpaper = wallpaper, shownFont = font;
    if (!SelectSystemGraphic(mOwner, name, shownWallpaper, shownFont, Caption(caption)))
        return false;
    wallpaper = shownWallpaper;
    font = shownFont;
    return true;
}

bool TEventChoosersQt::ChooseEventGraphic(std::string& name, std::int32_t& index, std::int32_t& direction,
                                          std::int32_t& pattern) {
    return SelectEventGraphic(mOwner, mChipSetName, name, index, direction, pattern);
}

bool TEventChoosersQt::ChooseMusic(TKelMusic& music, const std::string& caption) {
    return SelectMusic(mOwner, music, Caption(caption));
}

bool TEventChoosersQt::ChooseSound(TKelSound& sound, const std::string& caption) {
    return SelectSound(mOwner, sound, Caption(caption));
}

void TEventChoosersQt::ListenToMusic() { quillon::ListenToMusic(mOwner); }

bool TEventChoosersQt::EditMoveRoute(TMoveRouteRequest& request, const TEventCommandContext& context) {
    return RouteEditor ? RouteEditor(request, context) : false;
}

bool TEventChoosersQt::ChoosePlace(TMapPlaceRequest& place) {
    if (!mMapTree)
        return false;
    TMapSetPlaceModel model(*mMapTree);
    model.MapId = place.MapId;
    model.X = place.X;
    model.Y = place.Y;
    model.SharedMap = mSharedMap;
    TFormMapSetPlace dialog(model, &mDb.ChipSet, mOwner);
    if (!dialog.Run())
        return false;
    place = {model.MapId, model.X, model.Y};
    return true;
}

}  // namespace quillon
