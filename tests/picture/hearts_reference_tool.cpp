// Command-line face of the hearts reference, for the tests that compare
// frames rendered on the GPU (written by corvelle-still) with it.
//
//   hearts_reference_tool render --time SECONDS --size WIDTHxHEIGHT --out FILE.pam
//   hearts_reference_tool compare --time SECONDS --size WIDTHxHEIGHT --frame FILE.pam
//
// render writes the reference picture as an 8-bit RGBA PAM (top row first).
// compare reads a frame in that format, compares it with the reference of
// the same time and size, as an RGBA8 framebuffer would hold it, and prints
// one line per check. Exit codes: 0 written / similar, 1 not similar,
// 2 wrong arguments or an unreadable frame.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/picture/hearts_reference.h"
#include "tests/picture/picture_measure.h"

namespace {

using picture::CHeartsReference;
using picture::CRgbaImage;

constexpr int kMaxSide = 4096;

struct Arguments {
    std::string command;
    float time = 0.0f;
    int width = 0;
    int height = 0;
    std::string file;
};

int Usage(const std::string& problem) {
    std::fprintf(stderr,
                 "hearts_reference_tool: %s\n"
                 "usage: hearts_reference_tool render --time SECONDS --size WIDTHxHEIGHT --out FILE.pam\n"
                 "       hearts_reference_tool compare --time SECONDS --size WIDTHxHEIGHT --frame FILE.pam\n",
                 problem.c_str());
    return 2;
}

bool ParseTime(const char* text, float& time) {
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text, &end);
    if (end == text || *end != '\0' || errno != 0 || !std::isfinite(value) || value < 0.0f) return false;
    time = value;
    return true;
}

bool ParseSide(const char* text, char*& end, int& side) {
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno != 0 || value < 1 || value > kMaxSide) return false;
    side = static_cast<int>(value);
    return true;
}

bool ParseSize(const char* text, int& width, int& height) {
    char* end = nullptr;
    if (!ParseSide(text, end, width) || *end != 'x') return false;
    const char* rest = end + 1;
    return ParseSide(rest, end, height) && *end == '\0';
}

bool ParseArguments(int argc, char** argv, Arguments& args, std::string& problem) {
    if (argc < 2) {
        problem = "no command";
        return false;
    }
    args.command = argv[1];
    if (args.command != "render" && args.command != "compare") {
        problem = "unknown command \"" + args.command + "\"";
        return false;
    }
    const std::string fileOption = args.command == "render" ? "--out" : "--frame";
    bool haveTime = false, haveSize = false;
    for (int n = 2; n < argc; n += 2) {
        const std::string option = argv[n];
        if (n + 1 >= argc) {
            problem = option + " needs a value";
            return false;
        }
        const char* value = argv[n + 1];
        if (option == "--time") {
            haveTime = ParseTime(value, args.time);
            if (!haveTime) problem = "--time wants a number of seconds, 0 or more";
        } else if (option == "--size") {
            haveSize = ParseSize(value, args.width, args.height);
            if (!haveSize) problem = "--size wants WIDTHxHEIGHT, each 1 to " + std::to_string(kMaxSide);
        } else if (option == fileOption) {
            args.file = value;
        } else {
            problem = "unknown option " + option;
            return false;
        }
        if (!problem.empty()) return false;
    }
    if (!haveTime || !haveSize || args.file.empty()) {
        problem = "--time, --size and " + fileOption + " are all needed";
        return false;
    }
    return true;
}

int Render(const Arguments& args) {
    const CRgbaImage picture = CHeartsReference().Render(args.width, args.height, args.time);
    if (!picture.WritePam(args.file)) {
        std::fprintf(stderr, "hearts_reference_tool: cannot write %s\n", args.file.c_str());
        return 2;
    }
    return 0;
}

int Compare(const Arguments& args) {
    CRgbaImage frame;
    std::string error;
    if (!CRgbaImage::ReadPam(args.file, frame, error)) {
        std::fprintf(stderr, "hearts_reference_tool: %s\n", error.c_str());
        return 2;
    }
    const CRgbaImage reference = CHeartsReference().Render(args.width, args.height, args.time).Quantized();
    const picture::PictureComparison comparison = picture::ComparePictures(reference, frame);
    std::printf("%s", comparison.Report().c_str());
    if (comparison.Similar()) return 0;
    std::printf("not similar: %s\n", comparison.Failed().c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    std::string problem;
    if (!ParseArguments(argc, argv, args, problem)) return Usage(problem);
    return args.command == "render" ? Render(args) : Compare(args);
}
