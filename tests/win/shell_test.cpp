// The main window, its status bar and the level files, driven for real inside the test program.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "app/commands.h"
#include "util/statusbar.h"
#include "app/tomkrineditor.h"
#include "core/level/levelcodec.h"
#include "level/tomkrinfile.h"
#include "res/resource.h"
#include "tests/win/support/editor.h"
#include "util/DlgUtil.h"
#include "util/fileutil.h"
#include "util/seams.h"

namespace {

class MainWindow : public testing::Test {
  protected:
    void SetUp() override { StartEditorOnce(); }
};

std::string patternedLevelFile() {
    std::string bytes(kLevelFileSize, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 13 + 5);
    bytes[0] = static_cast<char>(kBloadId);
    return bytes;
}

Level markedLevel() {
    Level level;
    for (int i = 0; i < kSlotCount; ++i)
        level.slots[i] = i % 200;
    return level;
}

} // namespace

TEST_F(MainWindow, HasItsClassStylePositionAndSize) {
    char className[64] = "";
    GetClassNameA(hwndMain, className, sizeof className);
    EXPECT_STREQ(className, "TomkrinEditorWndClass");
    EXPECT_EQ(GetClassLongPtrA(hwndMain, GCL_STYLE), 0x000B);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(hwndMain, GWL_STYLE)) & 0xFFFF0000u,
              0x16CF0000u);
    char title[64] = "";
    GetWindowTextA(hwndMain, title, sizeof title);
    EXPECT_STREQ(title, "TomkrinEditor");
    RECT frame;
    GetWindowRect(hwndMain, &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 40);
    EXPECT_EQ(frame.right - frame.left, 392);
    EXPECT_EQ(frame.bottom - frame.top, 354);
    EXPECT_EQ(blockSize, 16);
    EXPECT_NE(GetMenu(hwndMain), nullptr);
}

TEST_F(MainWindow, ClientAreaHoldsTheCanvasAndTheStatusBarStartsEmpty) {
    RECT client;
    GetClientRect(hwndMain, &client);
    EXPECT_GE(client.right, 384);
    EXPECT_GE(client.bottom, 288);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(GetParent(status), hwndMain);
    EXPECT_TRUE(SendMessageA(status, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(StatusText(), "");
}

TEST_F(MainWindow, StatusBarFollowsTheBottomEdgeWhenResized) {
    SetWindowPos(hwndMain, nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    RECT client, bar;
    GetClientRect(hwndMain, &client);
    GetWindowRect(status, &bar);
    MapWindowPoints(nullptr, hwndMain, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.right, client.right);
    SetWindowPos(hwndMain, nullptr, 0, 0, 392, 354, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    GetClientRect(hwndMain, &client);
    GetWindowRect(status, &bar);
    MapWindowPoints(nullptr, hwndMain, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.bottom, client.bottom);
}

TEST_F(MainWindow, UpdateStatusBarShowsTheText) {
    char text[] = "Level saved.";
    UpdateStatusBar(status, text);
    text[0] = 'X'; // the bar keeps its own copy
    EXPECT_EQ(StatusText(), "Level saved.");
    UpdateStatusBar(status, "");
}

std::string openedDocument;
HINSTANCE WINAPI recordOpenedDocument(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
    openedDocument = file;
    return reinterpret_cast<HINSTANCE>(33);
}

TEST_F(MainWindow, F1OpensTheManualLikeTheMenu) {
    openedDocument.clear();
    systemCalls.shellExecute = recordOpenedDocument;
    SendMessageA(hwndMain, WM_HELP, 0, 0);
    systemCalls = realSystemCalls();
    EXPECT_EQ(openedDocument, "TOMKRIN.RTF");
}

TEST_F(MainWindow, MenuAndAcceleratorsCarryTheCommandIds) {
    HMENU menu = GetMenu(hwndMain);
    EXPECT_EQ(GetMenuItemCount(menu), 5);
    char text[64];
    GetMenuStringA(menu, CMD_DOUBLE_BAUD, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, ".&WAV double baud rate");
    GetMenuStringA(menu, CMD_EXIT, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "E&xit (Ctrl+X)");
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_ACCELERATORS));
    ACCEL entries[16];
    int count = CopyAcceleratorTableA(table, entries, 16);
    ASSERT_EQ(count, 7);
    const WORD keys[] = {'S', 'O', 'N', 'X', 'B', 'L', 'M'};
    const WORD ids[] = {220, 210, 200, 300, 311, 312, 314};
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(entries[i].key, keys[i]);
        EXPECT_EQ(entries[i].cmd, ids[i]);
        EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FCONTROL), FVIRTKEY | FCONTROL);
    }
}

TEST(HexFields, ReadAndWriteDialogTextBoxes) {
    HWND box =
        CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    SetParent(box, parent);
    SetWindowLongPtrA(box, GWLP_ID, 702);
    SetDlgItemHex(parent, 702, 0xCA00);
    char text[32];
    GetDlgItemTextA(parent, 702, text, sizeof text);
    EXPECT_STREQ(text, "CA00");
    SetDlgItemHex(parent, 702, 255);
    EXPECT_EQ(GetDlgItemHex(parent, 702), 255);
    const struct {
        const char* text;
        int value;
    } cases[] = {{"-1", 0xFFFF},    {"1E6zz", 0x1E6},
                 {"", 0},           {"0x1e6", 0x1E6},
                 {"15B8E", 0x5B8E}, {"0000000000000000000000000000000000000000FF", 0}};
    for (const auto& c : cases) {
        SetDlgItemTextA(parent, 702, c.text);
        EXPECT_EQ(GetDlgItemHex(parent, 702), c.value) << c.text;
    }
    DestroyWindow(parent);
}

OPENFILENAMEA seenRequest;
int dialogCalls;
BOOL WINAPI chooseOneLevel(LPOPENFILENAMEA request) {
    seenRequest = *request;
    ++dialogCalls;
    lstrcpyA(request->lpstrFile, "C:\\levels\\one.bin");
    return TRUE;
}
BOOL WINAPI cancelDialog(LPOPENFILENAMEA request) {
    seenRequest = *request;
    ++dialogCalls;
    EXPECT_EQ(request->lpstrFile[0], '\0'); // the name box opens empty
    return FALSE;
}

// The filter's strings up to and including the empty one that ends the list, and no further.
std::string filterList(const char* filter) {
    const char* end = filter;
    while (*end)
        end += std::strlen(end) + 1;
    return std::string(filter, end + 1);
}

TEST(FileDialog, AsksWithTheShortRequestFromTheProgramFolder) {
    dialogCalls = 0;
    systemCalls.getOpenFileName = chooseOneLevel;
    systemCalls.getSaveFileName = cancelDialog;
    char path[MAX_PATH] = "old";
    EXPECT_TRUE(Apri(nullptr, path, MAX_PATH, "Load Tomkrin Level", kLevelsFilter, kOpenDialog));
    EXPECT_STREQ(path, "C:\\levels\\one.bin");
    EXPECT_EQ(seenRequest.lStructSize, OPENFILENAME_SIZE_VERSION_400A);
    EXPECT_EQ(seenRequest.Flags, 0x100Cu);
    EXPECT_STREQ(seenRequest.lpstrInitialDir, ".");
    EXPECT_STREQ(seenRequest.lpstrTitle, "Load Tomkrin Level");
    EXPECT_EQ(seenRequest.nMaxFile, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(seenRequest.nFilterIndex, 0u);
    EXPECT_EQ(filterList(seenRequest.lpstrFilter),
              std::string("Levels (*.bin)\0*.bin\0All files (*.*)\0*.*\0\0", 42));

    EXPECT_FALSE(Apri(nullptr, path, MAX_PATH, "Save Tomkrin Level", kLevelsFilter, kSaveDialog));
    EXPECT_EQ(seenRequest.Flags, 0x000Eu);
    EXPECT_STREQ(path, "");

    strcpy(path, "kept");
    EXPECT_FALSE(Apri(nullptr, path, MAX_PATH, "x", kLevelsFilter, 3));
    EXPECT_STREQ(path, "");
    EXPECT_EQ(dialogCalls, 2);
    systemCalls = realSystemCalls();
}

class LevelFiles : public testing::Test {
  protected:
    std::string folder = MakeTempFolder();
};

TEST_F(LevelFiles, RoundTripKeepsEveryByte) {
    std::string original = patternedLevelFile();
    WriteFileBytes(folder + "in.bin", original);
    Level level{};
    ASSERT_EQ(caricaLivello((folder + "in.bin").c_str(), &level), 1);
    ASSERT_EQ(salvaLivello(&level, (folder + "out.bin").c_str()), 1);
    EXPECT_EQ(ReadFileBytes(folder + "out.bin"), original);
}

TEST_F(LevelFiles, ShortAndLongFilesLoadWithTheZeroFill) {
    WriteFileBytes(folder + "seven.bin", std::string("\xFE\x00\xCA\xBE\xCB\x00\x00", 7));
    Level level = markedLevel();
    ASSERT_EQ(caricaLivello((folder + "seven.bin").c_str(), &level), 1);
    EXPECT_EQ(level.startAddress(), 0xCA00);
    EXPECT_EQ(level.endAddress(), 0xCBBE);
    for (int slot = kFirstCellSlot; slot < kSlotCount; ++slot)
        ASSERT_EQ(level.slots[slot], 0);

    WriteFileBytes(folder + "empty.bin", "");
    level = markedLevel();
    ASSERT_EQ(caricaLivello((folder + "empty.bin").c_str(), &level), 1);
    EXPECT_TRUE(sameLevel(level, Level{}));

    WriteFileBytes(folder + "long.bin", patternedLevelFile() + std::string(100, 'x'));
    ASSERT_EQ(caricaLivello((folder + "long.bin").c_str(), &level), 1);
    ASSERT_EQ(salvaLivello(&level, (folder + "again.bin").c_str()), 1);
    EXPECT_EQ(ReadFileBytes(folder + "again.bin"), patternedLevelFile());
}

TEST_F(LevelFiles, AFailedLoadLeavesTheLevelAsItWas) {
    Level level = markedLevel();
    EXPECT_EQ(caricaLivello((folder + "missing.bin").c_str(), &level), 0);
    EXPECT_EQ(caricaLivello("", &level), 0);
    EXPECT_TRUE(sameLevel(level, markedLevel()));

    WriteFileBytes(folder + "locked.bin", patternedLevelFile());
    HANDLE holder = CreateFileA((folder + "locked.bin").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(caricaLivello((folder + "locked.bin").c_str(), &level), 0);
    EXPECT_TRUE(sameLevel(level, markedLevel()));
    CloseHandle(holder);
}

TEST_F(LevelFiles, AFailedSaveLeavesTheOldFileWhole) {
    const std::string old = patternedLevelFile();
    Level level = markedLevel();

    WriteFileBytes(folder + "readonly.bin", old);
    SetFileAttributesA((folder + "readonly.bin").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(salvaLivello(&level, (folder + "readonly.bin").c_str()), 0);
    SetFileAttributesA((folder + "readonly.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(folder + "readonly.bin"), old);

    WriteFileBytes(folder + "held.bin", old);
    HANDLE holder = CreateFileA((folder + "held.bin").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(salvaLivello(&level, (folder + "held.bin").c_str()), 0);
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(folder + "held.bin"), old);

    EXPECT_EQ(salvaLivello(&level, ""), 0);
    EXPECT_EQ(salvaLivello(&level, (folder + "no such folder\\x.bin").c_str()), 0);

    // No temporary file is left behind by the failures.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST_F(LevelFiles, SaveReplacesAnExistingFileAndWritesTheFullLength) {
    WriteFileBytes(folder + "old.bin", std::string(1000, 'z'));
    Level level{};
    level.titleChar(0) = -23;
    ASSERT_EQ(salvaLivello(&level, (folder + "old.bin").c_str()), 1);
    std::string bytes = ReadFileBytes(folder + "old.bin");
    ASSERT_EQ(bytes.size(), kLevelFileSize);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFE);
    EXPECT_EQ(static_cast<unsigned char>(bytes[439]), 0xE9);
}
