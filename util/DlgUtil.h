#pragma once
// Hexadecimal numbers in dialog text boxes.
#include <windows.h>

// The box's text read as hexadecimal, 0 to 0xFFFF; text that is not a number reads as 0.
int GetDlgItemHex(HWND dialog, int controlId);
BOOL SetDlgItemHex(HWND dialog, int controlId, int value);
