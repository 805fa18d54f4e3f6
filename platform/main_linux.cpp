// The Linux entry point: the arguments are joined with single spaces into the
// same text that WinMain receives, so both builds read the switches alike.
#include <string>

#include "app/screensaver_main.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    // Ends the way every other path ends (platform::ExitProcess).
    platform::ExitProcess(ScreensaverMain(commandLine.c_str(), nullptr, 0));
}
