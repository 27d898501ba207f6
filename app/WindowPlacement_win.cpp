#include "app/WindowPlacement_win.h"

#include "app/Settings_win.h"
#include "app/WindowPlacement.h"

void ReadWindowPlacement(int width, int height, const char* subKey, WINDOWPLACEMENT* placement) {
    const PlacementRect centred = CentredPlacementRect(
        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
    auto read = [subKey](const char* name, int defaultValue) {
        return ReadSettingInt(subKey, name, defaultValue);
    };
    PlacementValues values{};
    values.showCommand = read("showcmd", SW_SHOWNORMAL);
    values.maxPosition = {read("max.x", -1), read("max.y", -1)};
    values.minPosition = {read("min.x", -1), read("min.y", -1)};
    values.normal = {read("left", centred.left), read("top", centred.top),
                     read("right", centred.right), read("bottom", centred.bottom)};
    ClampPlacement(values, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN));

    placement->length = sizeof(WINDOWPLACEMENT);
    placement->flags = 0;
    placement->showCmd = static_cast<UINT>(values.showCommand);
    placement->ptMinPosition = {values.minPosition.x, values.minPosition.y};
    placement->ptMaxPosition = {values.maxPosition.x, values.maxPosition.y};
    placement->rcNormalPosition = {values.normal.left, values.normal.top, values.normal.right,
                                   values.normal.bottom};
}
