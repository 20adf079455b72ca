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
#include "res/dlg_levelopts_ids.h"
#include "res/dlg_monsters_ids.h"
#include "res/dlg_levelopts_ids.h"
#include "res/dlg_monsters_ids.h"
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
    EXPECT_EQ(
        ChildIds(dialog),
        (std::vector<int>{IDC_LEVEL_CENTER, IDC_LEVEL_TITLE, IDC_LEVEL_MAN_X, IDC_LEVEL_MAN_Y,
                          IDC_LEVEL_START, IDC_LEVEL_NEXT, IDC_LEVEL_STANDARD, IDC_LEVEL_SET,
                          IDC_LEVEL_SAVE, IDC_LEVEL_START_LABEL, IDC_LEVEL_MAN_LABEL,
                          IDC_LEVEL_TITLE_LABEL, IDC_LEVEL_BLOAD_GROUP, IDC_LEVEL_STANDARD_LABEL}));
    EXPECT_FALSE(anyDefaultButton(dialog));
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_NEXT), "+ 0x1E6");
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_TITLE_LABEL), "Title (max. 24 chars, use UPPERcase):");
}

TEST(LevelOptions, ShowingAgainRefillsTheFieldsFromTheLevelButKeepsTheLevelNumber) {
    HWND dialog = levelOptions();
    l = Level{};
    l.startAddress() = 0xD37E;
    l.manStartX() = 0x20;
    l.manStartY() = 0x80;
    setStoredTitle("ABC");
    l.titleChar(5) = 'Z'; // after the 0 that ends the title
    SetItemText(dialog, IDC_LEVEL_START, "1234");
    SetItemText(dialog, IDC_LEVEL_STANDARD, "7");
    closeWindow(dialog);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(levelOptions(), dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_START), "D37E");
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_MAN_X), "20");
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_MAN_Y), "80");
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_TITLE), "ABC");
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_STANDARD), "7");
}

TEST(LevelOptions, SetPutsTheStandardLevelsAddressAndFallsBackToLevelZero) {
    HWND dialog = levelOptions();
    const struct {
        const char* level;
        const char* address;
    } cases[] = {{"5", "D37E"},  {"19", "EE12"},   {"1", "CBE6"}, {"20", "CA00"},
                 {"-1", "CA00"}, {"five", "CA00"}, {"", "CA00"}};
    for (const auto& c : cases) {
        SetItemText(dialog, IDC_LEVEL_START, "0");
        SetItemText(dialog, IDC_LEVEL_STANDARD, c.level);
        Click(dialog, IDC_LEVEL_SET);
        EXPECT_EQ(ItemText(dialog, IDC_LEVEL_START), c.address) << "level \"" << c.level << "\"";
    }
}

TEST(LevelOptions, StepAddsOneLevelBodyAndSaveKeepsSixteenBits) {
    HWND dialog = levelOptions();
    SetItemText(dialog, IDC_LEVEL_START, "CA00");
    Click(dialog, IDC_LEVEL_NEXT);
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_START), "CBE6");

    SetItemText(dialog, IDC_LEVEL_START, "FF00");
    Click(dialog, IDC_LEVEL_NEXT);
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_START), "100E6");
    l.execAddress() = 0x1234;
    UpdateStatusBar(status, "");
    Click(dialog, IDC_LEVEL_SAVE);
    EXPECT_EQ(l.startAddress(), 0x00E6);
    EXPECT_EQ(l.endAddress(), 0x02A4);
    EXPECT_EQ(l.execAddress(), 0);
    EXPECT_EQ(StatusText(), "Level options saved.");

    SetItemText(dialog, IDC_LEVEL_START, "FFFF");
    Click(dialog, IDC_LEVEL_SAVE);
    EXPECT_EQ(l.startAddress(), 0xFFFF);
    EXPECT_EQ(l.endAddress(), 0x01BD);
}

TEST(LevelOptions, SaveCutsTheManPositionToBytesAndPadsTheTitle) {
    HWND dialog = levelOptions();
    SetItemText(dialog, IDC_LEVEL_MAN_X, "1FF");
    SetItemText(dialog, IDC_LEVEL_MAN_Y, "0x7");
    SetItemText(dialog, IDC_LEVEL_TITLE, "LEVEL ONE");
    Click(dialog, IDC_LEVEL_SAVE);
    EXPECT_EQ(l.manStartX(), 0xFF);
    EXPECT_EQ(l.manStartY(), 7);
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_MAN_X), "1FF"); // not rewritten
    EXPECT_EQ(storedTitle(), "LEVEL ONE" + std::string(15, ' '));
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_TITLE), "LEVEL ONE" + std::string(24, ' '));

    SetItemText(dialog, IDC_LEVEL_TITLE, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    Click(dialog, IDC_LEVEL_SAVE);
    EXPECT_EQ(storedTitle(), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_TITLE), "ABCDEFGHIJKLMNOPQRSTUVWX" + std::string(24, ' '));

    // A character above 0x7F is kept as the signed byte; the file gets its low 8 bits.
    SetItemText(dialog, IDC_LEVEL_TITLE, "CAF\xE9");
    Click(dialog, IDC_LEVEL_SAVE);
    EXPECT_EQ(l.titleChar(3), -23);
    EXPECT_EQ(encodeLevel(l)[439 + 3], 0xE9);
}

TEST(LevelOptions, CenterCentresTheFieldOnly) {
    HWND dialog = levelOptions();
    const Level before = l;
    SetItemText(dialog, IDC_LEVEL_TITLE, "ABC");
    Click(dialog, IDC_LEVEL_CENTER);
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_TITLE),
              std::string(10, ' ') + "ABC" + std::string(11, ' '));
    SetItemText(dialog, IDC_LEVEL_TITLE, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    Click(dialog, IDC_LEVEL_CENTER);
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_TITLE), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_TRUE(sameLevel(l, before));

    // A title stored by Save is already 24 characters wide: centring keeps it.
    setStoredTitle("LEVEL ONE" + std::string(15, ' '));
    closeWindow(dialog);
    levelOptions();
    Click(dialog, IDC_LEVEL_CENTER);
    EXPECT_EQ(ItemText(dialog, IDC_LEVEL_TITLE), "LEVEL ONE" + std::string(15, ' '));
}

// ---- Monster options ----

namespace {

void storeMonster(int k, std::vector<int> values) {
    for (int field = 0; field < kMonsterFields; ++field)
        l.monster(k, field) = values[static_cast<size_t>(field)];
}

const int kMonsterFieldIds[] = {IDC_MONSTER_START_X, IDC_MONSTER_START_Y,   IDC_MONSTER_END_X,
                                IDC_MONSTER_END_Y,   IDC_MONSTER_DIRECTION, IDC_MONSTER_TYPE,
                                IDC_MONSTER_COLOR};
const int kDirectionIds[] = {IDC_MONSTER_WEST, IDC_MONSTER_NORTH, IDC_MONSTER_EAST,
                             IDC_MONSTER_SOUTH}; // W N E S

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
    EXPECT_EQ(ChildIds(dialog), (std::vector<int>{IDC_MONSTER_1,
                                                  IDC_MONSTER_2,
                                                  IDC_MONSTER_3,
                                                  IDC_MONSTER_4,
                                                  IDC_MONSTER_START_X,
                                                  IDC_MONSTER_START_Y,
                                                  IDC_MONSTER_END_X,
                                                  IDC_MONSTER_END_Y,
                                                  IDC_MONSTER_DIRECTION,
                                                  IDC_MONSTER_NORTH,
                                                  IDC_MONSTER_WEST,
                                                  IDC_MONSTER_EAST,
                                                  IDC_MONSTER_SOUTH,
                                                  IDC_MONSTER_TYPE,
                                                  IDC_MONSTER_TYPE_DOWN,
                                                  IDC_MONSTER_TYPE_UP,
                                                  IDC_MONSTER_COLOR,
                                                  IDC_MONSTER_COLOR_DOWN,
                                                  IDC_MONSTER_COLOR_UP,
                                                  IDC_MONSTER_SAVE,
                                                  IDC_MONSTER_START_LABEL,
                                                  IDC_MONSTER_END_LABEL,
                                                  IDC_MONSTER_DIRECTION_LABEL,
                                                  IDC_MONSTER_TYPE_LABEL,
                                                  IDC_MONSTER_COLOR_LABEL,
                                                  IDC_MONSTER_ATTRIBUTES_GROUP,
                                                  IDC_MONSTER_POSITION_GROUP,
                                                  IDC_MONSTER_DIRECTION_FRAME,
                                                  IDC_MONSTER_TYPE_DESCRIPTION,
                                                  IDC_MONSTER_COLOR_DESCRIPTION,
                                                  IDC_MONSTER_CLEAR,
                                                  IDC_MONSTER_TYPE_FRAME,
                                                  IDC_MONSTER_COLOR_FRAME,
                                                  IDC_MONSTER_WARNING}));
    EXPECT_FALSE(anyDefaultButton(dialog));

    EXPECT_TRUE(IsChecked(dialog, IDC_MONSTER_1));
    EXPECT_FALSE(IsChecked(dialog, IDC_MONSTER_2) || IsChecked(dialog, IDC_MONSTER_3) ||
                 IsChecked(dialog, IDC_MONSTER_4));
    EXPECT_EQ(monsterFieldTexts(dialog), std::vector<std::string>(7, "0"));
    EXPECT_EQ(markedDirections(dialog), std::vector<int>{IDC_MONSTER_WEST});
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_TYPE_DESCRIPTION), "0: (Nothing) [0xFF]");
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_COLOR_DESCRIPTION), "Trasparent [0]");
}

TEST(MonsterOptions, SelectingAMonsterShowsItsValuesAndDescriptions) {
    HWND dialog = monsterOptions();
    storeMonster(1, {0x20, 0x30, 0x80, 0x30, 3, 0x0A, 7});
    Click(dialog, IDC_MONSTER_2);
    EXPECT_EQ(monsterFieldTexts(dialog),
              (std::vector<std::string>{"20", "30", "80", "30", "3", "A", "7"}));
    EXPECT_EQ(markedDirections(dialog), std::vector<int>{IDC_MONSTER_SOUTH});
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_TYPE_DESCRIPTION), "1: Carrier [0x09]");
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_COLOR_DESCRIPTION), "Cyan [7]");

    for (int code : {0x05, 0xFF}) {
        l.monster(1, kMonsterType) = code;
        Click(dialog, IDC_MONSTER_2);
        EXPECT_EQ(ItemText(dialog, IDC_MONSTER_TYPE), code == 5 ? "5" : "FF");
        EXPECT_EQ(ItemText(dialog, IDC_MONSTER_TYPE_DESCRIPTION), "0: (Nothing) [0xFF]");
    }
}

TEST(MonsterOptions, TypeAndColourSteppersWrapAndLeaveTheLevelAlone) {
    HWND dialog = monsterOptions();
    storeMonster(0, {1, 2, 3, 4, 0, 0x2B, 15});
    Click(dialog, IDC_MONSTER_1);
    const Level before = l;
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_TYPE_DESCRIPTION), "18: R / G [0x2B]");
    // Each stepper, the value and description it shows, in the order of the clicks.
    const struct {
        int button, field, description;
        const char *value, *name;
    } steps[] = {
        {IDC_MONSTER_TYPE_UP, IDC_MONSTER_TYPE, IDC_MONSTER_TYPE_DESCRIPTION, "FF",
         "0: (Nothing) [0xFF]"},
        {IDC_MONSTER_TYPE_DOWN, IDC_MONSTER_TYPE, IDC_MONSTER_TYPE_DESCRIPTION, "2B",
         "18: R / G [0x2B]"},
        {IDC_MONSTER_COLOR_UP, IDC_MONSTER_COLOR, IDC_MONSTER_COLOR_DESCRIPTION, "0",
         "Trasparent [0]"},
        {IDC_MONSTER_COLOR_DOWN, IDC_MONSTER_COLOR, IDC_MONSTER_COLOR_DESCRIPTION, "F",
         "White [F]"},
    };
    for (const auto& step : steps) {
        Click(dialog, step.button);
        EXPECT_EQ(ItemText(dialog, step.field), step.value);
        EXPECT_EQ(ItemText(dialog, step.description), step.name);
    }
    EXPECT_TRUE(sameLevel(l, before));
}

TEST(MonsterOptions, ValuesOutsideTheTablesShowWithoutASelectorOrAName) {
    HWND dialog = monsterOptions();
    storeMonster(3, {0, 0, 0, 0, 7, 0x09, 0xFF});
    Click(dialog, IDC_MONSTER_4);
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_DIRECTION), "7");
    EXPECT_TRUE(markedDirections(dialog).empty());
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_COLOR), "FF");
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_COLOR_DESCRIPTION), "Unknown [FF]");
    Click(dialog, IDC_MONSTER_COLOR_DOWN);
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_COLOR), "E");
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_COLOR_DESCRIPTION), "Grey [E]");
    Click(dialog, IDC_MONSTER_4);
    Click(dialog, IDC_MONSTER_COLOR_UP);
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_COLOR), "0");

    l.monster(3, kMonsterDirection) = 0xFF;
    Click(dialog, IDC_MONSTER_4);
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_DIRECTION), "FF");
    EXPECT_TRUE(markedDirections(dialog).empty());
}

TEST(MonsterOptions, ClearShowsFFEverywhereAndSaveStoresIt) {
    HWND dialog = monsterOptions();
    storeMonster(2, {0x10, 0x20, 0x10, 0x60, 1, 0x13, 8});
    Click(dialog, IDC_MONSTER_3);
    const Level before = l;
    Click(dialog, IDC_MONSTER_CLEAR);
    EXPECT_EQ(monsterFieldTexts(dialog), std::vector<std::string>(7, "FF"));
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_TYPE_DESCRIPTION), "6: Skull [0x13]");
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_COLOR_DESCRIPTION), "Red [8]");
    EXPECT_EQ(markedDirections(dialog), std::vector<int>{IDC_MONSTER_NORTH});
    EXPECT_TRUE(sameLevel(l, before));

    Click(dialog, IDC_MONSTER_3); // the stored values come back
    EXPECT_EQ(monsterFieldTexts(dialog),
              (std::vector<std::string>{"10", "20", "10", "60", "1", "13", "8"}));

    Click(dialog, IDC_MONSTER_CLEAR);
    Click(dialog, IDC_MONSTER_SAVE);
    for (int field = 0; field < kMonsterFields; ++field)
        EXPECT_EQ(l.monster(2, field), 0xFF) << "field " << field;
    for (int field = 0; field < kMonsterFields; ++field)
        EXPECT_EQ(l.monster(1, field), before.monster(1, field));
}

TEST(MonsterOptions, DirectionButtonsWriteTheFieldAndSaveCutsToBytes) {
    HWND dialog = monsterOptions();
    storeMonster(1, {0x20, 0x30, 0x80, 0x30, 0, 0x09, 2});
    Click(dialog, IDC_MONSTER_2);
    Click(dialog, IDC_MONSTER_EAST); // E
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_DIRECTION), "2");
    EXPECT_EQ(l.monster(1, kMonsterDirection), 0);
    SetItemText(dialog, IDC_MONSTER_START_X, "1FF");
    SetItemText(dialog, IDC_MONSTER_TYPE, "0x10A");
    Click(dialog, IDC_MONSTER_SAVE);
    EXPECT_EQ(l.monster(1, kMonsterDirection), 2);
    EXPECT_EQ(l.monster(1, kMonsterStartX), 0xFF);
    EXPECT_EQ(l.monster(1, kMonsterType), 0x0A);
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_START_X), "1FF");
}

TEST(MonsterOptions, ReopensOnTheLastSelectedMonsterWithItsStoredValues) {
    HWND dialog = monsterOptions();
    Click(dialog, IDC_MONSTER_3);
    SetItemText(dialog, IDC_MONSTER_START_X, "77"); // not saved: lost when the window hides
    closeWindow(dialog);
    EXPECT_FALSE(IsWindowVisible(dialog));
    storeMonster(2, {0x44, 0x18, 0x44, 0x58, 3, 0x0B, 5});
    EXPECT_EQ(monsterOptions(), dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsChecked(dialog, IDC_MONSTER_3));
    EXPECT_FALSE(IsChecked(dialog, IDC_MONSTER_1));
    EXPECT_EQ(monsterFieldTexts(dialog),
              (std::vector<std::string>{"44", "18", "44", "58", "3", "B", "5"}));
    EXPECT_EQ(ItemText(dialog, IDC_MONSTER_TYPE_DESCRIPTION), "2: Sweet [0x0B]");
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
    Click(monsters, IDC_MONSTER_2);
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
    EXPECT_EQ(ItemText(options, IDC_LEVEL_START), "D564");
    EXPECT_EQ(ItemText(options, IDC_LEVEL_MAN_X), "38");
    EXPECT_EQ(ItemText(options, IDC_LEVEL_MAN_Y), "70");
    EXPECT_EQ(ItemText(options, IDC_LEVEL_TITLE), title);
    EXPECT_TRUE(IsChecked(monsters, IDC_MONSTER_2));
    EXPECT_EQ(monsterFieldTexts(monsters),
              (std::vector<std::string>{"11", "22", "33", "44", "55", "66", "77"}));
    EXPECT_EQ(ItemText(monsters, IDC_MONSTER_TYPE_DESCRIPTION),
              "0: (Nothing) [0xFF]"); // 0x66 is no type
}
