#include "graphics/DrawUtils.h"

#include <algorithm>
#include <cstdint>

namespace quillon {

TRect ScaleRect(const TRect& rect, int factor) {
    return TRect{rect.Left * factor, rect.Top * factor, rect.Right * factor, rect.Bottom * factor};
}

TRect RectFromCells(const TPoint& a, const TPoint& b) {
    return TRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1};
}

TRect FitRect(const TRect& box, int imageWidth, int imageHeight) {
    const std::int64_t boxWidth = box.Width();
    const std::int64_t boxHeight = box.Height();
    std::int64_t width = imageWidth;
    std::int64_t height = imageHeight;
    if (width > boxWidth || height > boxHeight) {
        // box width / box height > image width / image height, compared without division
        if (boxWidth * imageHeight > static_cast<std::int64_t>(imageWidth) * boxHeight) {
            height = boxHeight;
            width = imageHeight != 0 ? static_cast<std::int64_t>(imageWidth) * boxHeight / imageHeight : 0;
        } else {
            width = boxWidth;
            height = imageWidth != 0 ? static_cast<std::int64_t>(imageHeight) * boxWidth / imageWidth
                                     : std::min<std::int64_t>(imageHeight, boxHeight);
        }
    }
    const std::int64_t left = (boxWidth - width) / 2;
    const std::int64_t top = (boxHeight - height) / 2;
    return TRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
                 static_cast<int>(top + height)};
}

int EdgeScrollStep(int distance) { return std::clamp(distance / 2, 0, 20); }

std::string RangeText(int a, int b) {
    if (a == b)
        return std::to_string(a);
    return std::to_string(a) + "-" + std::to_string(b);
}

}  // namespace quillon
