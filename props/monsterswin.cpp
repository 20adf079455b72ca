#include "props/monsterswin.h"

#include "util/editorglobals.h"
#include "core/editor/monsteroptions.h"
#include "core/level/level.h"
#include "core/level/monstertables.h"
#include "res/dlg_monsters_ids.h"
#include "res/resource.h"
#include "util/DlgUtil.h"
#include "util/toolwindow.h"

HWND monsterswin;

namespace {

// The selectors of monsters 0 to 3, and of the directions by value (0 W, 1 N, 2 E, 3 S).
const int bott[kMonsterCount] = {IDC_MONSTER_1, IDC_MONSTER_2, IDC_MONSTER_3, IDC_MONSTER_4};
const int dir[kDirectionCount] = {IDC_MONSTER_WEST, IDC_MONSTER_NORTH, IDC_MONSTER_EAST,
                                  IDC_MONSTER_SOUTH};

// The fields of one monster, in the order of its record.
const int monsterFields[kMonsterFields] = {
    IDC_MONSTER_START_X,   IDC_MONSTER_START_Y, IDC_MONSTER_END_X, IDC_MONSTER_END_Y,
    IDC_MONSTER_DIRECTION, IDC_MONSTER_TYPE,    IDC_MONSTER_COLOR};

// Kept for the whole run, so the window reopens on the monster last selected.
int m;    // the monster being edited, 0 to 3
int mstc; // the type cursor, an index into mostro
int colc; // the colour cursor: a colour number, or a stored value outside the 16 colours

void showType(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_MONSTER_TYPE, monsterTypeField(mstc).c_str());
    SetDlgItemTextA(dialog, IDC_MONSTER_TYPE_DESCRIPTION, mostro[mstc].label);
}

void showColor(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_MONSTER_COLOR, colourField(colc).c_str());
    SetDlgItemTextA(dialog, IDC_MONSTER_COLOR_DESCRIPTION, colorDescription(colc).c_str());
}

void showFields(HWND dialog, const MonsterFieldTexts& fields) {
    for (int field = 0; field < kMonsterFields; ++field)
        SetDlgItemTextA(dialog, monsterFields[field],
                        fields[static_cast<std::size_t>(field)].c_str());
}

void selectMonster(HWND dialog, int monster) {
    m = monster;
    for (int selector : dir)
        CheckDlgButton(dialog, selector, BST_UNCHECKED);
    const MonsterSelection selection = ::selectMonster(l, m);
    showFields(dialog, selection.fields);
    if (selection.directionButton >= 0)
        CheckDlgButton(dialog, dir[selection.directionButton], BST_CHECKED);
    mstc = selection.typeCursor;
    SetDlgItemTextA(dialog, IDC_MONSTER_TYPE_DESCRIPTION, mostro[mstc].label);
    colc = selection.colourCursor;
    showColor(dialog);
}

void reselectCurrentMonster(HWND dialog) {
    SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(bott[m]), 0);
    CheckDlgButton(dialog, bott[m], BST_CHECKED);
}

void clearFields(HWND dialog) {
    showFields(dialog, clearedMonsterFields());
}

void saveMonster(HWND dialog) {
    MonsterFieldTexts fields;
    for (int field = 0; field < kMonsterFields; ++field)
        fields[static_cast<std::size_t>(field)] = GetDlgItemHexText(dialog, monsterFields[field]);
    ::saveMonster(fields, m, l);
}

bool onSelector(HWND dialog, WPARAM wParam) {
    for (int i = 0; i < kMonsterCount; ++i) {
        if (wParam == static_cast<WPARAM>(dir[i])) {
            // Only the field changes; the monster keeps its direction until Save monster.
            SetDlgItemHex(dialog, IDC_MONSTER_DIRECTION, i);
            return true;
        }
        if (wParam == static_cast<WPARAM>(bott[i])) {
            selectMonster(dialog, i);
            return true;
        }
    }
    return false;
}

void onButton(HWND dialog, WPARAM wParam) {
    switch (wParam) {
    case IDC_MONSTER_SAVE:
        saveMonster(dialog);
        break;
    case IDC_MONSTER_TYPE_DOWN:
        mstc = previousMonsterType(mstc);
        showType(dialog);
        break;
    case IDC_MONSTER_TYPE_UP:
        mstc = nextMonsterType(mstc);
        showType(dialog);
        break;
    case IDC_MONSTER_COLOR_DOWN:
        colc = previousColor(colc);
        showColor(dialog);
        break;
    case IDC_MONSTER_COLOR_UP:
        colc = nextColor(colc);
        showColor(dialog);
        break;
    case IDC_MONSTER_CLEAR:
        clearFields(dialog);
        break;
    default:
        break;
    }
}

} // namespace

void OpenMonsterOptionsWindow() {
    OpenToolWindow(monsterswin, IDD_MONSTERS, MonsterProc);
}

void RefreshMonsterOptionsWindow() {
    RefreshToolWindow(monsterswin, reselectCurrentMonster);
}

// The fields are a copy of monster m (see OnToolWindowMessage), taken again whenever a monster is
// selected; the level changes only with Save monster. Only clicks count: the whole wParam must be
// the control's id. Every message also gets the default dialog handling.
INT_PTR CALLBACK MonsterProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    if (!OnToolWindowMessage(dialog, msg, reselectCurrentMonster) && msg == WM_COMMAND &&
        !onSelector(dialog, wParam))
        onButton(dialog, wParam);
    return 0;
}
