#pragma once
// Control ids of the "Monster options" window (template IDD_MONSTERS); shared by the resource
// script, the window procedure and the tests, so only preprocessor definitions belong here.

#define IDC_MONSTER_1 801 // the selectors of monsters 1 to 4
#define IDC_MONSTER_2 802
#define IDC_MONSTER_3 803
#define IDC_MONSTER_4 804
#define IDC_MONSTER_START_X 806
#define IDC_MONSTER_START_Y 807
#define IDC_MONSTER_END_X 808
#define IDC_MONSTER_END_Y 809
#define IDC_MONSTER_DIRECTION 811 // the direction value, hexadecimal
#define IDC_MONSTER_TYPE 812
#define IDC_MONSTER_COLOR 813
#define IDC_MONSTER_SAVE 814 // "Save monster"
#define IDC_MONSTER_START_LABEL 815
#define IDC_MONSTER_END_LABEL 816
#define IDC_MONSTER_DIRECTION_LABEL 817
#define IDC_MONSTER_TYPE_LABEL 818
#define IDC_MONSTER_COLOR_LABEL 819
#define IDC_MONSTER_ATTRIBUTES_GROUP 820
#define IDC_MONSTER_POSITION_GROUP 821
#define IDC_MONSTER_NORTH 822 // the direction selectors
#define IDC_MONSTER_WEST 823
#define IDC_MONSTER_EAST 824
#define IDC_MONSTER_SOUTH 825
#define IDC_MONSTER_DIRECTION_FRAME 826
#define IDC_MONSTER_TYPE_DESCRIPTION 827
#define IDC_MONSTER_TYPE_DOWN 828 // "-" and "+" of the type
#define IDC_MONSTER_TYPE_UP 829
#define IDC_MONSTER_COLOR_DOWN 830 // "-" and "+" of the colour
#define IDC_MONSTER_COLOR_UP 831
#define IDC_MONSTER_COLOR_DESCRIPTION 832
#define IDC_MONSTER_CLEAR 833 // "Clear monster"
#define IDC_MONSTER_TYPE_FRAME 834
#define IDC_MONSTER_COLOR_FRAME 835
#define IDC_MONSTER_WARNING 836 // the alignment warning
