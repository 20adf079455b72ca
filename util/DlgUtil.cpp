#include "util/DlgUtil.h"

#include "core/editor/hexnumber.h"

int GetDlgItemHex(HWND dialog, int controlId) {
    char text[32] = "";
    GetDlgItemTextA(dialog, controlId, text, sizeof text);
    return static_cast<int>(parseHex16(text));
}

BOOL SetDlgItemHex(HWND dialog, int controlId, int value) {
    return SetDlgItemTextA(dialog, controlId, formatHex(static_cast<unsigned>(value)).c_str());
}
