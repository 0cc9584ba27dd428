#include "tools/lib/RtpImages.h"

#include "data/StreamUtils.h"
#include "graphics/OrlenPng.h"
#include "platform/FileUtils.h"
#include "tools/lib/RtpNames.h"
#include "tools/lib/RtpSprites.h"

namespace quillon {

std::vector<TRtpImage> MakeRtpImages() {
    using namespace rtp;
    std::vector<TRtpImage> images;
    auto add = [&](const char* kind, const char* name, TBitmap image) {
        images.push_back(TRtpImage{kind, name, std::move(image)});
    };
    for (int i = 0; i < 2; ++i)
        add("ChipSet", kChipSets[i], MakeRtpChipSet(i));
    for (int i = 0; i < 4; ++i)
        add("CharSet", kCharSets[i], MakeRtpCharSet(i));
    add("FaceSet", kFaceSet1, MakeRtpFaceSet(0));
    add("FaceSet", kFaceSet2, MakeRtpFaceSet(1));
    add("System", kSystem, MakeRtpSystem());
    add("Title", kTitle, MakeRtpTitle());
    add("GameOver", kGameOver, MakeRtpGameOver());
    add("Backdrop", kBackdrop, MakeRtpBackdrop());
    add("Battle", kBattleAnimation, MakeRtpBattle());
    for (int i = 0; i < 2; ++i)
        add("Monster", kMonsters[i], MakeRtpMonster(i));
    add("Panorama", kPanorama, MakeRtpPanorama());
    add("Picture", kPicture, MakeRtpPicture());
    return images;
}

std::string EncodeRtpPng(const TBitmap& image) {
    TMemoryStream stream;
    WritePng(stream, image);
    return stream.TakeBytes();
}

void WriteRtpImages(const std::string& folder) {
    for (const TRtpImage& image : MakeRtpImages())
        WriteFileAtomic(folder + image.Kind + "/" + image.Name + ".png", EncodeRtpPng(image.Image));
}

}  // namespace quillon
