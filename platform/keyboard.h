// Key presses in the shell's terms: which Qt keys are the virtual keys of app/shell.h, and which
// character codes a key press types, as the Windows message loop would deliver them (Ctrl+letter
// as the control codes 1 to 26, text as single bytes of the Western code page). The main window
// calls these for every key press.
#pragma once

#include <QString>
#include <Qt>
#include <vector>

// The virtual-key code for a Qt key, or 0 when the shell has no use for the key.
int virtualKeyFor(int qtKey);

// The character codes that a key press types, in order; empty when it types none.
std::vector<int> typedCharacters(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
