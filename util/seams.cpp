#include "util/seams.h"

SystemCalls realSystemCalls() {
    return {GetOpenFileNameA, GetSaveFileNameA, MessageBoxA, ShellExecuteA, ShellExecuteExA};
}

SystemCalls systemCalls = realSystemCalls();
