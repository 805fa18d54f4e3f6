// Starts a Windows program, reports and dismisses every message box it shows,
// and reports how it ended. Message boxes block their program, so tests of
// failure paths under Wine run the program through this helper.
//
// Usage: msgbox_runner.exe [--timeout SECONDS] PROGRAM [ARGUMENT...]
//
// Output, one line per event on standard output (fields separated by a tab;
// in texts a backslash, tab, CR and LF are written as \\, \t, \r and \n):
//   box<TAB>CAPTION<TAB>TEXT    a message box appeared (then OK was pressed)
//   exit<TAB>CODE               the program ended with this exit code
//   timeout                     it did not end in time and was killed
// Exit code: 0 when the program ended by itself, 3 on time-out, 2 on bad
// usage or when the program could not be started.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// The static control that holds a message box's text.
const int kMessageBoxTextId = 0xFFFF;

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
        }
    }
    return out;
}

struct Search {
    DWORD processId;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM data) {
    Search* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {0};
    GetClassNameA(window, className, sizeof(className));
    if (owner == search->processId && std::strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
        search->boxes.push_back(window);
    }
    return TRUE;
}

std::string WindowText(HWND window) {
    char buffer[8192] = {0};
    GetWindowTextA(window, buffer, sizeof(buffer));
    return buffer;
}

std::string BoxText(HWND box) {
    char buffer[8192] = {0};
    GetDlgItemTextA(box, kMessageBoxTextId, buffer, sizeof(buffer));
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    int argument = 1;
    double timeoutSeconds = 120.0;
    if (argument + 1 < argc && std::strcmp(argv[argument], "--timeout") == 0) {
        timeoutSeconds = std::atof(argv[argument + 1]);
        argument += 2;
    }
    if (argument >= argc) {
        std::fprintf(stderr, "usage: msgbox_runner.exe [--timeout SECONDS] PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    std::string commandLine = std::string("\"") + argv[argument] + "\"";
    for (int i = argument + 1; i < argc; ++i) commandLine += std::string(" ") + argv[i];

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof(process));
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "msgbox_runner: cannot start %s (error %lu)\n", argv[argument], GetLastError());
        return 2;
    }

    std::set<HWND> reported;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutSeconds * 1000.0);
    for (;;) {
        Search search = {process.dwProcessId, {}};
        EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.boxes) {
            if (reported.count(box)) continue;
            reported.insert(box);
            // Let the box finish laying out its text before it is read.
            Sleep(200);
            std::printf("box\t%s\t%s\n", Escape(WindowText(box)).c_str(), Escape(BoxText(box)).c_str());
            std::fflush(stdout);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
        if (GetTickCount64() > deadline) {
            TerminateProcess(process.hProcess, 1);
            std::printf("timeout\n");
            std::fflush(stdout);
            return 3;
        }
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    std::printf("exit\t%lu\n", exitCode);
    std::fflush(stdout);
    return 0;
}
