// corvelle-bench: the cost of a frame of the screensaver, side by side with
// the literal hearts shader that bench/shaders/hearts_baseline.frag keeps.
//
// Usage: corvelle-bench --size WIDTHxHEIGHT [--frames N] [--warm-up N] [--time SECONDS]
//
// Both are drawn by the product's own scene code in one hidden window: the
// scene is built once with InitScene, and a second sky drawable carries the
// program "BackgroundProgram" made from the baseline text; RenderScene draws
// whichever sky g_sky names. Frames alternate between the two (product first
// on even frames, baseline first on odd ones) at the same shader times, each
// followed by glFinish. The report gives the median wall-clock time and the
// median CPU time of the process (all of the rasteriser's threads) per frame,
// and whether the two pictures are similar by the picture test's measure,
// each also against the CPU reference of the shader.
#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/glfw_screensaver.h"
#include "app/scene.h"
#include "gl/glfw_drawable_sky.h"
#include "gl/glfw_program_manager.h"
#include "math/glfw_frame_info.h"
#include "tests/picture/hearts_reference.h"
#include "tests/picture/picture_measure.h"
#include "tools/scene-window/scene_window.h"

namespace {

const char kUsage[] =
    "usage: corvelle-bench --size WIDTHxHEIGHT [--frames N] [--warm-up N] [--time SECONDS]\n";
const char kProgram[] = "BackgroundProgram";
const int kBaselineFragmentText = 1136;  // bench/bench.rc
const int kVertexText = 137;
const int kMaterialText = 140;
const int kModelText = 141;
const float kFrameStep = 0.5f;  // shader seconds between timed frames

struct Options {
    int width = 0;
    int height = 0;
    int frames = 7;
    int warmUp = 1;
    float time = 16.9f;
};

bool ParseCount(const char* text, int low, int* value) {
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < low || n > 1000) return false;
    *value = static_cast<int>(n);
    return true;
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        char* end = nullptr;
        if (name == "--size") {
            const long w = std::strtol(value, &end, 10);
            if (*end != 'x') return false;
            const char* rest = end + 1;
            const long h = std::strtol(rest, &end, 10);
            if (end == rest || *end != '\0' || w < 1 || h < 1 || w > 8192 || h > 8192) return false;
            options->width = static_cast<int>(w);
            options->height = static_cast<int>(h);
        } else if (name == "--frames") {
            if (!ParseCount(value, 1, &options->frames)) return false;
        } else if (name == "--warm-up") {
            if (!ParseCount(value, 0, &options->warmUp)) return false;
        } else if (name == "--time") {
            options->time = std::strtof(value, &end);
            if (end == value || *end != '\0' || !(options->time >= 0.0f)) return false;
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options->width > 0;
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

// One of the two shaders being timed: its sky and its frame times.
struct Contender {
    const char* name;
    GLFWDrawableSky* sky;
    std::vector<double> wallMs, cpuMs;
};

// One frame of the scene with `sky`, finished: (wall, cpu) milliseconds.
std::pair<double, double> DrawFrame(GLFWDrawableSky* sky, float time) {
    g_sky = sky;
    g_frameInfo->SetTime(time);
    const double wall = WallSeconds();
    const double cpu = CpuSeconds();
    RenderScene();
    glFinish();
    return {(WallSeconds() - wall) * 1e3, (CpuSeconds() - cpu) * 1e3};
}

picture::CRgbaImage Frame(GLFWDrawableSky* sky, float time) {
    DrawFrame(sky, time);
    const std::vector<unsigned char> rgba = ReadSceneFrame();
    picture::CRgbaImage image(windowWidth, windowHeight);
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x) {
            const unsigned char* p = &rgba[(static_cast<std::size_t>(y) * windowWidth + x) * 4];
            image.Set(x, y, {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f});
        }
    return image;
}

void ReportComparison(const char* what, const picture::CRgbaImage& reference, const picture::CRgbaImage& candidate) {
    const picture::PictureComparison result = picture::ComparePictures(reference, candidate);
    std::printf("  %-24s %s\n", what, result.Similar() ? "similar" : ("NOT SIMILAR: " + result.Failed()).c_str());
    if (!result.Similar()) std::printf("%s", result.Report().c_str());
    std::printf("RESULT similar %s %d\n", what, result.Similar() ? 1 : 0);
}

int Fail(const char* message) {
    std::fprintf(stderr, "corvelle-bench: %s\n", message);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string problem;
    if (OpenSceneWindow(options.width, options.height, "corvelle-bench", &problem) == nullptr)
        return Fail(problem.c_str());
    const int width = windowWidth, height = windowHeight;

    InitScene();
    auto* baselinePrograms = new GLFWProgramManager();
    baselinePrograms->AddProgram(kProgram, kVertexText, kBaselineFragmentText);
    auto* baselineSky = new GLFWDrawableSky(g_frameInfo, g_camera, baselinePrograms, kProgram, kModelText,
                                            kMaterialText, 1.0f);
    baselineSky->Init();
    Contender contenders[2] = {{"product", g_sky, {}, {}}, {"baseline", baselineSky, {}, {}}};

    std::printf("corvelle-bench: %dx%d, %d warm-up and %d timed frames of each, alternating\n", width, height,
                options.warmUp, options.frames);
    for (int n = 0; n < options.warmUp; ++n)
        for (Contender& c : contenders) DrawFrame(c.sky, options.time);
    for (int n = 0; n < options.frames; ++n) {
        const float time = options.time + kFrameStep * n;
        for (int k = 0; k < 2; ++k) {
            Contender& c = contenders[(n + k) % 2];
            const auto [wall, cpu] = DrawFrame(c.sky, time);
            c.wallMs.push_back(wall);
            c.cpuMs.push_back(cpu);
        }
    }

    std::printf("  %-10s %14s %14s\n", "", "wall ms/frame", "cpu ms/frame");
    for (const Contender& c : contenders) {
        std::printf("  %-10s %14.1f %14.1f\n", c.name, Median(c.wallMs), Median(c.cpuMs));
        std::printf("RESULT ms %s %.3f %.3f\n", c.name, Median(c.wallMs), Median(c.cpuMs));
    }
    std::printf("  %-10s %14.2f %14.2f   (baseline / product)\n", "ratio",
                Median(contenders[1].wallMs) / Median(contenders[0].wallMs),
                Median(contenders[1].cpuMs) / Median(contenders[0].cpuMs));

    std::printf("pictures at %g s, by the picture test's measure:\n", options.time);
    const picture::CRgbaImage product = Frame(contenders[0].sky, options.time);
    const picture::CRgbaImage baseline = Frame(contenders[1].sky, options.time);
    const picture::CRgbaImage reference =
        picture::CHeartsReference().Render(width, height, options.time).Quantized();
    ReportComparison("product-vs-baseline", baseline, product);
    ReportComparison("product-vs-reference", reference, product);
    ReportComparison("baseline-vs-reference", reference, baseline);
    glfwTerminate();
    return 0;
}
