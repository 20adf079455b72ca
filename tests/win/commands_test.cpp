// The menu commands of the main window, with the system dialogs answered by fakes (or, once, by
// typing into the real save dialog).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "util/statusbar.h"
#include "app/tomkrineditor.h"
#include "canvas/blockswin.h"
#include "core/level/level.h"
#include "core/level/levelcodec.h"
#include "core/level/defaultlevel.h"
#include "props/leveloptswin.h"
#include "props/monsterswin.h"
#include "res/resource.h"
#include "res/versioninfo.h"
#include "tests/win/support/dialogdriver.h"
#include "tests/win/support/editor.h"
#include "util/seams.h"

namespace {

// What the fakes were asked, and how they answer.
struct FileDialogCall {
    int count = 0;
    DWORD structSize = 0;
    HWND owner = nullptr;
    std::string title;
    std::string filter; // the whole list, NULs included
    std::string initialDir;
    DWORD flags = 0;
    DWORD capacity = 0;
    char* buffer = nullptr;
};
struct Fakes {
    FileDialogCall open, save;
    std::string answerPath; // written into the request's buffer
    BOOL answer = TRUE;     // what the dialog returns
    int messageBoxes = 0;
    HWND boxOwner = nullptr;
    std::string boxText, boxCaption;
    UINT boxType = 0;
    int shellCalls = 0;
    HWND shellOwner = reinterpret_cast<HWND>(1);
    std::string shellVerb, shellFile, shellParameters, shellDirectory;
    bool shellVerbNull = false, shellParametersNull = false, shellDirectoryNull = false;
    int shellShow = -1;
};
Fakes fakes;

// A filter list written as a literal: its pairs and the literal's own NUL, which ends the list.
template <std::size_t N> std::string filterBytes(const char (&list)[N]) {
    return std::string(list, N);
}

std::string filterList(const char* filter) {
    const char* end = filter;
    while (*end || end[1])
        ++end;
    return std::string(filter, end + 2);
}

BOOL answerFileDialog(FileDialogCall& call, LPOPENFILENAMEA request) {
    ++call.count;
    call.structSize = request->lStructSize;
    call.owner = request->hwndOwner;
    call.title = request->lpstrTitle ? request->lpstrTitle : "";
    call.filter = request->lpstrFilter ? filterList(request->lpstrFilter) : "";
    call.initialDir = request->lpstrInitialDir ? request->lpstrInitialDir : "";
    call.flags = request->Flags;
    call.capacity = request->nMaxFile;
    call.buffer = request->lpstrFile;
    lstrcpynA(request->lpstrFile, fakes.answerPath.c_str(), static_cast<int>(request->nMaxFile));
    return fakes.answer;
}
BOOL WINAPI fakeOpen(LPOPENFILENAMEA request) {
    return answerFileDialog(fakes.open, request);
}
BOOL WINAPI fakeSave(LPOPENFILENAMEA request) {
    return answerFileDialog(fakes.save, request);
}

int WINAPI fakeMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    ++fakes.messageBoxes;
    fakes.boxOwner = owner;
    fakes.boxText = text ? text : "";
    fakes.boxCaption = caption ? caption : "";
    fakes.boxType = type;
    return IDNO;
}

HINSTANCE WINAPI fakeShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                  LPCSTR directory, INT show) {
    ++fakes.shellCalls;
    fakes.shellOwner = owner;
    fakes.shellVerbNull = !verb;
    fakes.shellVerb = verb ? verb : "";
    fakes.shellFile = file ? file : "";
    fakes.shellParametersNull = !parameters;
    fakes.shellDirectoryNull = !directory;
    fakes.shellShow = show;
    return reinterpret_cast<HINSTANCE>(42);
}

BOOL WINAPI fakeShellExecuteEx(SHELLEXECUTEINFOA*) {
    ++fakes.shellCalls;
    return FALSE;
}

Level patternedLevel(int seed) {
    Level level{};
    const LevelFileBytes bytes = [seed] {
        LevelFileBytes b{};
        for (std::size_t i = 0; i < b.size(); ++i)
            b[i] = static_cast<std::uint8_t>(i * 13 + static_cast<std::size_t>(seed));
        return b;
    }();
    decodeLevel(bytes.data(), bytes.size(), level);
    return level;
}

void writeLevelFile(const std::string& path, const Level& level) {
    const LevelFileBytes bytes = encodeLevel(level);
    WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

std::string levelFileText(const Level& level) {
    const LevelFileBytes bytes = encodeLevel(level);
    return std::string(bytes.begin(), bytes.end());
}

void command(int id) {
    SendMessageA(hwndMain, WM_COMMAND, static_cast<WPARAM>(id), 0);
    PumpMessages();
}

class Commands : public testing::Test {
  protected:
    void SetUp() override {
        fakes = Fakes{};
        folder = StartEditorWith(
            {fakeOpen, fakeSave, fakeMessageBox, fakeShellExecute, fakeShellExecuteEx});
        UpdateStatusBar(status, "untouched");
    }
    void TearDown() override { systemCalls = realSystemCalls(); }

    void expectLevelsRequest(const FileDialogCall& call, const char* title, DWORD flags) {
        EXPECT_EQ(call.count, 1);
        EXPECT_EQ(call.structSize, static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A));
        EXPECT_EQ(call.owner, hwndMain);
        EXPECT_EQ(call.title, title);
        EXPECT_EQ(call.filter, filterBytes("Levels (*.bin)\0*.bin\0All files (*.*)\0*.*\0"));
        EXPECT_EQ(call.initialDir, ".");
        EXPECT_EQ(call.flags, flags);
        EXPECT_EQ(call.capacity, 260u);
        EXPECT_EQ(call.buffer, filename);
    }

    std::string folder;
};

} // namespace

TEST_F(Commands, OpenAsksForALevelFileAndLoadsIt) {
    const Level stored = patternedLevel(5);
    fakes.answerPath = folder + "stored.bin";
    writeLevelFile(fakes.answerPath, stored);
    l = Level{};
    command(CMD_OPEN);
    expectLevelsRequest(fakes.open, "Load Tomkrin Level", 0x100C);
    EXPECT_TRUE(sameLevel(l, stored));
    EXPECT_EQ(StatusText(), "Level loaded.");
    EXPECT_EQ(std::string(filename), fakes.answerPath);
}

TEST_F(Commands, SaveAsksForANameAndWritesTheLevel) {
    l = patternedLevel(9);
    fakes.answerPath = folder + "saved.bin";
    command(CMD_SAVE);
    expectLevelsRequest(fakes.save, "Save Tomkrin Level", 0x000E);
    EXPECT_EQ(ReadFileBytes(fakes.answerPath), levelFileText(l));
    EXPECT_EQ(StatusText(), "Level saved.");
}

TEST_F(Commands, CancelledFileDialogsEndTheCommand) {
    // The fakes leave a usable path behind, so only the dialog's answer can stop the command.
    const Level before = patternedLevel(3);
    l = before;
    fakes.answer = FALSE;
    fakes.answerPath = folder + "present.bin";
    writeLevelFile(fakes.answerPath, patternedLevel(4));
    command(CMD_OPEN);
    EXPECT_EQ(fakes.open.count, 1);
    EXPECT_TRUE(sameLevel(l, before));
    EXPECT_EQ(StatusText(), "untouched");

    fakes.answerPath = folder + "never.bin";
    command(CMD_SAVE);
    EXPECT_EQ(fakes.save.count, 1);
    EXPECT_FALSE(FileExists(fakes.answerPath));
    EXPECT_EQ(StatusText(), "untouched");
}

TEST_F(Commands, FailedLoadsAndSavesSaySoAndKeepTheLevel) {
    const Level before = patternedLevel(7);
    l = before;
    fakes.answerPath = folder + "missing.bin";
    command(CMD_OPEN);
    EXPECT_EQ(StatusText(), "Level could not be loaded.");
    EXPECT_TRUE(sameLevel(l, before));

    fakes.answerPath = folder + "no such folder\\level.bin";
    command(CMD_SAVE);
    EXPECT_EQ(StatusText(), "Level could not be saved.");
    EXPECT_FALSE(FileExists(fakes.answerPath));
    EXPECT_TRUE(sameLevel(l, before));
}

TEST_F(Commands, NewLoadsDefaultBinFromTheCurrentFolder) {
    char startFolder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, startFolder);

    // The default.bin shipped beside the editor (and copied beside this test).
    l = patternedLevel(1);
    command(CMD_NEW);
    EXPECT_TRUE(sameLevel(l, makeDefaultLevel()));
    EXPECT_EQ(StatusText(), "untouched");

    const Level custom = patternedLevel(2);
    writeLevelFile(folder + "default.bin", custom);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    command(CMD_NEW);
    EXPECT_TRUE(sameLevel(l, custom));
    EXPECT_EQ(StatusText(), "untouched");

    DeleteFileA((folder + "default.bin").c_str());
    command(CMD_NEW);
    EXPECT_TRUE(sameLevel(l, Level{}));
    EXPECT_EQ(StatusText(), "default.bin not found: empty level.");
    SetCurrentDirectoryA(startFolder);
    EXPECT_EQ(fakes.open.count + fakes.save.count + fakes.messageBoxes, 0);
}

TEST_F(Commands, SaveThroughTheRealDialogWritesTheTypedPath) {
    systemCalls = realSystemCalls();
    l = patternedLevel(11);
    const std::string path = folder + "typed.bin";
    AnswerFileDialogLater(hwndMain, "Save Tomkrin Level", path);
    command(CMD_SAVE);
    EXPECT_TRUE(FileDialogWasAnswered());
    EXPECT_EQ(ReadFileBytes(path), levelFileText(l));
    EXPECT_EQ(StatusText(), "Level saved.");
    EXPECT_EQ(std::string(filename), path);
}

TEST_F(Commands, ExitPostsCloseToTheMainWindow) {
    SendMessageA(hwndMain, WM_COMMAND, CMD_EXIT, 0);
    MSG msg;
    // Taken off the queue here, so the shared main window stays for the other tests.
    EXPECT_TRUE(PeekMessageA(&msg, hwndMain, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_TRUE(IsWindow(hwndMain));
}

TEST_F(Commands, AboutNamesTheEditorAndWhereToWrite) {
    command(CMD_ABOUT);
    ASSERT_EQ(fakes.messageBoxes, 1);
    EXPECT_EQ(fakes.boxOwner, hwndMain);
    EXPECT_EQ(fakes.boxCaption, "About Tomkrin Editor " TK_VERSION_TEXT);
    EXPECT_EQ(fakes.boxType, static_cast<UINT>(MB_OK));
    const std::size_t lineBreak = fakes.boxText.find("\r\n");
    ASSERT_NE(lineBreak, std::string::npos);
    EXPECT_EQ(fakes.boxText.find("\r\n", lineBreak + 2), std::string::npos);
    const std::string first = fakes.boxText.substr(0, lineBreak);
    const std::string second = fakes.boxText.substr(lineBreak + 2);
    EXPECT_NE(first.find("Tomkrin Editor " TK_VERSION_TEXT), std::string::npos);
    EXPECT_NE(second.find('@'), std::string::npos);
}

TEST_F(Commands, ManualAndF1OpenTheRtfThroughTheShell) {
    command(CMD_MANUAL);
    SendMessageA(hwndMain, WM_HELP, 0, 0);
    PumpMessages();
    EXPECT_EQ(fakes.shellCalls, 2);
    EXPECT_EQ(fakes.shellOwner, nullptr);
    EXPECT_TRUE(fakes.shellVerbNull);
    EXPECT_EQ(fakes.shellFile, "TOMKRIN.RTF");
    EXPECT_TRUE(fakes.shellParametersNull);
    EXPECT_TRUE(fakes.shellDirectoryNull);
    EXPECT_EQ(fakes.shellShow, SW_SHOWNORMAL);
    // The manual is shipped beside the editor.
    EXPECT_TRUE(FileExists("TOMKRIN.RTF"));
}

TEST_F(Commands, DoubleBaudRateTogglesTheFlagAndTheCheckMark) {
    HMENU menu = GetMenu(hwndMain);
    ASSERT_EQ(doubleSpeed, 0);
    EXPECT_FALSE(GetMenuState(menu, CMD_DOUBLE_BAUD, MF_BYCOMMAND) & MF_CHECKED);
    command(CMD_DOUBLE_BAUD);
    EXPECT_EQ(doubleSpeed, 1);
    EXPECT_TRUE(GetMenuState(menu, CMD_DOUBLE_BAUD, MF_BYCOMMAND) & MF_CHECKED);
    command(CMD_DOUBLE_BAUD);
    EXPECT_EQ(doubleSpeed, 0);
    EXPECT_FALSE(GetMenuState(menu, CMD_DOUBLE_BAUD, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(Commands, IdsWithoutACommandDoNothing) {
    const Level before = patternedLevel(6);
    l = before;
    for (int id : {313, 318}) {
        command(id);
        EXPECT_TRUE(sameLevel(l, before)) << id;
    }
    EXPECT_EQ(StatusText(), "untouched");
    EXPECT_EQ(fakes.open.count + fakes.save.count + fakes.messageBoxes + fakes.shellCalls, 0);
    EXPECT_EQ(doubleSpeed, 0);
}

TEST_F(Commands, ToolCommandsShowTheirWindowsOnceCreated) {
    const struct {
        int id;
        HWND* window;
    } tools[] = {
        {CMD_BLOCKS, &blockwin}, {CMD_LEVELOPTIONS, &leveloptswin}, {CMD_MONSTERS, &monsterswin}};
    for (const auto& tool : tools) {
        command(tool.id);
        const HWND first = *tool.window;
        ASSERT_NE(first, nullptr) << tool.id;
        EXPECT_TRUE(IsWindowVisible(first)) << tool.id;
        SendMessageA(first, WM_CLOSE, 0, 0);
        PumpMessages();
        EXPECT_FALSE(IsWindowVisible(first)) << tool.id;
        command(tool.id);
        EXPECT_EQ(*tool.window, first) << tool.id;
        EXPECT_TRUE(IsWindowVisible(first)) << tool.id;
    }
}

namespace {
bool exportDialogSeen;
void CALLBACK closeExportDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    static int ticks;
    HWND dialog = FindWindowA("#32770", "Select level to replace");
    if (dialog) {
        exportDialogSeen = GetWindow(dialog, GW_OWNER) == hwndMain;
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
    if (dialog || ++ticks > 100)
        KillTimer(nullptr, timer);
}
} // namespace

TEST_F(Commands, ConvertCommandsReachTheirActions) {
    exportDialogSeen = false;
    SetTimer(nullptr, 0, 100, closeExportDialog);
    command(CMD_BIN_TO_CAS); // modal: returns once the timer closed it
    EXPECT_TRUE(exportDialogSeen);

    fakes.answer = FALSE;
    command(CMD_CAS_TO_WAV);
    EXPECT_EQ(fakes.open.count, 1);
    EXPECT_EQ(fakes.open.title, "Select .CAS file to convert to WAV");
    EXPECT_EQ(fakes.open.filter, filterBytes("Tape files (*.cas)\0*.cas\0All files (*.*)\0*.*\0"));
}
