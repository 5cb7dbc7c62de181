// Start-up and shutdown of the program: reading the settings, building the star colours,
// loading the reference catalogue and the three editions and choosing the first view, before any
// window exists; and storing the view and writing the settings when the window is destroyed.
// Called by the shell's start and destroy handlers (and by tests with a program folder of their
// own).
#pragma once

#include <string>

#include "app/platform_services.h"

constexpr char kReferenceFileName[] = "catb.bin";
constexpr const char* kEditionFileNames[] = {"cat1.dat", "cat2.dat", "cat3.dat"};
constexpr char kCatalogsFailedMessage[] = "The catalog files couldn't be loaded.";

// The whole start-up with data files looked for in the working folder, then beside `exePath`,
// then in the installed data folder found from it.
// On failure it has shown "The catalog files couldn't be loaded." and returns false.
bool startUp(const std::string& exePath);
// The catalogue part of start-up: star colours, reference catalogue carried to the epoch, the
// three editions, slot 1 current and the view of the current constellation. False at the first
// file that is missing or unreadable.
bool loadCatalogs();
// Stores the view on screen into its constellation and writes the settings with the window's
// outer rectangle; false when the file could not be written.
bool shutDown(const ScreenRect& outerRect);
