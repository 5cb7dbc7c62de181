// The shell's handlers: the platform turns each window event into one of these calls, the way a
// window procedure dispatches messages. Start-up loads the settings and the catalogues before any
// window exists; the window's events then drive everything else through the application state.
#pragma once

#include "app/platform_services.h"

// Virtual-key codes of the keys the shell handles.
enum VirtualKey {
    KeyEscape = 0x1B,
    KeyPageUp = 0x21,
    KeyPageDown = 0x22,
    KeyLeft = 0x25,
    KeyUp = 0x26,
    KeyRight = 0x27,
    KeyDown = 0x28,
    KeyF1 = 0x70,
    KeyF2 = 0x71,
    KeyF3 = 0x72,
};
constexpr int kCharacterCtrlS = 19;

constexpr char kProgramCaption[] = "Tessaran Stars";

// Reads the settings and loads all catalogues. On failure it has shown "The catalog files couldn't
// be loaded." and the program must end without a window (and without writing the settings).
bool shellStart();
// The saved window rectangle to create the main window at.
ScreenRect shellWindowRect();

// Points and sizes the handlers are given are in window pixels; the shell draws in device pixels
// (platformDevicePixelRatio).
void onCreate();
void onSize(int width, int height);
void onPaint();  // draws the whole client area through the platform's drawing services
void onKeyDown(int virtualKey);
void onCharacter(int code);
void onCommand(int command);
void onMouseMove(int x, int y);
void onLeftButtonDown(int x, int y);
void onRightButtonDown(int x, int y);
// Before the window closes (Escape, Exit, the close box): false keeps it open, after the user
// chose to when identifications were changed and not saved.
bool onQueryClose();
// Stores the view on screen and writes the settings with the window's outer rectangle.
void onDestroy(const ScreenRect& outerRect);
