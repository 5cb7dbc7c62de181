// View navigation: the virtual-key handler of the main window and the actions behind the keys
// and menu items that move the picture (turning and zooming the view, shifting the ancient
// positions, stepping through the constellations and switching editions, restoring a
// constellation's default view or shift). Every action repaints before it returns. Called by the
// shell's key handler and by the character and menu commands.
#pragma once

// What adjustView changes.
enum ViewAdjustment {
    AdjustLongitude = 1,
    AdjustLatitude = 2,
    AdjustRoll = 3,
    AdjustFocalScale = 4,  // multiplied by the amount
};

// What adjustShift changes.
enum ShiftAdjustment {
    ShiftLongitude = 1,
    ShiftLatitude = 2,
};

constexpr double kZoomOutFactor = 0.75;
constexpr double kZoomInFactor = 4.0 / 3.0;

void keyDown(int virtualKey);
void adjustView(int kind, double amount);
void adjustShift(int kind, float amount);
// Stores the outgoing view, wraps the index into 0..47 and applies the incoming view.
void selectConstellation(int index);
// Slot 1..3; any other slot is ignored.
void selectEdition(int slot);
void defaultView();
void defaultShift();
void zeroShift();
