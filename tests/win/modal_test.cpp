// The modal paths of the editor with the system's own file dialogs and message boxes, answered from
// a timer while their nested message loops run. Under a modal dialog the main window must stay
// disabled, and every box must be owned by the window it interrupts, whatever messages arrive while
// the dialogs are up.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/tomkrineditor.h"
#include "res/resource.h"
#include "res/versioninfo.h"
#include "res/dlg_export_ids.h"
#include "tests/win/support/editor.h"
#include "tests/win/support/modalpilot.h"
#include "util/seams.h"

namespace {

const char kExportCaption[] = "Select level to replace";
const char kLevelDialog[] = "Select level to import";
const char kTapeDialog[] = "Select .CAS file";
const char kInsertionCaption[] = "Level insertion error";
const char kRangeCaption[] = "Level selection error";
const char kLevelUnreadable[] = "The level file could not be read: nothing was written.";
const char kTapeUnwritable[] = "The tape image could not be written.";
constexpr size_t kLevel3 = 23438 + 3 * 486;

std::function<void(HWND)> exportStep;
bool exportStepRan;
bool exportStepBusy;

void CALLBACK runExportStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", kExportCaption);
    if (!dialog || exportStepBusy)
        return;
    KillTimer(nullptr, timer);
    exportStepBusy = true;
    exportStep(dialog);
    exportStepRan = true;
    exportStepBusy = false;
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

// Lets the export dialog's modal loop run for a while, as it does between a user's clicks: what the
// insertion left behind (posted messages, activation, the system's own handling of the file
// dialogs' owner) has arrived by the time this returns.
void settle(HWND dialog) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 300) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
}

// Notes whether the main window is enabled whenever a window of this thread is sent a message, as
// the system's own dialog code runs: an enabling that lasts while a file dialog is hidden and
// destroyed shows here even where that takes no time. Only the enabling itself and its being turned
// away (WM_CANCELMODE comes before a window is disabled) may see it.
class MainWindowWatch {
  public:
    MainWindowWatch()
        : hook_(SetWindowsHookExA(WH_CALLWNDPROC, note, nullptr, GetCurrentThreadId())) {
        seenEnabled = 0;
    }
    ~MainWindowWatch() { UnhookWindowsHookEx(hook_); }
    MainWindowWatch(const MainWindowWatch&) = delete;
    MainWindowWatch& operator=(const MainWindowWatch&) = delete;
    // Messages that found the main window enabled since the last call.
    static int takeSeenEnabled() { return std::exchange(seenEnabled, 0); }

  private:
    static LRESULT CALLBACK note(int code, WPARAM wParam, LPARAM lParam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        const bool enabling = sent->hwnd == hwndMain &&
                              (sent->message == WM_ENABLE || sent->message == WM_CANCELMODE);
        if (code == HC_ACTION && !enabling && IsWindowEnabled(hwndMain))
            ++seenEnabled;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int seenEnabled = 0;
    HHOOK hook_;
};

// Runs command 315 with `step` once inside the export dialog's modal loop, then closes the dialog.
bool insideExportDialog(std::function<void(HWND)> step) {
    exportStep = std::move(step);
    exportStepRan = false;
    SetTimer(nullptr, 0, 30, runExportStep);
    SendMessageA(hwndMain, WM_COMMAND, CMD_BIN_TO_CAS, 0);
    return exportStepRan;
}

std::string pattern(size_t size, int seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 13 + seed) % 251);
    return bytes;
}

HANDLE lockFile(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

class RealDialogs : public testing::Test {
  protected:
    void SetUp() override {
        folder = StartEditorWith(realSystemCalls());
        level = pattern(493, 5);
        tape = pattern(34000, 77);
        for (const char* name : {"level.bin", "locked.bin"})
            WriteFileBytes(folder + name, level);
        WriteFileBytes(folder + "short.bin", level.substr(0, 300));
        for (const char* name : {"game.cas", "busy.cas"})
            WriteFileBytes(folder + name, tape);
    }
    void TearDown() override { systemCalls = realSystemCalls(); }

    std::string folder, level, tape;
};

struct InsertionPath {
    const char* name;
    std::string levelChoice; // empty: the dialog is cancelled
    bool asksForTape;
    std::string tapeChoice;
    const char* report; // the box the insertion shows, if any
};

TEST_F(RealDialogs, EveryInsertionKeepsTheMainWindowDisabledAndItsBoxesOnTheExportDialog) {
    ModalPilot pilot;
    pilot.answerBoxes(kInsertionCaption, IDOK);
    pilot.answerBoxes(kRangeCaption, IDOK);
    HWND exportDialog = nullptr;
    // What the export dialog receives when it is activated again under a file dialog.
    pilot.beforeFileAnswer = [&](HWND) {
        HWND box = GetDlgItem(exportDialog, IDC_EXPORT_LEVEL);
        SendMessageA(exportDialog, WM_COMMAND, MAKEWPARAM(IDC_EXPORT_LEVEL, EN_SETFOCUS),
                     reinterpret_cast<LPARAM>(box));
        SendMessageA(exportDialog, WM_COMMAND, MAKEWPARAM(IDC_EXPORT_LEVEL, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(box));
    };
    const HANDLE lockedLevel = lockFile(folder + "locked.bin");
    const HANDLE busyTape = lockFile(folder + "busy.cas");
    const std::vector<InsertionPath> paths = {
        {"inserted", folder + "level.bin", true, folder + "game.cas", nullptr},
        {"level dialog cancelled", "", false, "", kLevelUnreadable},
        {"short level file", folder + "short.bin", false, "", kLevelUnreadable},
        {"locked level file", folder + "locked.bin", false, "", kLevelUnreadable},
        {"tape dialog cancelled", folder + "level.bin", true, "", nullptr},
        {"tape in use", folder + "level.bin", true, folder + "busy.cas", kTapeUnwritable},
    };
    const bool ran = insideExportDialog([&](HWND dialog) {
        exportDialog = dialog;
        const MainWindowWatch watch;
        for (const InsertionPath& path : paths) {
            SCOPED_TRACE(path.name);
            pilot.chooseFile(kLevelDialog, path.levelChoice);
            if (path.asksForTape)
                pilot.chooseFile(kTapeDialog, path.tapeChoice);
            const size_t boxesBefore = pilot.boxes().size();
            SetDlgItemTextA(dialog, IDC_EXPORT_LEVEL, "3");
            SendDlgItemMessageA(dialog, IDC_EXPORT_SELLEVEL, BM_CLICK, 0, 0);
            EXPECT_TRUE(pilot.allFileChoicesUsed());
            EXPECT_FALSE(IsWindowEnabled(hwndMain));
            EXPECT_TRUE(IsWindowEnabled(dialog));
            settle(dialog);
            EXPECT_FALSE(IsWindowEnabled(hwndMain)) << "after the messages that followed";
            EXPECT_TRUE(IsWindowEnabled(dialog));
            EXPECT_EQ(MainWindowWatch::takeSeenEnabled(), 0);
            ASSERT_EQ(pilot.boxes().size(), boxesBefore + (path.report ? 1 : 0));
            if (path.report) {
                const SeenBox& box = pilot.boxes().back();
                EXPECT_EQ(box.text, path.report);
                EXPECT_EQ(box.owner, dialog);
                EXPECT_FALSE(box.mainWindowEnabled);
            }
        }
        SetDlgItemTextA(dialog, IDC_EXPORT_LEVEL, "20");
        SendDlgItemMessageA(dialog, IDC_EXPORT_SELLEVEL, BM_CLICK, 0, 0);
        ASSERT_FALSE(pilot.boxes().empty());
        EXPECT_EQ(pilot.boxes().back().caption, kRangeCaption);
        EXPECT_EQ(pilot.boxes().back().owner, dialog);
        EXPECT_FALSE(IsWindowEnabled(hwndMain));
        settle(dialog);
        EXPECT_FALSE(IsWindowEnabled(hwndMain));
        EXPECT_EQ(MainWindowWatch::takeSeenEnabled(), 0);
    });
    CloseHandle(lockedLevel);
    CloseHandle(busyTape);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(pilot.sawUnexpectedDialog());
    EXPECT_TRUE(IsWindowEnabled(hwndMain));
    std::string expected = tape;
    expected.replace(kLevel3, 486, level.substr(7));
    EXPECT_EQ(ReadFileBytes(folder + "game.cas"), expected);
    EXPECT_EQ(ReadFileBytes(folder + "busy.cas"), tape);
}

std::vector<std::string> playedFiles;
HINSTANCE WINAPI recordPlay(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
    playedFiles.push_back(file ? file : "");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

TEST_F(RealDialogs, ConversionAsksInFrontOfTheMainWindowAndGivesItBackAfterTheWait) {
    if (!FileExists("cas2wav.exe"))
        GTEST_SKIP() << "cas2wav.exe is not in the current folder";
    const std::string marker = "\x1F\xA6\xDE\xBA\xCC\x13\x7D\x74";
    const std::string tapePath = folder + "tiny.cas";
    WriteFileBytes(tapePath, marker + std::string(10, '\xD0') + "LEVEL " + marker +
                                 std::string("\x00\xC0\x10\xC0\x00\xC0\x55\xAA", 8));
    playedFiles.clear();
    systemCalls.shellExecute = recordPlay; // only the playing is not done for real
    ModalPilot pilot;
    pilot.answerBoxes("Play .WAV", IDYES);
    pilot.chooseFile("Select .CAS file to convert to WAV", tapePath);
    SendMessageA(hwndMain, WM_COMMAND, CMD_CAS_TO_WAV, 0);
    EXPECT_FALSE(pilot.sawUnexpectedDialog());
    ASSERT_EQ(pilot.boxes().size(), 1u);
    EXPECT_EQ(pilot.boxes()[0].owner, hwndMain);
    EXPECT_FALSE(pilot.boxes()[0].mainWindowEnabled);
    EXPECT_TRUE(IsWindowEnabled(hwndMain));
    EXPECT_EQ(ReadFileBytes(tapePath + ".wav").substr(0, 4), "RIFF");
    EXPECT_EQ(playedFiles, std::vector<std::string>({tapePath + ".wav"}));
}

TEST_F(RealDialogs, OpenAndAboutGiveTheMainWindowBack) {
    ModalPilot pilot;
    pilot.answerBoxes("About Tomkrin Editor " TK_VERSION_TEXT, IDOK);
    pilot.chooseFile("Load Tomkrin Level", folder + "level.bin");
    SendMessageA(hwndMain, WM_COMMAND, CMD_OPEN, 0);
    EXPECT_EQ(StatusText(), "Level loaded.");
    EXPECT_TRUE(IsWindowEnabled(hwndMain));
    SendMessageA(hwndMain, WM_COMMAND, CMD_ABOUT, 0);
    ASSERT_EQ(pilot.boxes().size(), 1u);
    EXPECT_EQ(pilot.boxes()[0].owner, hwndMain);
    EXPECT_TRUE(IsWindowEnabled(hwndMain));
    EXPECT_EQ(pilot.fileDialogsAnswered(), 1);
    EXPECT_FALSE(pilot.sawUnexpectedDialog());
}

} // namespace
