// The battle images of monsters as the database pages draw them: found in the project's
// "Monster" folder, then in the run-time package, with the monster's hue shift applied.
#pragma once

#include "graphics/ImageResources.h"
#include "graphics/OrlenSheet.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace quillon {

class TKelMonsterItem;

inline constexpr int kMissingImageSize = 64;      // a monster without an image
inline constexpr int kTranslucentOpacity = 160;   // a monster drawn semi-transparent ("Transp.")

// The project's images, then the run-time package's.
TImageFinder ProjectImageFinder();

// A stored hue as the images take it: degrees 0..359 (any value is brought into the circle).
int NormalisedHue(int hue);

// The images (with their hue shift), loaded once per image and hue; a monster without an image,
// or none at all, has an empty 64 x 64 image.
class TMonsterImages {
public:
    explicit TMonsterImages(TImageFinder find = {});
    TOrlenSheet& Image(const TKelMonsterItem* monster);
    // The image of a name with a hue; nullptr when the name is empty or its file is not found or
    // cannot be read.
    TOrlenSheet* Find(const std::string& name, int hue);
    void Clear() { mSheets.clear(); }

private:
    TImageFinder mFind;
    std::map<std::pair<std::string, int>, std::unique_ptr<TOrlenSheet>> mSheets;
    TOrlenSheet mEmpty;
};

}  // namespace quillon
