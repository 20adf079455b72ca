// The tape commands driven through the real main window: the export dialog (command 315) with its
// insertions into real files, and the conversion (commands 319 and 320) with the shell faked.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/tomkrineditor.h"
#include "res/resource.h"
#include "res/dlg_export_ids.h"
#include "tests/win/support/editor.h"
#include "util/seams.h"

namespace {

const char kExportCaption[] = "Select level to replace";
const char kLevelUnreadable[] = "The level file could not be read: nothing was written.";
const char kTapeUnwritable[] = "The tape image could not be written.";
constexpr size_t kLevel19 = 32672;
constexpr size_t kLevel0 = 23438;
constexpr size_t kBodySize = 486;

struct BoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};

struct ConverterStart {
    HWND owner;
    ULONG mask;
    std::string verb, file, parameters, directory;
    int show;
};

struct DocumentOpen {
    std::string verb, file;
    bool hasParameters;
    int show;
};

// What the faked system calls answer and what they were asked.
struct Fakes {
    std::deque<std::string> openAnswers, saveAnswers; // an empty answer cancels the dialog
    std::vector<std::string> openTitles, saveTitles;
    std::vector<HWND> fileDialogOwners;
    std::deque<int> boxAnswers; // IDOK once they run out
    std::vector<BoxCall> boxes;
    bool converterStarts = true;
    DWORD converterExitCode = 0;
    std::string converterWrites; // file the fake converter creates, if any
    std::vector<ConverterStart> starts;
    std::vector<DocumentOpen> opens;
    bool converterEndedInsideWait = false;
};

Fakes fakes;
std::vector<HANDLE> fakeConverters; // the last one is ended by the timer
UINT_PTR fakeConverterTimer;

BOOL answerFileDialog(LPOPENFILENAMEA request, std::deque<std::string>& answers,
                      std::vector<std::string>& titles) {
    titles.push_back(request->lpstrTitle ? request->lpstrTitle : "");
    fakes.fileDialogOwners.push_back(request->hwndOwner);
    const std::string answer = answers.empty() ? "" : answers.front();
    if (!answers.empty())
        answers.pop_front();
    if (answer.empty() || answer.size() >= request->nMaxFile)
        return FALSE;
    lstrcpynA(request->lpstrFile, answer.c_str(), static_cast<int>(request->nMaxFile));
    return TRUE;
}

BOOL WINAPI fakeOpen(LPOPENFILENAMEA request) {
    return answerFileDialog(request, fakes.openAnswers, fakes.openTitles);
}

BOOL WINAPI fakeSave(LPOPENFILENAMEA request) {
    return answerFileDialog(request, fakes.saveAnswers, fakes.saveTitles);
}

int WINAPI fakeMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
    fakes.boxes.push_back({owner, text, caption, flags});
    const int answer = fakes.boxAnswers.empty() ? IDOK : fakes.boxAnswers.front();
    if (!fakes.boxAnswers.empty())
        fakes.boxAnswers.pop_front();
    return answer;
}

// The converter ends only when this timer fires, which needs someone to handle messages.
void CALLBACK endFakeConverter(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (!fakes.converterWrites.empty())
        WriteFileBytes(fakes.converterWrites, "RIFF");
    TerminateProcess(fakeConverters.back(), fakes.converterExitCode);
    WaitForSingleObject(fakeConverters.back(), INFINITE);
    fakes.converterEndedInsideWait = true;
}

// Stands in for the converter: a suspended copy of this program, ended with the chosen exit code.
BOOL WINAPI fakeShellExecuteEx(SHELLEXECUTEINFOA* request) {
    fakes.starts.push_back({request->hwnd, request->fMask, request->lpVerb, request->lpFile,
                            request->lpParameters, request->lpDirectory, request->nShow});
    if (!fakes.converterStarts)
        return FALSE;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(self, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process))
        return FALSE;
    CloseHandle(process.hThread);
    fakeConverters.push_back(process.hProcess);
    DuplicateHandle(GetCurrentProcess(), process.hProcess, GetCurrentProcess(), &request->hProcess,
                    0, FALSE, DUPLICATE_SAME_ACCESS);
    fakeConverterTimer = SetTimer(nullptr, 0, 10, endFakeConverter);
    return TRUE;
}

HINSTANCE WINAPI fakeShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR,
                                  INT show) {
    fakes.opens.push_back({verb ? verb : "", file ? file : "", parameters != nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

// Runs command 315; inside the dialog's modal loop each step gets the dialog on its own timer
// tick, then WM_CLOSE ends the dialog. False if the dialog never came up.
using DialogStep = std::function<void(HWND dialog)>;
std::vector<DialogStep> dialogSteps;
size_t nextDialogStep;
bool dialogSeen;

void CALLBACK runDialogStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", kExportCaption);
    if (!dialog)
        return;
    dialogSeen = true;
    if (nextDialogStep < dialogSteps.size()) {
        dialogSteps[nextDialogStep++](dialog);
        return;
    }
    KillTimer(nullptr, timer);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
}

bool RunExportDialog(std::vector<DialogStep> steps) {
    dialogSteps = std::move(steps);
    nextDialogStep = 0;
    dialogSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, runDialogStep);
    SendMessageA(hwndMain, WM_COMMAND, CMD_BIN_TO_CAS, 0);
    KillTimer(nullptr, timer);
    return dialogSeen && nextDialogStep == dialogSteps.size();
}

void click(HWND dialog, int button) {
    SendDlgItemMessageA(dialog, button, BM_CLICK, 0, 0);
}

std::string text(HWND dialog, int control) {
    char buffer[256] = "";
    GetDlgItemTextA(dialog, control, buffer, sizeof buffer);
    return buffer;
}

// Bytes that differ from place to place, so a misplaced copy shows.
std::string pattern(size_t size, int seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed) % 251);
    return bytes;
}

class TapeCommands : public testing::Test {
  protected:
    void SetUp() override {
        fakes = Fakes{};
        folder = StartEditorWith(
            {fakeOpen, fakeSave, fakeMessageBox, fakeShellExecute, fakeShellExecuteEx});
        level = pattern(493, 1);
        WriteFileBytes(folder + "level.bin", level);
        tape = pattern(34000, 100);
        WriteFileBytes(folder + "game.cas", tape);
    }
    void TearDown() override {
        KillTimer(nullptr, fakeConverterTimer);
        for (HANDLE converter : fakeConverters) {
            TerminateProcess(converter, 0);
            CloseHandle(converter);
        }
        fakeConverters.clear();
        systemCalls = realSystemCalls();
        if (doubleSpeed)
            SendMessageA(hwndMain, WM_COMMAND, CMD_DOUBLE_BAUD, 0);
    }

    // One insertion's pair of file choices.
    void chooseFiles(const std::string& levelFile, const std::string& tapeFile) {
        fakes.openAnswers.push_back(levelFile);
        fakes.saveAnswers.push_back(tapeFile);
    }

    std::string tapeWithLevelAt(size_t offset) const {
        std::string expected = tape;
        if (expected.size() < offset + kBodySize)
            expected.resize(offset + kBodySize, '\0');
        return expected.replace(offset, kBodySize, level.substr(7));
    }

    std::string folder;
    std::string level;
    std::string tape;
};

TEST_F(TapeCommands, ExportDialogStepsLevelNumbersAndRefusesOnesOutOfRange) {
    std::vector<std::string> shown;
    const bool ran = RunExportDialog({
        [&](HWND dialog) {
            EXPECT_FALSE(IsWindowEnabled(hwndMain));
            std::vector<std::string> controls;
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                char className[32] = "", caption[64] = "";
                GetClassNameA(child, className, sizeof className);
                GetWindowTextA(child, caption, sizeof caption);
                controls.push_back(std::to_string(GetDlgCtrlID(child)) + " " + className + " " +
                                   caption);
            }
            EXPECT_EQ(controls,
                      std::vector<std::string>(
                          {"901 Edit ", "902 Button -", "903 Button +", "904 Edit ",
                           "905 Button Sel level", "906 Button Set address",
                           "907 Static Choose level to replace (0 - 19dec.):", "317 Static "}));
            click(dialog, IDC_EXPORT_UP); // an empty box reads as 0
            shown.push_back(text(dialog, IDC_EXPORT_LEVEL));
            click(dialog, IDC_EXPORT_DOWN);
            click(dialog, IDC_EXPORT_DOWN);
            shown.push_back(text(dialog, IDC_EXPORT_LEVEL));
            click(dialog, IDC_EXPORT_UP);
            shown.push_back(text(dialog, IDC_EXPORT_LEVEL));
            for (int button : {IDC_EXPORT_UP, IDC_EXPORT_DOWN}) {
                SetDlgItemTextA(dialog, IDC_EXPORT_LEVEL, "47");
                click(dialog, button);
                shown.push_back(text(dialog, IDC_EXPORT_LEVEL));
            }
            SetDlgItemTextA(dialog, IDC_EXPORT_LEVEL, "20");
            click(dialog, IDC_EXPORT_SELLEVEL);
            EXPECT_EQ(text(dialog, IDC_EXPORT_LEVEL), "20");
            ASSERT_EQ(fakes.boxes.size(), 1u);
            EXPECT_EQ(fakes.boxes[0].owner, dialog);
            EXPECT_EQ(fakes.boxes[0].text, "Chosen level must be in the range 0-19.");
            EXPECT_EQ(fakes.boxes[0].caption, "Level selection error");
            EXPECT_EQ(fakes.boxes[0].flags, static_cast<UINT>(MB_OK));
            // Escape, typed or sent as the dialog manager's command, does not close it.
            SetFocus(GetDlgItem(dialog, IDC_EXPORT_LEVEL));
            PostMessageA(GetDlgItem(dialog, IDC_EXPORT_LEVEL), WM_KEYDOWN, VK_ESCAPE, 0);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        [&](HWND dialog) { EXPECT_TRUE(IsWindowVisible(dialog)); },
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(shown, std::vector<std::string>({"1", "19", "0", "8", "6"}));
    EXPECT_TRUE(fakes.openTitles.empty());
    EXPECT_EQ(FindWindowA("#32770", kExportCaption), nullptr);
    EXPECT_TRUE(IsWindowEnabled(hwndMain));
}

TEST_F(TapeCommands, SelLevelCopiesTheBodyOverThatLevelOnly) {
    chooseFiles(folder + "level.bin", folder + "game.cas");
    EXPECT_TRUE(RunExportDialog({[](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_EXPORT_ADDRESS, "0"); // plays no part in "Sel level"
        SetDlgItemTextA(dialog, IDC_EXPORT_LEVEL, "19");
        click(dialog, IDC_EXPORT_SELLEVEL);
    }}));
    EXPECT_EQ(ReadFileBytes(folder + "game.cas"), tapeWithLevelAt(kLevel19));
    EXPECT_EQ(fakes.openTitles, std::vector<std::string>({"Select level to import"}));
    EXPECT_EQ(fakes.saveTitles, std::vector<std::string>({"Select .CAS file"}));
    EXPECT_EQ(fakes.fileDialogOwners, std::vector<HWND>({hwndMain, hwndMain}));
    EXPECT_TRUE(fakes.boxes.empty());
    EXPECT_EQ(std::string(filename), folder + "game.cas");
}

TEST_F(TapeCommands, SetAddressWritesAtTheLow16BitsOfTheTypedOffset) {
    const std::vector<std::string> typed = {"5B8E", "15B8E", ""};
    for (size_t i = 0; i < typed.size(); ++i) {
        WriteFileBytes(folder + std::to_string(i) + ".cas", tape);
        chooseFiles(folder + "level.bin", folder + std::to_string(i) + ".cas");
    }
    EXPECT_TRUE(RunExportDialog({[&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_EXPORT_LEVEL, "99"); // plays no part in "Set address"
        for (const std::string& address : typed) {
            SetDlgItemTextA(dialog, IDC_EXPORT_ADDRESS, address.c_str());
            click(dialog, IDC_EXPORT_SETADDRESS);
        }
    }}));
    EXPECT_EQ(ReadFileBytes(folder + "0.cas"), tapeWithLevelAt(kLevel0));
    EXPECT_EQ(ReadFileBytes(folder + "1.cas"), tapeWithLevelAt(kLevel0));
    EXPECT_EQ(ReadFileBytes(folder + "2.cas"), tapeWithLevelAt(0));
    EXPECT_TRUE(fakes.boxes.empty());
}

TEST_F(TapeCommands, AnInsertionPastTheEndLengthensTheTapeImage) {
    tape.resize(1000);
    WriteFileBytes(folder + "game.cas", tape);
    chooseFiles(folder + "level.bin", folder + "game.cas");
    EXPECT_TRUE(RunExportDialog({[](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_EXPORT_ADDRESS, "400");
        click(dialog, IDC_EXPORT_SETADDRESS);
    }}));
    EXPECT_EQ(ReadFileBytes(folder + "game.cas"), tapeWithLevelAt(0x400));
}

TEST_F(TapeCommands, ALevelFileWithoutAWholeBodyStopsBeforeTheTapeIsAskedFor) {
    WriteFileBytes(folder + "short.bin", level.substr(0, 492));
    fakes.openAnswers = {folder + "short.bin", "", folder + "missing.bin"};
    HWND shownBy = nullptr;
    EXPECT_TRUE(RunExportDialog({[&](HWND dialog) {
        shownBy = dialog;
        for (int attempt = 0; attempt < 3; ++attempt)
            click(dialog, IDC_EXPORT_SETADDRESS);
    }}));
    EXPECT_TRUE(fakes.saveTitles.empty());
    EXPECT_EQ(ReadFileBytes(folder + "game.cas"), tape);
    ASSERT_EQ(fakes.boxes.size(), 3u);
    for (const BoxCall& box : fakes.boxes) {
        EXPECT_EQ(box.owner, shownBy);
        EXPECT_EQ(box.text, kLevelUnreadable);
    }
}

// Whether this system keeps a writer out of a read-only file (Wine run by root does not).
bool readOnlyFilesRefuseWriters(const std::string& path) {
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(probe);
    return false;
}

TEST_F(TapeCommands, ATapeImageThatCannotBeWrittenIsReportedButACancelIsNot) {
    WriteFileBytes(folder + "readonly.cas", tape);
    SetFileAttributesA((folder + "readonly.cas").c_str(), FILE_ATTRIBUTE_READONLY);
    const bool readOnlyCounts = readOnlyFilesRefuseWriters(folder + "readonly.cas");
    WriteFileBytes(folder + "busy.cas", tape);
    HANDLE busy = CreateFileA((folder + "busy.cas").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    chooseFiles(folder + "level.bin", "");                   // cancelled
    chooseFiles(folder + "level.bin", folder + "busy.cas");  // in use
    chooseFiles(folder + "level.bin", folder + "new.cas");   // typed, not there
    chooseFiles(folder + "level.bin", folder + "level.bin"); // the level file itself
    if (readOnlyCounts)
        chooseFiles(folder + "level.bin", folder + "readonly.cas");
    const size_t attempts = fakes.saveAnswers.size();
    size_t boxesAfterCancel = 99;
    EXPECT_TRUE(RunExportDialog({[&](HWND dialog) {
        for (size_t attempt = 0; attempt < attempts; ++attempt) {
            click(dialog, IDC_EXPORT_SETADDRESS);
            if (attempt == 0)
                boxesAfterCancel = fakes.boxes.size();
        }
    }}));
    CloseHandle(busy);
    SetFileAttributesA((folder + "readonly.cas").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(boxesAfterCancel, 0u);
    ASSERT_EQ(fakes.boxes.size(), attempts - 1);
    for (const BoxCall& box : fakes.boxes)
        EXPECT_EQ(box.text, kTapeUnwritable);
    EXPECT_EQ(ReadFileBytes(folder + "busy.cas"), tape);
    EXPECT_EQ(ReadFileBytes(folder + "readonly.cas"), tape);
    EXPECT_FALSE(FileExists(folder + "new.cas"));
    EXPECT_EQ(ReadFileBytes(folder + "level.bin"), level);
    if (!readOnlyCounts)
        std::printf("note: read-only files accept writers here; that case was left out\n");
}

TEST_F(TapeCommands, ConversionQuotesThePathsAndAddsTheSwitchWhenDoubleSpeedIsOn) {
    const std::string tapePath = folder + "My Tapes game.cas";
    fakes.openAnswers = {tapePath, tapePath};
    fakes.boxAnswers = {IDNO, IDNO};
    SendMessageA(hwndMain, WM_COMMAND, CMD_CAS_TO_WAV, 0);
    SendMessageA(hwndMain, WM_COMMAND, CMD_DOUBLE_BAUD, 0);
    SendMessageA(hwndMain, WM_COMMAND, CMD_CAS_TO_WAV, 0);
    ASSERT_EQ(fakes.starts.size(), 2u);
    const std::string quoted = "\"" + tapePath + "\" \"" + tapePath + ".wav\"";
    EXPECT_EQ(fakes.starts[0].parameters, quoted);
    EXPECT_EQ(fakes.starts[1].parameters, quoted + " -2");
    const ConverterStart& start = fakes.starts[0];
    EXPECT_EQ(start.owner, hwndMain);
    EXPECT_TRUE(start.mask & SEE_MASK_NOCLOSEPROCESS);
    EXPECT_EQ(start.verb, "open");
    EXPECT_EQ(start.file, "cas2wav.exe");
    EXPECT_EQ(start.directory, ".");
    EXPECT_EQ(start.show, SW_SHOWMINIMIZED);
    EXPECT_EQ(fakes.openTitles[0], "Select .CAS file to convert to WAV");
    ASSERT_EQ(fakes.boxes.size(), 2u);
    EXPECT_EQ(fakes.boxes[0].owner, hwndMain);
    EXPECT_EQ(fakes.boxes[0].text, "Play the .WAV file when conversion is finished?");
    EXPECT_EQ(fakes.boxes[0].caption, "Play .WAV");
    EXPECT_EQ(fakes.boxes[0].flags, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(fakes.opens.empty());
    EXPECT_EQ(std::string(filename), tapePath);
}

TEST_F(TapeCommands, ConversionEndsEarlyWhenNothingCanBeConverted) {
    fakes.openAnswers = {"", "C:\\" + std::string(253, 't')};
    SendMessageA(hwndMain, WM_COMMAND, CMD_CAS_TO_WAV, 0); // cancelled
    EXPECT_TRUE(fakes.boxes.empty());
    SendMessageA(hwndMain, WM_COMMAND, CMD_CAS_TO_WAV, 0); // 256 characters: no room for .wav
    EXPECT_TRUE(fakes.starts.empty());
    ASSERT_EQ(fakes.boxes.size(), 1u);
    EXPECT_NE(fakes.boxes[0].text.find("too long"), std::string::npos);

    fakes.converterStarts = false;
    fakes.openAnswers = {folder + "game.cas"};
    SendMessageA(hwndMain, WM_COMMAND, CMD_CAS_TO_WAV, 0);
    ASSERT_EQ(fakes.boxes.size(), 2u); // no question after the failed start
    EXPECT_EQ(fakes.boxes[1].text, "The converter cas2wav.exe could not be started.");
    EXPECT_TRUE(fakes.opens.empty());
}

TEST_F(TapeCommands, YesWaitsForTheConverterAndPlaysOnlyAFileItWrote) {
    const std::string audio = folder + "game.cas.wav";
    struct Outcome {
        DWORD exitCode;
        bool writes;
        bool plays;
    };
    for (const Outcome& outcome :
         {Outcome{1, true, false}, Outcome{0, false, false}, Outcome{0, true, true}}) {
        SCOPED_TRACE(outcome.exitCode * 10 + outcome.writes);
        DeleteFileA(audio.c_str());
        fakes.openAnswers = {folder + "game.cas"};
        fakes.boxAnswers = {IDYES};
        fakes.boxes.clear();
        fakes.converterExitCode = outcome.exitCode;
        fakes.converterWrites = outcome.writes ? audio : "";
        fakes.converterEndedInsideWait = false;
        SendMessageA(hwndMain, WM_COMMAND, CMD_CAS_TO_WAV, 0);
        EXPECT_TRUE(fakes.converterEndedInsideWait);
        EXPECT_TRUE(IsWindowEnabled(hwndMain));
        if (outcome.plays) {
            ASSERT_EQ(fakes.opens.size(), 1u);
            EXPECT_EQ(fakes.opens[0].verb, "open");
            EXPECT_EQ(fakes.opens[0].file, audio);
            EXPECT_FALSE(fakes.opens[0].hasParameters);
            EXPECT_EQ(fakes.opens[0].show, SW_SHOWNORMAL);
            EXPECT_EQ(std::string(filename), audio);
            EXPECT_EQ(fakes.boxes.size(), 1u);
        } else {
            EXPECT_TRUE(fakes.opens.empty());
            ASSERT_EQ(fakes.boxes.size(), 2u);
            EXPECT_EQ(fakes.boxes[1].text, "The conversion failed: no .WAV file was written.");
        }
    }
}

TEST_F(TapeCommands, TheRealConverterWritesTheRecordingThatIsThenPlayed) {
    if (!FileExists("cas2wav.exe"))
        GTEST_SKIP() << "cas2wav.exe is not in the current folder";
    systemCalls.shellExecuteEx = realSystemCalls().shellExecuteEx;
    const std::string marker = "\x1F\xA6\xDE\xBA\xCC\x13\x7D\x74";
    const std::string image = marker + std::string(10, '\xD0') + "LEVEL " + marker +
                              std::string("\x00\xC0\x10\xC0\x00\xC0\x55\xAA", 8);
    CreateDirectoryA((folder + "My Tapes").c_str(), nullptr);
    const std::string tapePath = folder + "My Tapes\\tiny.cas";
    WriteFileBytes(tapePath, image);
    fakes.openAnswers = {tapePath};
    fakes.boxAnswers = {IDYES};
    SendMessageA(hwndMain, WM_COMMAND, CMD_CAS_TO_WAV, 0);
    EXPECT_EQ(fakes.boxes.size(), 1u);
    EXPECT_EQ(ReadFileBytes(tapePath + ".wav").substr(0, 4), "RIFF");
    ASSERT_EQ(fakes.opens.size(), 1u);
    EXPECT_EQ(fakes.opens[0].file, tapePath + ".wav");
}

} // namespace
