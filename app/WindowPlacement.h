#pragma once
// A saved window placement as the settings store reads it, before it becomes the platform's
// record, and the clamps that keep a restored window on screen.

struct PlacementPoint {
    int x;
    int y;
};

struct PlacementRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct PlacementValues {
    int showCommand;
    PlacementPoint minPosition;
    PlacementPoint maxPosition;
    PlacementRect normal;
};

// The rectangle of the preferred size centred on the screen, used for missing edges.
PlacementRect CentredPlacementRect(int screenWidth, int screenHeight, int width, int height);

// Keeps a restored window reachable: right and bottom at least 20, left and top at least 20
// pixels inside the full-screen area; a show command of 0 becomes 5 (show).
void ClampPlacement(PlacementValues& placement, int fullScreenWidth, int fullScreenHeight);
