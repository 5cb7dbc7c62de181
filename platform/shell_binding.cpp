#include "app/shell.h"
#include "platform/window.h"

WindowHandlers shellHandlers() {
    return WindowHandlers{onCreate,    onSize,           onPaint,         onKeyDown,
                          onCharacter, onCommand,        onMouseMove,     onLeftButtonDown,
                          onRightButtonDown, onDestroy,     onQueryClose};
}
