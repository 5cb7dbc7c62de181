// The platform's dialogs for the shell: message boxes, the colour chooser, the open-file dialog
// and handing a document to the user's browser. Every message box goes through one function, so
// that the Qt tests can record and answer them instead of a person.
#pragma once

#include <string>

// When set, a message box is not shown: the observer receives its text and caption, and the box
// counts as answered with OK. nullptr shows message boxes again.
using MessageBoxObserver = void (*)(const std::string& text, const std::string& caption);
void setMessageBoxObserver(MessageBoxObserver observer);
