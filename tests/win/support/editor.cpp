#include "tests/win/support/editor.h"

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/startup.h"
#include "app/tomkrineditor.h"

void StartEditorOnce() {
    static bool started = false;
    if (started)
        return;
    started = true;
    StartEditor(GetModuleHandleA(nullptr));
    PumpMessages();
}

std::string StartEditorWith(const SystemCalls& calls) {
    StartEditorOnce();
    systemCalls = calls;
    return MakeTempFolder();
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string StatusText() {
    char text[512] = "";
    // In simple mode the text reads back from part 0.
    SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string MakeTempFolder() {
    static int counter = 0;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (;;) {
        std::ostringstream name;
        name << base << "tk" << GetCurrentProcessId() << "_" << ++counter << "\\";
        if (CreateDirectoryA(name.str().c_str(), nullptr))
            return name.str();
    }
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool sameLevel(const Level& a, const Level& b) {
    return std::equal(std::begin(a.slots), std::end(a.slots), std::begin(b.slots));
}
