#include "database/MonsterImages.h"

#include "data/LD_Monster.h"
#include "project/Resources.h"

namespace quillon {

TImageFinder ProjectImageFinder() {
    return [](const std::string& kind, const std::string& name) { return FindResourceFile(name, kind, ImageExtensions); };
}

int NormalisedHue(int hue) {
    const int degrees = hue % 360;
    return degrees < 0 ? degrees + 360 : degrees;
}

TMonsterImages::TMonsterImages(TImageFinder find) : mFind(std::move(find)) {
    mEmpty.SetSize(kMissingImageSize, kMissingImageSize);
    mEmpty.Clear();
    mEmpty.Transparent = true;
}

TOrlenSheet& TMonsterImages::Image(const TKelMonsterItem* monster) {
    TOrlenSheet* sheet = monster ? Find(monster->GraphicName, monster->Hue) : nullptr;
    return sheet ? *sheet : mEmpty;
}

TOrlenSheet* TMonsterImages::Find(const std::string& name, int hue) {
    if (name.empty() || !mFind)
        return nullptr;
    hue = NormalisedHue(hue);
    const auto key = std::make_pair(name, hue);
    auto found = mSheets.find(key);
    if (found == mSheets.end()) {
        auto sheet = std::make_unique<TOrlenSheet>();
        sheet->AutoSize = true;
        try {
            LoadSheetResource(*sheet, mFind, "Monster", name, false);
        } catch (const std::exception&) {
            sheet->FreeImage();
        }
        if (sheet->Width() > 0 && sheet->Height() > 0 && hue != 0)
            sheet->ShiftHue(hue);
        sheet->Transparent = true;
        found = mSheets.emplace(key, std::move(sheet)).first;
    }
    TOrlenSheet& sheet = *found->second;
    return sheet.Width() > 0 && sheet.Height() > 0 ? &sheet : nullptr;
}

}  // namespace quillon
