#include "platform/keyboard.h"

#include "app/shell.h"

int virtualKeyFor(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Escape: return KeyEscape;
        case Qt::Key_PageUp: return KeyPageUp;
        case Qt::Key_PageDown: return KeyPageDown;
        case Qt::Key_Left: return KeyLeft;
        case Qt::Key_Up: return KeyUp;
        case Qt::Key_Right: return KeyRight;
        case Qt::Key_Down: return KeyDown;
        case Qt::Key_F1: return KeyF1;
        case Qt::Key_F2: return KeyF2;
        case Qt::Key_F3: return KeyF3;
        default: return 0;
    }
}

// Ctrl with a letter or one of [ \ ] types the control codes 1 to 29, whatever the Shift key.
static int controlCode(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey - Qt::Key_A + 1;
    switch (qtKey) {
        case Qt::Key_BracketLeft: return 27;
        case Qt::Key_Backslash: return 28;
        case Qt::Key_BracketRight: return 29;
        default: return 0;
    }
}

std::vector<int> typedCharacters(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    std::vector<int> codes;
    bool control = modifiers.testFlag(Qt::ControlModifier);
    bool alt = modifiers.testFlag(Qt::AltModifier);
    // Ctrl+Alt is AltGr on many keyboards, which types the text of the key; Alt alone is a
    // system key combination that types nothing in the window.
    if (control && !alt) {
        if (int code = controlCode(qtKey)) codes.push_back(code);
        return codes;
    }
    if (alt && !control) return codes;
    for (QChar c : text) {
        // Only what the single-byte code page can hold reaches the shell.
        if (c.unicode() <= 0xFF) codes.push_back(c.unicode());
    }
    return codes;
}
