#include "objl/text_utilities.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace objl {

namespace {

const char kBlanks[] = " \t";
const char kLineBreaks[] = "\r\n";

}  // namespace

std::string leadingWord(const std::string& line) {
    const std::size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string::npos) return std::string();
    const std::size_t end = line.find_first_of(kBlanks, start);
    if (end == std::string::npos) return line.substr(start);
    return line.substr(start, end - start);
}

std::string lineRemainder(const std::string& line) {
    const std::size_t wordStart = line.find_first_not_of(kBlanks);
    const std::size_t wordEnd = wordStart == std::string::npos ? std::string::npos : line.find_first_of(kBlanks, wordStart);
    const std::size_t restStart = wordEnd == std::string::npos ? std::string::npos : line.find_first_not_of(kBlanks, wordEnd);
    if (restStart == std::string::npos) return std::string();
    const std::size_t restEnd = line.find_last_not_of(kBlanks);
    return line.substr(restStart, restEnd - restStart + 1);
}

std::string& trimTrailingLineBreaks(std::string& text) {
    const std::size_t last = text.find_last_not_of(kLineBreaks);
    if (last != std::string::npos) text.erase(last + 1);
    return text;
}

void splitText(const std::string& text, std::vector<std::string>& pieces, const std::string& delimiter) {
    pieces.clear();
    const std::size_t width = delimiter.size();
    std::string piece;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (width > 0 && text.compare(i, width, delimiter) == 0) {
            if (piece.empty()) {
                pieces.push_back(std::string());
            } else {
                pieces.push_back(piece);
                piece.clear();
                i += width - 1;
            }
        } else if (i + width >= text.size()) {
            piece += text.substr(i, width);
            pieces.push_back(piece);
            return;
        } else {
            piece += text[i];
        }
    }
}

std::size_t objIndexPosition(std::size_t listSize, const std::string& indexText) {
    const long long index = textToInt(indexText);
    if (index == 0) throw std::out_of_range("OBJ index 0 does not designate an element (indices count from 1)");
    const long long size = static_cast<long long>(listSize);
    const long long position = index < 0 ? size + index : index - 1;
    if (position < 0 || position >= size)
        throw std::out_of_range("OBJ index " + std::to_string(index) + " is outside a list of length " +
                                std::to_string(listSize));
    return static_cast<std::size_t>(position);
}

// Programs start in the "C" locale and nothing here changes LC_NUMERIC, so
// strtod reads the full stop as the decimal separator whatever the user's
// settings.
float textToFloat(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(start, &end);
    if (end == start) throw std::invalid_argument("invalid stof argument");
    if (errno == ERANGE) throw std::out_of_range("stof argument out of range");
    return static_cast<float>(value);
}

std::int32_t textToInt(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(start, &end, 10);
    if (end == start) throw std::invalid_argument("invalid stoi argument");
    if (errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        throw std::out_of_range("stoi argument out of range");
    return static_cast<std::int32_t>(value);
}

}  // namespace objl
