// libFuzzer target: arbitrary bytes as the argument text of CCommandLine.
//
// The bytes are copied and NUL-terminated, as the text WinMain receives is; a
// NUL inside them ends the text there. Besides what the sanitizers catch, a
// result that breaks the parser's rules stops the run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');

    const CCommandLine commandLine(text.data());

    // The mode is one of the four, and a number is only ever read once a
    // switch has been recognised.
    if (commandLine.mode < Preview || commandLine.mode > NoSwitch) std::abort();
    if (commandLine.mode == NoSwitch && commandLine.parentWindow != 0) std::abort();
    // Without a slash there is no switch at all.
    if (std::strchr(text.data(), '/') == nullptr && commandLine.mode != NoSwitch) std::abort();
    return 0;
}
