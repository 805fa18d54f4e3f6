// Breaks a text into the lines a left-aligned, word-wrapping label shows.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace about {

// Lines of `text` no wider than `width` as `measure` counts widths. CR LF (or
// a lone LF) ends a line; within a line, words are separated by spaces and a
// line breaks before the word that would not fit. A word wider than `width`
// stands alone on its line (and is cut off by the label's edge).
std::vector<std::string> WrapText(const char* text, int width,
                                  const std::function<int(const std::string&)>& measure);

}  // namespace about
