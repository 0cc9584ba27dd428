#include "project/MissingResources.h"

#include "data/LD_CmnEvent.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/LD_MonGroup.h"
#include "data/LD_MoveRoute.h"
#include "platform/FileUtils.h"
#include "project/ProjectManager.h"
#include "project/Resources.h"

#include <exception>
#include <set>
#include <utility>

namespace quillon {

namespace {

class TResourceCheck {
public:
    std::vector<TMissingResource> Missing;

    void Image(const char* kind, const std::string& name, const std::string& where) {
        Check(kind, name, where, ImageExtensions);
    }
    void Music(const std::string& name, const std::string& where) { Check("Music", name, where, MusicExtensions); }
    void Sound(const std::string& name, const std::string& where) { Check("Sound", name, where, SoundExtensions); }

    void Route(const TKelMoveRoute& route, const std::string& where) {
        for (const TKelMoveRouteItem& item : route.ItemList()) {
            if (item.Code == mcChangeGraphic)
                Image("CharSet", item.GraphicName, where + " move route");
            else if (item.Code == mcPlaySound)
                Sound(item.SoundName, where + " move route");
        }
    }

    // The commands that name a resource in their text.
    void Script(const TKelEventScriptList& script, const std::string& where) {
        // Read in place: a check must not make every script's lines.
        script.ForEachLine([&](int index, const TKelEventScriptLine& line) {
            const auto at = [&] { return where + " line " + std::to_string(index + 1); };
            switch (ToCommandCode(line.Code)) {
            case TCommandCode::SelectFaceGraphic:
            case TCommandCode::ChangeHeroFaceGraphic: Image("FaceSet", line.Text, at()); break;
            case TCommandCode::ChangeHeroWalkGraphic:
            case TCommandCode::ChangeVehicleGraphic: Image("CharSet", line.Text, at()); break;
            case TCommandCode::ChangeSystemMusic:
            case TCommandCode::PlayBgm: Music(line.Text, at()); break;
            case TCommandCode::ChangeSystemSound:
            case TCommandCode::PlaySoundEffect: Sound(line.Text, at()); break;
            default: break;
            }
        });
    }

private:
    void Check(const char* kind, const std::string& name, const std::string& where, const TExtensionTable& extensions) {
        if (name.empty() || name == kSoundOff)
            return;
        if (!mSeen.insert({kind, name}).second)
            return;
        // FindResourceFile answers the bare name when no file was found.
        const std::string found = FindResourceFile(name, kind, extensions);
        if (found == name || !FileExists(found))
            Missing.push_back({kind, name, where});
    }

    std::set<std::pair<std::string, std::string>> mSeen;
};

void CheckDataBase(TResourceCheck& check, const TKelDataBase& db) {
    for (int i = 0; i < db.ChipSet.Count(); ++i) {
        const TKelChipSetItem* chipset = db.ChipSet.Items(i);
        check.Image("ChipSet", chipset->FileName, "chipset " + std::to_string(chipset->ID));
    }
    for (int i = 0; i < db.Player.Count(); ++i) {
        const TKelPlayerItem* hero = db.Player.Items(i);
        const std::string where = "hero " + std::to_string(hero->ID);
        check.Image("CharSet", hero->CharSetName, where);
        check.Image("FaceSet", hero->FaceName, where);
    }
    for (int i = 0; i < db.Skill.Count(); ++i)
        check.Sound(db.Skill.Items(i)->Sound.Name, "skill " + std::to_string(db.Skill.Items(i)->ID));
    for (int i = 0; i < db.Animation.Count(); ++i) {
        const TKelAnimationItem* animation = db.Animation.Items(i);
        for (int t = 0; t < animation->Timing.Count(); ++t)
            check.Sound(animation->Timing.Items(t)->Sound.Name, "battle animation " + std::to_string(animation->ID));
    }
    const TKelSystem& system = db.System;
    check.Image("CharSet", system.BoatGraphic, "system boat");
    check.Image("CharSet", system.ShipGraphic, "system ship");
    check.Image("CharSet", system.AirshipGraphic, "system airship");
    for (std::size_t i = 0; i < system.Music.size(); ++i)
        check.Music(system.Music[i].Name, "system music " + std::to_string(i + 1));
    for (std::size_t i = 0; i < system.Sound.size(); ++i)
        check.Sound(system.Sound[i].Name, "system sound " + std::to_string(i + 1));
    for (int i = 0; i < db.CommonEvent.Count(); ++i) {
        const TKelCommonEventItem* common = db.CommonEvent.Items(i);
        check.Script(common->Script, "common event " + std::to_string(common->ID));
    }
    for (int i = 0; i < db.MonGroup.Count(); ++i) {
        const TKelMonGroupItem* troop = db.MonGroup.Items(i);
        for (int p = 0; p < troop->Pages.Count(); ++p)
            check.Script(troop->Pages.Items(p)->Script,
                         "troop " + std::to_string(troop->ID) + " page " + std::to_string(p + 1));
    }
}

void CheckMap(TResourceCheck& check, const TKelMap& map, std::int32_t id) {
    const std::string where = "map " + std::to_string(id);
    if (map.PanoramaEnabled)
        check.Image("Panorama", map.PanoramaName, where);
    for (int e = 0; e < map.Events.Count(); ++e) {
        const TKelEventItem* event = map.Events.Items(e);
        for (int p = 0; p < event->Pages.Count(); ++p) {
            const TKelEventPageItem* page = event->Pages.Items(p);
            const std::string at = where + " event " + std::to_string(event->ID) + " page " + std::to_string(page->ID);
            check.Image("CharSet", page->GraphicName, at);
            check.Route(page->MoveRoute, at);
            check.Script(page->Script, at);
        }
    }
}

}  // namespace

std::vector<TMissingResource> FindMissingResources(const std::string& folder) {
    const std::string previous = ProjectPath();
    SetProjectPath(folder);
    struct TRestore {
        std::string Path;
        ~TRestore() { SetProjectPath(Path); }
    } restore{previous};

    TResourceCheck check;
    TKelDataBase db;
    if (FileExists(folder + TKelDataBase::kFileName)) {
        try {
            db.LoadFromFile(folder + TKelDataBase::kFileName);
        } catch (const EReadError&) {
            // A damaged database is reported as such; its sound sections still name resources.
            if (!db.LoadReport().Damaged)
                throw;
        }
        CheckDataBase(check, db);
    }
    if (FileExists(folder + TKelMapTree::kFileName)) {
        TKelMapTree tree;
        const std::string bytes = ReadWholeFile(folder + TKelMapTree::kFileName);
        TByteViewStream stream(bytes);
        tree.LoadTreeFromStream(stream);
        for (int i = 0; i < tree.Count(); ++i) {
            const TKelMapTreeItem* item = tree.Items(i);
            if (item->MusicType == TKelMapTreeItem::mtSetTo)
                check.Music(item->Music.Name, "map tree item " + std::to_string(item->ID));
            if (!item->IsMap() || !FileExists(folder + MapFileName(item->ID)))
                continue;
            // A map that does not load is reported by the file check; what was read is looked at.
            TKelMap map;
            try {
                map.LoadFromFile(folder + MapFileName(item->ID));
            } catch (const std::exception&) {
            }
            CheckMap(check, map, item->ID);
        }
    }
    return std::move(check.Missing);
}

}  // namespace quillon
