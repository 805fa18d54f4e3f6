#include "ui/text_wrap.h"

#include <sstream>

namespace about {

// One hard line (no line breaks inside) wrapped at word boundaries.
static void WrapLine(const std::string& line, int width, const std::function<int(const std::string&)>& measure,
                     std::vector<std::string>& lines) {
    std::istringstream words(line);
    std::string word, current;
    while (words >> word) {
        const std::string candidate = current.empty() ? word : current + " " + word;
        if (!current.empty() && measure(candidate) > width) {
            lines.push_back(current);
            current = word;
        } else {
            current = candidate;
        }
    }
    lines.push_back(current);  // an empty hard line stays an empty line
}

std::vector<std::string> WrapText(const char* text, int width,
                                  const std::function<int(const std::string&)>& measure) {
    std::vector<std::string> lines;
    std::string line;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\r' && c[1] == '\n') continue;  // the LF that follows ends the line
        if (*c == '\n') {
            WrapLine(line, width, measure, lines);
            line.clear();
        } else {
            line += *c;
        }
    }
    WrapLine(line, width, measure, lines);
    return lines;
}

}  // namespace about
