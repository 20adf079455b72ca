#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HACCEL accelerators = StartEditor(instance);
    if (!accelerators)
        return 0;
    return RunMessageLoop(accelerators);
}
