#pragma once
// Control ids of the "Select level to replace" dialog (template IDD_EXPORT); shared by the
// resource script and the dialog procedure, so only preprocessor definitions belong here.

#define IDC_EXPORT_LEVEL 901      // level box: standard level number, decimal
#define IDC_EXPORT_DOWN 902       // "-"
#define IDC_EXPORT_UP 903         // "+"
#define IDC_EXPORT_ADDRESS 904    // address box: offset in the tape image, hexadecimal
#define IDC_EXPORT_SELLEVEL 905   // "Sel level"
#define IDC_EXPORT_SETADDRESS 906 // "Set address"
#define IDC_EXPORT_LABEL 907      // label of the level row
#define IDC_EXPORT_BLANK 317      // blank area between the two rows
