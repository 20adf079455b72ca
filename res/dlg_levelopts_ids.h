#pragma once
// Control ids of the "Level options" window (template IDD_LEVELOPTIONS); shared by the resource
// script, the window procedure and the tests, so only preprocessor definitions belong here.

#define IDC_LEVEL_START 702          // START address, hexadecimal
#define IDC_LEVEL_MAN_LABEL 703      // "Man starting position (hex.):"
#define IDC_LEVEL_MAN_X 704          // man's start x, monster coordinates
#define IDC_LEVEL_MAN_Y 705          // man's start y
#define IDC_LEVEL_START_LABEL 706    // "START address:"
#define IDC_LEVEL_SAVE 707           // "Save"
#define IDC_LEVEL_TITLE 708          // title, up to 24 characters
#define IDC_LEVEL_TITLE_LABEL 709    // "Title (max. 24 chars, use UPPERcase):"
#define IDC_LEVEL_BLOAD_GROUP 711    // "Binary loading options (BLOAD)"
#define IDC_LEVEL_NEXT 712           // "+ 0x1E6": the next standard level's address
#define IDC_LEVEL_SET 713            // "Set": the standard level's address
#define IDC_LEVEL_STANDARD 714       // standard level number, decimal
#define IDC_LEVEL_STANDARD_LABEL 715 // "Standard level (0-19 dec.):"
#define IDC_LEVEL_CENTER 716         // "Center": centres the title
