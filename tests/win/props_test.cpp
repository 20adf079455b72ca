// The level options and monster options windows, driven through their real controls.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "util/statusbar.h"
#include "app/tomkrineditor.h"
#include "core/level/level.h"
#include "core/level/levelcodec.h"
#include "props/leveloptswin.h"
#include "props/monsterswin.h"
#include "res/resource.h"
#include "tests/win/support/dialogdriver.h"
#include "tests/win/support/editor.h"
#include "util/seams.h"

namespace {

HWND showWindowOf(int command) {
    StartEditorOnce();
    SendMessageA(hwndMain, WM_COMMAND, static_cast<WPARAM>(command), 0);
    PumpMessages();
    return command == CMD_LEVELOPTIONS ? leveloptswin : monsterswin;
}
HWND levelOptions() {
    return showWindowOf(CMD_LEVELOPTIONS);
}
HWND monsterOptions() {
    return showWindowOf(CMD_MONSTERS);
}

void closeWindow(HWND window) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    PumpMessages();
}

std::string storedTitle() {
    std::string title;
    for (int i = 0; i < kTitleLength; ++i)
        title += static_cast<char>(l.titleChar(i));
    return title;
}

void setStoredTitle(const std::string& title) {
    for (int i = 0; i < kTitleLength; ++i)
        l.titleChar(i) = i < static_cast<int>(title.size()) ? title[i] : 0;
}

bool sameLevel(const Level& a, const Level& b) {
    return std::memcmp(a.slots, b.slots, sizeof a.slots) == 0;
}

bool anyDefaultButton(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = "";
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Button") == 0 &&
            (GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return true;
    }
    return false;
}

std::string caption(HWND window) {
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace

// ---- Level options ----

TEST(LevelOptions, OpensAsAToolWindowOfTheMainWindowWithItsControlsInOrder) {
    HWND dialog = levelOptions();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), hwndMain);
    EXPECT_EQ(caption(dialog), "Level options");
    EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(ChildIds(dialog), (std::vector<int>{716, 708, 704, 705, 702, 712, 714, 713, 707, 706,
                                                  703, 709, 711, 715}));
    EXPECT_FALSE(anyDefaultButton(dialog));
    EXPECT_EQ(ItemText(dialog, 712), "+ 0x1E6");
    EXPECT_EQ(ItemText(dialog, 709), "Title (max. 24 chars, use UPPERcase):");
}

TEST(LevelOptions, ShowingAgainRefillsTheFieldsFromTheLevelButKeepsTheLevelNumber) {
    HWND dialog = levelOptions();
    l = Level{};
    l.startAddress() = 0xD37E;
    l.manStartX() = 0x20;
    l.manStartY() = 0x80;
    setStoredTitle("ABC");
    l.titleChar(5) = 'Z'; // after the 0 that ends the title
    SetItemText(dialog, 702, "1234");
    SetItemText(dialog, 714, "7");
    closeWindow(dialog);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(levelOptions(), dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(ItemText(dialog, 702), "D37E");
    EXPECT_EQ(ItemText(dialog, 704), "20");
    EXPECT_EQ(ItemText(dialog, 705), "80");
    EXPECT_EQ(ItemText(dialog, 708), "ABC");
    EXPECT_EQ(ItemText(dialog, 714), "7");
}

TEST(LevelOptions, SetPutsTheStandardLevelsAddressAndFallsBackToLevelZero) {
    HWND dialog = levelOptions();
    const struct {
        const char* level;
        const char* address;
    } cases[] = {{"5", "D37E"},  {"19", "EE12"},   {"1", "CBE6"}, {"20", "CA00"},
                 {"-1", "CA00"}, {"five", "CA00"}, {"", "CA00"}};
    for (const auto& c : cases) {
        SetItemText(dialog, 702, "0");
        SetItemText(dialog, 714, c.level);
        Click(dialog, 713);
        EXPECT_EQ(ItemText(dialog, 702), c.address) << "level \"" << c.level << "\"";
    }
}

TEST(LevelOptions, StepAddsOneLevelBodyAndSaveKeepsSixteenBits) {
    HWND dialog = levelOptions();
    SetItemText(dialog, 702, "CA00");
    Click(dialog, 712);
    EXPECT_EQ(ItemText(dialog, 702), "CBE6");

    SetItemText(dialog, 702, "FF00");
    Click(dialog, 712);
    EXPECT_EQ(ItemText(dialog, 702), "100E6");
    l.execAddress() = 0x1234;
    UpdateStatusBar(status, "");
    Click(dialog, 707);
    EXPECT_EQ(l.startAddress(), 0x00E6);
    EXPECT_EQ(l.endAddress(), 0x02A4);
    EXPECT_EQ(l.execAddress(), 0);
    EXPECT_EQ(StatusText(), "Level options saved.");

    SetItemText(dialog, 702, "FFFF");
    Click(dialog, 707);
    EXPECT_EQ(l.startAddress(), 0xFFFF);
    EXPECT_EQ(l.endAddress(), 0x01BD);
}

TEST(LevelOptions, SaveCutsTheManPositionToBytesAndPadsTheTitle) {
    HWND dialog = levelOptions();
    SetItemText(dialog, 704, "1FF");
    SetItemText(dialog, 705, "0x7");
    SetItemText(dialog, 708, "LEVEL ONE");
    Click(dialog, 707);
    EXPECT_EQ(l.manStartX(), 0xFF);
    EXPECT_EQ(l.manStartY(), 7);
    EXPECT_EQ(ItemText(dialog, 704), "1FF"); // not rewritten
    EXPECT_EQ(storedTitle(), "LEVEL ONE" + std::string(15, ' '));
    EXPECT_EQ(ItemText(dialog, 708), "LEVEL ONE" + std::string(24, ' '));

    SetItemText(dialog, 708, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    Click(dialog, 707);
    EXPECT_EQ(storedTitle(), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(ItemText(dialog, 708), "ABCDEFGHIJKLMNOPQRSTUVWX" + std::string(24, ' '));

    // A character above 0x7F is kept as the signed byte; the file gets its low 8 bits.
    SetItemText(dialog, 708, "CAF\xE9");
    Click(dialog, 707);
    EXPECT_EQ(l.titleChar(3), -23);
    EXPECT_EQ(encodeLevel(l)[439 + 3], 0xE9);
}

TEST(LevelOptions, CenterCentresTheFieldOnly) {
    HWND dialog = levelOptions();
    const Level before = l;
    SetItemText(dialog, 708, "ABC");
    Click(dialog, 716);
    EXPECT_EQ(ItemText(dialog, 708), std::string(10, ' ') + "ABC" + std::string(11, ' '));
    SetItemText(dialog, 708, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    Click(dialog, 716);
    EXPECT_EQ(ItemText(dialog, 708), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_TRUE(sameLevel(l, before));

    // A title stored by Save is already 24 characters wide: centring keeps it.
    setStoredTitle("LEVEL ONE" + std::string(15, ' '));
    closeWindow(dialog);
    levelOptions();
    Click(dialog, 716);
    EXPECT_EQ(ItemText(dialog, 708), "LEVEL ONE" + std::string(15, ' '));
}

// ---- Monster options ----

namespace {

void storeMonster(int k, std::vector<int> values) {
    for (int field = 0; field < kMonsterFields; ++field)
        l.monster(k, field) = values[static_cast<size_t>(field)];
}

const int kMonsterFieldIds[] = {806, 807, 808, 809, 811, 812, 813};
const int kDirectionIds[] = {823, 822, 824, 825}; // W N E S

std::vector<std::string> monsterFieldTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (int id : kMonsterFieldIds)
        texts.push_back(ItemText(dialog, id));
    return texts;
}

std::vector<int> markedDirections(HWND dialog) {
    std::vector<int> marked;
    for (int id : kDirectionIds)
        if (IsChecked(dialog, id))
            marked.push_back(id);
    return marked;
}

} // namespace

TEST(MonsterOptions, FirstShowingOnAZeroedLevelShowsMonsterOne) {
    StartEditorOnce();
    ASSERT_EQ(monsterswin, nullptr);
    l = Level{};
    HWND dialog = monsterOptions();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(caption(dialog), "Monster options");
    EXPECT_FALSE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(ChildIds(dialog),
              (std::vector<int>{801, 802, 803, 804, 806, 807, 808, 809, 811, 822, 823, 824,
                                825, 812, 828, 829, 813, 830, 831, 814, 815, 816, 817, 818,
                                819, 820, 821, 826, 827, 832, 833, 834, 835, 836}));
    EXPECT_FALSE(anyDefaultButton(dialog));

    EXPECT_TRUE(IsChecked(dialog, 801));
    EXPECT_FALSE(IsChecked(dialog, 802) || IsChecked(dialog, 803) || IsChecked(dialog, 804));
    EXPECT_EQ(monsterFieldTexts(dialog), std::vector<std::string>(7, "0"));
    EXPECT_EQ(markedDirections(dialog), std::vector<int>{823});
    EXPECT_EQ(ItemText(dialog, 827), "0: (Nothing) [0xFF]");
    EXPECT_EQ(ItemText(dialog, 832), "Trasparent [0]");
}

TEST(MonsterOptions, SelectingAMonsterShowsItsValuesAndDescriptions) {
    HWND dialog = monsterOptions();
    storeMonster(1, {0x20, 0x30, 0x80, 0x30, 3, 0x0A, 7});
    Click(dialog, 802);
    EXPECT_EQ(monsterFieldTexts(dialog),
              (std::vector<std::string>{"20", "30", "80", "30", "3", "A", "7"}));
    EXPECT_EQ(markedDirections(dialog), std::vector<int>{825});
    EXPECT_EQ(ItemText(dialog, 827), "1: Carrier [0x09]");
    EXPECT_EQ(ItemText(dialog, 832), "Cyan [7]");

    for (int code : {0x05, 0xFF}) {
        l.monster(1, kMonsterType) = code;
        Click(dialog, 802);
        EXPECT_EQ(ItemText(dialog, 812), code == 5 ? "5" : "FF");
        EXPECT_EQ(ItemText(dialog, 827), "0: (Nothing) [0xFF]");
    }
}

TEST(MonsterOptions, TypeAndColourSteppersWrapAndLeaveTheLevelAlone) {
    HWND dialog = monsterOptions();
    storeMonster(0, {1, 2, 3, 4, 0, 0x2B, 15});
    Click(dialog, 801);
    const Level before = l;
    EXPECT_EQ(ItemText(dialog, 827), "18: R / G [0x2B]");
    Click(dialog, 829);
    EXPECT_EQ(ItemText(dialog, 812), "FF");
    EXPECT_EQ(ItemText(dialog, 827), "0: (Nothing) [0xFF]");
    Click(dialog, 828);
    EXPECT_EQ(ItemText(dialog, 812), "2B");
    EXPECT_EQ(ItemText(dialog, 827), "18: R / G [0x2B]");

    Click(dialog, 831);
    EXPECT_EQ(ItemText(dialog, 813), "0");
    EXPECT_EQ(ItemText(dialog, 832), "Trasparent [0]");
    Click(dialog, 830);
    EXPECT_EQ(ItemText(dialog, 813), "F");
    EXPECT_EQ(ItemText(dialog, 832), "White [F]");
    EXPECT_TRUE(sameLevel(l, before));
}

TEST(MonsterOptions, ValuesOutsideTheTablesShowWithoutASelectorOrAName) {
    HWND dialog = monsterOptions();
    storeMonster(3, {0, 0, 0, 0, 7, 0x09, 0xFF});
    Click(dialog, 804);
    EXPECT_EQ(ItemText(dialog, 811), "7");
    EXPECT_TRUE(markedDirections(dialog).empty());
    EXPECT_EQ(ItemText(dialog, 813), "FF");
    EXPECT_EQ(ItemText(dialog, 832), "Unknown [FF]");
    Click(dialog, 830);
    EXPECT_EQ(ItemText(dialog, 813), "E");
    EXPECT_EQ(ItemText(dialog, 832), "Grey [E]");
    Click(dialog, 804);
    Click(dialog, 831);
    EXPECT_EQ(ItemText(dialog, 813), "0");

    l.monster(3, kMonsterDirection) = 0xFF;
    Click(dialog, 804);
    EXPECT_EQ(ItemText(dialog, 811), "FF");
    EXPECT_TRUE(markedDirections(dialog).empty());
}

TEST(MonsterOptions, ClearShowsFFEverywhereAndSaveStoresIt) {
    HWND dialog = monsterOptions();
    storeMonster(2, {0x10, 0x20, 0x10, 0x60, 1, 0x13, 8});
    Click(dialog, 803);
    const Level before = l;
    Click(dialog, 833);
    EXPECT_EQ(monsterFieldTexts(dialog), std::vector<std::string>(7, "FF"));
    EXPECT_EQ(ItemText(dialog, 827), "6: Skull [0x13]");
    EXPECT_EQ(ItemText(dialog, 832), "Red [8]");
    EXPECT_EQ(markedDirections(dialog), std::vector<int>{822});
    EXPECT_TRUE(sameLevel(l, before));

    Click(dialog, 803); // the stored values come back
    EXPECT_EQ(monsterFieldTexts(dialog),
              (std::vector<std::string>{"10", "20", "10", "60", "1", "13", "8"}));

    Click(dialog, 833);
    Click(dialog, 814);
    for (int field = 0; field < kMonsterFields; ++field)
        EXPECT_EQ(l.monster(2, field), 0xFF) << "field " << field;
    for (int field = 0; field < kMonsterFields; ++field)
        EXPECT_EQ(l.monster(1, field), before.monster(1, field));
}

TEST(MonsterOptions, DirectionButtonsWriteTheFieldAndSaveCutsToBytes) {
    HWND dialog = monsterOptions();
    storeMonster(1, {0x20, 0x30, 0x80, 0x30, 0, 0x09, 2});
    Click(dialog, 802);
    Click(dialog, 824); // E
    EXPECT_EQ(ItemText(dialog, 811), "2");
    EXPECT_EQ(l.monster(1, kMonsterDirection), 0);
    SetItemText(dialog, 806, "1FF");
    SetItemText(dialog, 812, "0x10A");
    Click(dialog, 814);
    EXPECT_EQ(l.monster(1, kMonsterDirection), 2);
    EXPECT_EQ(l.monster(1, kMonsterStartX), 0xFF);
    EXPECT_EQ(l.monster(1, kMonsterType), 0x0A);
    EXPECT_EQ(ItemText(dialog, 806), "1FF");
}

TEST(MonsterOptions, ReopensOnTheLastSelectedMonsterWithItsStoredValues) {
    HWND dialog = monsterOptions();
    Click(dialog, 803);
    SetItemText(dialog, 806, "77"); // not saved: lost when the window hides
    closeWindow(dialog);
    EXPECT_FALSE(IsWindowVisible(dialog));
    storeMonster(2, {0x44, 0x18, 0x44, 0x58, 3, 0x0B, 5});
    EXPECT_EQ(monsterOptions(), dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsChecked(dialog, 803));
    EXPECT_FALSE(IsChecked(dialog, 801));
    EXPECT_EQ(monsterFieldTexts(dialog),
              (std::vector<std::string>{"44", "18", "44", "58", "3", "B", "5"}));
    EXPECT_EQ(ItemText(dialog, 827), "2: Sweet [0x0B]");
}

// ---- Both windows and the file commands ----

namespace {
std::string levelToOpen;
BOOL WINAPI chooseLevelToOpen(LPOPENFILENAMEA request) {
    lstrcpynA(request->lpstrFile, levelToOpen.c_str(), static_cast<int>(request->nMaxFile));
    return TRUE;
}
} // namespace

TEST(PropertyWindows, ShowTheNewLevelAfterOpen) {
    HWND options = levelOptions();
    HWND monsters = monsterOptions();
    Click(monsters, 802);
    Level loaded{};
    loaded.startAddress() = 0xD564;
    loaded.manStartX() = 0x38;
    loaded.manStartY() = 0x70;
    const char title[] = "OPENED LEVEL            ";
    for (int i = 0; i < kTitleLength; ++i)
        loaded.titleChar(i) = title[i];
    for (int field = 0; field < kMonsterFields; ++field)
        loaded.monster(1, field) = 0x11 * (field + 1);
    levelToOpen = MakeTempFolder() + "opened.bin";
    const LevelFileBytes bytes = encodeLevel(loaded);
    WriteFileBytes(levelToOpen, std::string(bytes.begin(), bytes.end()));

    systemCalls.getOpenFileName = chooseLevelToOpen;
    SendMessageA(hwndMain, WM_COMMAND, CMD_OPEN, 0);
    PumpMessages();
    systemCalls = realSystemCalls();

    EXPECT_EQ(StatusText(), "Level loaded.");
    EXPECT_EQ(ItemText(options, 702), "D564");
    EXPECT_EQ(ItemText(options, 704), "38");
    EXPECT_EQ(ItemText(options, 705), "70");
    EXPECT_EQ(ItemText(options, 708), title);
    EXPECT_TRUE(IsChecked(monsters, 802));
    EXPECT_EQ(monsterFieldTexts(monsters),
              (std::vector<std::string>{"11", "22", "33", "44", "55", "66", "77"}));
    EXPECT_EQ(ItemText(monsters, 827), "0: (Nothing) [0xFF]"); // 0x66 is no type
}
