// Times the editor's start: from CreateProcess until a visible main window of the editor's class
// belongs to the new process. Each run closes the editor with WM_CLOSE and waits for it to end
// before the next starts. The first start is a warm-up and is reported on its own. Prints the
// figures; judges nothing.
//   startup_bench [RUNS [PATH_OF_TOMKRINEDITOR.EXE]]
// Without a path it starts the TomkrinEditor.exe beside this program; the editor's working
// folder is always its own folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultRuns = 9;
constexpr DWORD kTimeoutMs = 60000;
const char kClassName[] = "TomkrinEditorWndClass";

std::string folderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string besideThisProgram(const char* name) {
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    return folderOf(std::string(self, length)) + "\\" + name;
}

// The visible main window of the editor's class that belongs to `processId`, if there is one.
HWND visibleEditorWindow(DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, kClassName, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

double elapsedMs(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1e3 /
           static_cast<double>(frequency.QuadPart);
}

// One start; returns the milliseconds to the visible window, or a negative number on failure.
double timeOneStart(const std::string& exe) {
    LARGE_INTEGER frequency, start;
    QueryPerformanceFrequency(&frequency);
    std::string commandLine = "\"" + exe + "\"";
    const std::string folder = folderOf(exe);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};

    QueryPerformanceCounter(&start);
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "startup_bench: cannot start %s (error %lu)\n", exe.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        return -1;
    }
    HWND window = nullptr;
    double took = -1;
    while (elapsedMs(start, frequency) < kTimeoutMs) {
        if ((window = visibleEditorWindow(process.dwProcessId)) != nullptr) {
            took = elapsedMs(start, frequency);
            break;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break; // ended without a window
        Sleep(1);
    }
    if (took < 0)
        std::fprintf(stderr, "startup_bench: no visible editor window\n");

    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "startup_bench: the editor did not end; terminating it\n");
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kTimeoutMs);
        took = -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return took;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : kDefaultRuns;
    const std::string exe =
        argc > 2 ? std::string(argv[2]) : besideThisProgram("TomkrinEditor.exe");
    if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "startup_bench: %s not found\n", exe.c_str());
        return 1;
    }

    const double warmUp = timeOneStart(exe);
    if (warmUp < 0)
        return 1;
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double took = timeOneStart(exe);
        if (took < 0)
            return 1;
        ms.push_back(took);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%d starts of %s after one warm-up start\n", runs, exe.c_str());
    std::printf("start to visible window: %.1f ms median\n", ms[ms.size() / 2]);
    std::printf("start to visible window: %.1f ms fastest\n", ms.front());
    std::printf("start to visible window: %.1f ms slowest\n", ms.back());
    std::printf("warm-up start: %.1f ms\n", warmUp);
    return 0;
}
