#include "util/fileutil.h"

#include <commdlg.h>

#include "util/seams.h"

const char kLevelsFilter[] = "Levels (*.bin)\0*.bin\0All files (*.*)\0*.*\0";
const char kTapeFilter[] = "Tape files (*.cas)\0*.cas\0All files (*.*)\0*.*\0";

int Apri(HWND owner, char* path, int capacity, const char* title, const char* filter, int kind) {
    path[0] = '\0';
    OPENFILENAMEA request = {};
    // The short form of the request, which every version of the dialog accepts.
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = owner;
    request.lpstrFilter = filter;
    request.nFilterIndex = 0;
    request.lpstrFile = path;
    request.nMaxFile = static_cast<DWORD>(capacity);
    // Always start in the program's folder, and leave the current directory alone, so that
    // "default.bin", "TOMKRIN.RTF" and "cas2wav.exe" keep being found there.
    request.lpstrInitialDir = ".";
    request.lpstrTitle = title;
    if (kind == kOpenDialog) {
        request.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        return systemCalls.getOpenFileName(&request);
    }
    if (kind == kSaveDialog) {
        request.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        return systemCalls.getSaveFileName(&request);
    }
    return 0;
}
