#include "util/DlgUtil.h"

#include "core/editor/hexnumber.h"

std::string GetDlgItemHexText(HWND dialog, int controlId) {
    char text[32] = "";
    GetDlgItemTextA(dialog, controlId, text, sizeof text);
    return text;
}

int GetDlgItemHex(HWND dialog, int controlId) {
    return static_cast<int>(parseHex16(GetDlgItemHexText(dialog, controlId).c_str()));
}

BOOL SetDlgItemHex(HWND dialog, int controlId, int value) {
    return SetDlgItemTextA(dialog, controlId, formatHex(static_cast<unsigned>(value)).c_str());
}
