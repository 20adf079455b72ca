#pragma once
// Hexadecimal numbers in dialog text boxes.
#include <windows.h>

#include <string>

// The box's text as a hexadecimal field is read: its first 31 characters.
std::string GetDlgItemHexText(HWND dialog, int controlId);
// The box's text read as hexadecimal, 0 to 0xFFFF; text that is not a number reads as 0.
int GetDlgItemHex(HWND dialog, int controlId);
BOOL SetDlgItemHex(HWND dialog, int controlId, int value);
