// Line-level text utilities and number conversions shared by the OBJ and MTL
// readers. Texts are 8-bit byte strings. A blank is a space or a tab; a line
// break character is CR or LF.
//
// The conversions and elementAtObjIndex report bad input by throwing
// std::invalid_argument or std::out_of_range; ModelLoader::loadFromTexts turns
// them into a false result that carries the message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace objl {

// The first word of the line; empty for an empty or blank line.
std::string leadingWord(const std::string& line);

// What follows the first word, without blanks at either end; blanks between
// later words are kept.
std::string lineRemainder(const std::string& line);

// Cuts the text after its last character that is not a line break. A text of
// line breaks only is left as it is.
std::string& trimTrailingLineBreaks(std::string& text);

// Replaces pieces by the pieces of text between delimiters. A leading or
// doubled delimiter gives an empty piece, a trailing one gives none.
void splitText(const std::string& text, std::vector<std::string>& pieces, const std::string& delimiter);

// The list position that a 1-based OBJ index designates (negative indices
// count back from the end, -1 being the last). Throws std::out_of_range for 0
// and for indices that fall outside the list, and the conversion errors of
// textToInt.
std::size_t objIndexPosition(std::size_t listSize, const std::string& indexText);

// The element of the list that an OBJ index text designates.
template <typename T>
const T& elementAtObjIndex(const std::vector<T>& list, const std::string& indexText) {
    return list[objIndexPosition(list.size(), indexText)];
}

// strtod's reading of the text's longest numeric prefix, narrowed to float.
// Throws std::invalid_argument("invalid stof argument") when the text starts
// with no number and std::out_of_range("stof argument out of range") when the
// conversion reports a range error.
float textToFloat(const std::string& text);

// strtol's base-10 reading of the text's numeric prefix. Throws
// std::invalid_argument("invalid stoi argument") when there is no number and
// std::out_of_range("stoi argument out of range") when it does not fit 32 bits.
std::int32_t textToInt(const std::string& text);

// The bytes of the embedded TEXTFILE resource with that id (low 16 bits
// count), exactly as many as the resource holds; empty when there is none.
std::string readTextResource(int resourceId);

// Calls lineHandler with each line of the text, split at LF. The LF is not
// part of the line; a last line without LF is still given, an empty text has
// no lines.
template <typename Handler>
void forEachLine(const std::string& text, Handler&& lineHandler) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lineHandler(text.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace objl
