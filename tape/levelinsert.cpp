#include "tape/levelinsert.h"

#include "util/editorglobals.h"
#include "core/level/levelcodec.h"
#include "core/tape/levelslots.h"
#include "util/fileutil.h"
#include "util/seams.h"

namespace {

constexpr DWORD kLevelFileBytes = kLevelFileSize;
constexpr DWORD kBodyBytes = kLevelBodySize;

const char kLevelUnreadable[] = "The level file could not be read: nothing was written.";
const char kTapeUnwritable[] = "The tape image could not be written.";
const char kInsertionCaption[] = "Level insertion error";

HWND reportOwner;

// Closes the file when the insertion leaves, whichever way it leaves.
class ExclusiveFile {
  public:
    // No sharing: the level file stays locked while the tape image is chosen, so the two cannot
    // be the same file. OPEN_EXISTING: a tape image is patched, never created or truncated.
    ExclusiveFile(const char* path, DWORD access)
        : handle_(CreateFileA(path, access, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr)) {}
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;
    ~ExclusiveFile() {
        if (isOpen())
            CloseHandle(handle_);
    }

    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE handle() const { return handle_; }

  private:
    HANDLE handle_;
};

void report(const char* text) {
    systemCalls.messageBox(reportOwner ? reportOwner : hwndMain, text, kInsertionCaption,
                           MB_OK | MB_ICONEXCLAMATION);
}

bool seek(HANDLE file, int offset) {
    return offset >= 0 &&
           SetFilePointer(file, offset, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

// The body as the core takes it from a level file; a file too short to hold all of it gives
// nothing.
bool readLevelBody(const ExclusiveFile& level, LevelBodyBytes& body) {
    LevelFileBytes file;
    DWORD got = 0;
    if (!level.isOpen() || !ReadFile(level.handle(), file.data(), kLevelFileBytes, &got, nullptr) ||
        !levelFileHoldsBody(got))
        return false;
    body = levelBodyOf(file.data());
    return true;
}

// One write of the whole body, in place; a place past the end of the image lengthens it.
bool writeLevelBody(const ExclusiveFile& tape, int offset, const LevelBodyBytes& body) {
    DWORD written = 0;
    return tape.isOpen() && seek(tape.handle(), offset) &&
           WriteFile(tape.handle(), body.data(), kBodyBytes, &written, nullptr) &&
           written == kBodyBytes;
}

WNDPROC mainWindowProc;

// Turns every enabling of the main window away (see MainWindowHeldDisabled).
LRESULT CALLBACK keepMainWindowDisabled(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENABLE && wParam) {
        EnableWindow(window, FALSE);
        return 0;
    }
    return CallWindowProcA(mainWindowProc, window, msg, wParam, lParam);
}

// Wine's EndDialog enables the owner of the dialog it ends, even an owner that was disabled before
// the dialog came up, and only then hides and destroys the dialog; hiding waits for the window
// manager (two seconds when there is none). The owner of the file dialogs is the main window, which
// must stay disabled for as long as the export dialog is open: while a file dialog is up, the main
// window turns every enabling away.
class MainWindowHeldDisabled {
  public:
    MainWindowHeldDisabled()
        : previous_(reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
              hwndMain, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keepMainWindowDisabled)))) {
        mainWindowProc = previous_;
    }
    ~MainWindowHeldDisabled() {
        SetWindowLongPtrA(hwndMain, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }
    MainWindowHeldDisabled(const MainWindowHeldDisabled&) = delete;
    MainWindowHeldDisabled& operator=(const MainWindowHeldDisabled&) = delete;

  private:
    WNDPROC previous_;
};

// The file dialogs belong to the main window, which the export dialog already keeps disabled.
// While one is up the export dialog is kept out of reach too, as a dialog of its own would be, so
// no second insertion can start inside the first. When the file dialog closes, the system hands
// the activation to its owner: it goes back to the export dialog.
int chooseFile(const char* title, const char* filter, int kind) {
    const bool fromDialog = reportOwner && IsWindow(reportOwner);
    if (!fromDialog)
        return Apri(hwndMain, filename, kFilenameCapacity, title, filter, kind);
    EnableWindow(reportOwner, FALSE);
    int chosen;
    {
        const MainWindowHeldDisabled held;
        chosen = Apri(hwndMain, filename, kFilenameCapacity, title, filter, kind);
    }
    EnableWindow(reportOwner, TRUE);
    SetActiveWindow(reportOwner);
    return chosen;
}

} // namespace

void SetInsertLevelOwner(HWND owner) {
    reportOwner = owner;
}

int InsertLevel(int offset) {
    if (!chooseFile("Select level to import", kLevelsFilter, kOpenDialog)) {
        report(kLevelUnreadable);
        return 0;
    }
    const ExclusiveFile level(filename, GENERIC_READ);
    LevelBodyBytes body;
    if (!readLevelBody(level, body)) {
        report(kLevelUnreadable);
        return 0;
    }
    if (!chooseFile("Select .CAS file", kTapeFilter, kSaveDialog))
        return 0;
    const ExclusiveFile tape(filename, GENERIC_WRITE);
    if (!writeLevelBody(tape, offset, body)) {
        report(kTapeUnwritable);
        return 0;
    }
    return 1;
}
