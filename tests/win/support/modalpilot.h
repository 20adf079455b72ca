#pragma once
// Answers the real common file dialogs and message boxes of this thread from a timer, the way a
// person would, while the program runs their nested message loops; and notes what each box was
// like when it came up. For tests of the modal paths with the system's own dialogs.
#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner;
    bool mainWindowEnabled; // hwndMain's state while the box was up
};

class ModalPilot {
  public:
    ModalPilot();
    ~ModalPilot();
    ModalPilot(const ModalPilot&) = delete;
    ModalPilot& operator=(const ModalPilot&) = delete;

    // The next file dialog must have this caption; it is given `path`, or cancelled when `path`
    // is empty. A save dialog's question whether to replace an existing file is answered Yes.
    void chooseFile(const std::string& caption, const std::string& path);
    // Message boxes with this caption are answered with `button` (IDOK when not given).
    void answerBoxes(const std::string& caption, int button);
    // Called with each file dialog just before it is answered.
    std::function<void(HWND fileDialog)> beforeFileAnswer;

    const std::vector<SeenBox>& boxes() const { return boxes_; }
    // File dialogs answered so far, and whether one came that was not expected.
    int fileDialogsAnswered() const { return fileDialogsAnswered_; }
    bool sawUnexpectedDialog() const { return unexpected_; }
    bool allFileChoicesUsed() const { return files_.empty(); }

  private:
    struct FileChoice {
        std::string caption, path;
    };
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK visit(HWND window, LPARAM self);
    void handle(HWND window);
    void answerFileDialog(HWND dialog, const std::string& caption);
    void answerBox(HWND box, const std::string& caption);

    UINT_PTR timer_;
    bool busy_ = false;
    std::deque<FileChoice> files_;
    std::vector<std::pair<std::string, int>> buttons_;
    std::set<HWND> handled_;
    std::vector<SeenBox> boxes_;
    int fileDialogsAnswered_ = 0;
    bool unexpected_ = false;
};
