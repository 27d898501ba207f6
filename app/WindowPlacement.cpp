#include "app/WindowPlacement.h"

namespace {

constexpr int kPlacementMargin = 20;
constexpr int kShowCommandShow = 5;

}  // namespace

PlacementRect CentredPlacementRect(int screenWidth, int screenHeight, int width, int height) {
    const int left = (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2;
    return {left, top, left + width, top + height};
}

void ClampPlacement(PlacementValues& placement, int fullScreenWidth, int fullScreenHeight) {
    PlacementRect& r = placement.normal;
    if (r.right < kPlacementMargin) r.right = kPlacementMargin;
    if (r.bottom < kPlacementMargin) r.bottom = kPlacementMargin;
    if (r.left > fullScreenWidth - kPlacementMargin) r.left = fullScreenWidth - kPlacementMargin;
    if (r.top > fullScreenHeight - kPlacementMargin) r.top = fullScreenHeight - kPlacementMargin;
    if (placement.showCommand == 0) placement.showCommand = kShowCommandShow;
}
