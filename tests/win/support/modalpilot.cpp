#include "tests/win/support/modalpilot.h"

#include "app/tomkrineditor.h"
#include "tests/win/support/dialogdriver.h"

namespace {

ModalPilot* active;

std::string windowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string className(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK collectLongestStatic(HWND child, LPARAM longest) {
    std::string& found = *reinterpret_cast<std::string*>(longest);
    const std::string text = windowText(child);
    if (lstrcmpiA(className(child).c_str(), "Static") == 0 && text.size() > found.size())
        found = text;
    return TRUE;
}

// A message box's text is its longest static text; the icon's static has none.
std::string boxText(HWND box) {
    std::string text;
    EnumChildWindows(box, collectLongestStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

// The program's own dialogs have no button with a standard id.
bool looksLikeMessageBox(HWND window) {
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
        if (GetDlgItem(window, id))
            return true;
    return false;
}

} // namespace

ModalPilot::ModalPilot() : timer_(SetTimer(nullptr, 0, 50, tick)) {
    active = this;
}

ModalPilot::~ModalPilot() {
    KillTimer(nullptr, timer_);
    active = nullptr;
}

void ModalPilot::chooseFile(const std::string& caption, const std::string& path) {
    files_.push_back({caption, path});
}

void ModalPilot::answerBoxes(const std::string& caption, int button) {
    buttons_.emplace_back(caption, button);
}

void CALLBACK ModalPilot::tick(HWND, UINT, UINT_PTR, DWORD) {
    // Answering can run a nested loop of its own, in which this timer fires again.
    if (!active || active->busy_)
        return;
    active->busy_ = true;
    EnumThreadWindows(GetCurrentThreadId(), visit, reinterpret_cast<LPARAM>(active));
    active->busy_ = false;
}

BOOL CALLBACK ModalPilot::visit(HWND window, LPARAM self) {
    reinterpret_cast<ModalPilot*>(self)->handle(window);
    return TRUE;
}

void ModalPilot::handle(HWND window) {
    for (auto it = handled_.begin(); it != handled_.end();)
        it = IsWindow(*it) ? std::next(it) : handled_.erase(it);
    if (handled_.count(window) || className(window) != "#32770" || !IsWindowVisible(window) ||
        !IsWindowEnabled(window))
        return;
    const std::string caption = windowText(window);
    if (FileNameBox(window)) {
        answerFileDialog(window, caption);
        return;
    }
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner && FileNameBox(owner)) {
        // The save dialog asks whether to replace the chosen file.
        handled_.insert(window);
        PostMessageA(window, WM_COMMAND, IDYES, 0);
        return;
    }
    for (const auto& [boxCaption, button] : buttons_) {
        if (boxCaption == caption) {
            answerBox(window, caption);
            return;
        }
    }
    if (!looksLikeMessageBox(window))
        return; // a dialog of the program's own, such as the export dialog
    unexpected_ = true;
    answerBox(window, caption);
}

void ModalPilot::answerFileDialog(HWND dialog, const std::string& caption) {
    handled_.insert(dialog);
    if (files_.empty() || files_.front().caption != caption) {
        unexpected_ = true;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    const std::string path = files_.front().path;
    files_.pop_front();
    ++fileDialogsAnswered_;
    if (beforeFileAnswer)
        beforeFileAnswer(dialog);
    if (path.empty()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    SendMessageA(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

void ModalPilot::answerBox(HWND box, const std::string& caption) {
    handled_.insert(box);
    boxes_.push_back(
        {caption, boxText(box), GetWindow(box, GW_OWNER), IsWindowEnabled(hwndMain) != 0});
    int button = IDOK;
    for (const auto& [boxCaption, answer] : buttons_)
        if (boxCaption == caption)
            button = answer;
    PostMessageA(box, WM_COMMAND, button, 0);
}
