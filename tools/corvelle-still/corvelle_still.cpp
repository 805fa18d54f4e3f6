// corvelle-still: renders one frame of the screensaver at a chosen time and
// size and writes it as an RGBA PNG (the alpha the shader computes included).
//
// Usage: corvelle-still --time SECONDS --size WIDTHxHEIGHT --out FILE.png
#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/glfw_screensaver.h"
#include "app/scene.h"
#include "math/glfw_frame_info.h"
#include "tools/corvelle-still/png_file.h"
#include "tools/scene-window/scene_window.h"

namespace {

const char kUsage[] = "usage: corvelle-still --time SECONDS --size WIDTHxHEIGHT --out FILE.png\n";
const int kMaxEdge = 16384;

struct Options {
    float time = 0.0f;
    int width = 0;
    int height = 0;
    std::string out;
};

bool ParseSize(const char* text, int* width, int* height) {
    char* end = nullptr;
    const long w = std::strtol(text, &end, 10);
    if (end == text || (*end != 'x' && *end != 'X')) return false;
    const char* rest = end + 1;
    const long h = std::strtol(rest, &end, 10);
    if (end == rest || *end != '\0' || w < 1 || h < 1 || w > kMaxEdge || h > kMaxEdge) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

bool ParseOptions(int argc, char** argv, Options* options) {
    bool haveTime = false, haveSize = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        if (name == "--time") {
            char* end = nullptr;
            const double t = std::strtod(value, &end);
            if (end == value || *end != '\0' || !std::isfinite(t)) return false;
            options->time = static_cast<float>(t);
            haveTime = true;
        } else if (name == "--size") {
            if (!ParseSize(value, &options->width, &options->height)) return false;
            haveSize = true;
        } else if (name == "--out") {
            options->out = value;
        } else {
            return false;
        }
    }
    return haveTime && haveSize && !options->out.empty();
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "corvelle-still: %s\n", message.c_str());
    return 1;
}

void ReportGlfwError(int, const char* description) { std::fprintf(stderr, "corvelle-still: %s\n", description); }

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    glfwSetErrorCallback(ReportGlfwError);
    std::string problem;
    if (OpenSceneWindow(options.width, options.height, "corvelle-still", &problem) == nullptr) return Fail(problem);
    const int width = windowWidth, height = windowHeight;

    InitScene();
    g_frameInfo->SetTime(options.time);
    RenderScene();

    const std::vector<unsigned char> bottomUp = ReadSceneFrame();
    // GL's rows run bottom-up; the picture's run top-down.
    std::vector<unsigned char> rgba(bottomUp.size());
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y)
        std::memcpy(&rgba[y * rowBytes], &bottomUp[(height - 1 - y) * rowBytes], rowBytes);

    std::string error;
    if (!WritePngFile(options.out, width, height, rgba, &error)) return Fail(error);
    glfwTerminate();
    return 0;
}
