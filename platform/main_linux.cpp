// The Linux entry point. The Windows-style switches are joined with single
// spaces into the same text that WinMain receives, so both builds read them
// alike. The switches of X11 screensaver daemons (daemon_switches.h) are
// turned into a preview start ("/p" and the window id in decimal) before the
// text is built: drawing into a daemon's window is what the preview path
// does, and it ends when the daemon unmaps or destroys that window.
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/screensaver_main.h"
#include "platform/daemon_switches.h"
#include "platform/platform.h"
#include "platform/x11_preview.h"

// Daemons end their savers with SIGTERM and expect them gone promptly; a
// terminal sends SIGINT. Nothing needs tearing down (a key press ends the
// screensaver with exit(0) just as abruptly), and one frame can take a second
// on a software renderer, so the handler ends the process itself, with the
// one async-signal-safe call that does.
static void EndOnSignal(int) { _exit(0); }

static void EndOnTerminationSignals() {
    struct sigaction action = {};
    action.sa_handler = EndOnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

static std::string JoinArguments(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return commandLine;
}

// The preview start for the window a daemon named; empty (after saying why)
// when there is no window to draw into.
static std::string DaemonCommandLine(const platform::DaemonSwitches& daemon) {
    if (daemon.target == platform::DaemonTarget::Invalid) {
        platform::ShowMessage(daemon.problem.c_str(), "Error");
        return std::string();
    }
    platform::NativeWindow window = daemon.window;
    if (daemon.target == platform::DaemonTarget::RootWindow) {
        window = platform::X11DefaultRootWindow();
        if (window == 0) {
            platform::ShowMessage("Cannot open the X display to draw into its root window", "Error");
            return std::string();
        }
    }
    return "/p " + std::to_string(window);
}

int main(int argc, char** argv) {
    EndOnTerminationSignals();

    const platform::DaemonSwitches daemon =
        platform::ReadDaemonSwitches(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    if (daemon.target == platform::DaemonTarget::Absent) {
        return ScreensaverMain(JoinArguments(argc, argv).c_str(), nullptr, 0);
    }

    const std::string commandLine = DaemonCommandLine(daemon);
    if (commandLine.empty()) return 0;
    platform::ExemptFromSingleInstanceMarker();
    return ScreensaverMain(commandLine.c_str(), nullptr, 0);
}
