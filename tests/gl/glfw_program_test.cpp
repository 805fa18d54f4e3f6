// GLFWProgram and GLFWProgramManager on a real context: the embedded hearts
// program, the location cache, the TEXTFILE text convention and the
// compile and link failures (each in a child process, which must end with
// exit code 0 after its messages).
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gl/glfw_program.h"
#include "gl/glfw_program_manager.h"
#include "platform/platform.h"
#include "tests/gl/test_resource_ids.h"

namespace {

// The bytes of a TEXTFILE resource of this test binary.
std::string ResourceText(int id) {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    if (!platform::FindResourceBytes("TEXTFILE", id, &data, &size)) return std::string();
    return std::string(reinterpret_cast<const char*>(data), size);
}

// What a shader text is by the TEXTFILE convention: the resource up to its
// first tilde, its end or the limit, whichever comes first.
std::string ExpectedText(int id, std::size_t limit) {
    std::string text = ResourceText(id);
    text = text.substr(0, text.find('~'));
    return text.substr(0, limit);
}

GLint ProgramParameter(GLuint program, GLenum name) {
    GLint value = -1;
    glGetProgramiv(program, name, &value);
    return value;
}

TEST(GLFWProgramTest, BackgroundProgramBuildsFromTheEmbeddedTexts) {
    GLFWProgramManager manager;
    manager.AddProgram("BackgroundProgram", kHeartsVertex, kHeartsFragment);
    GLFWProgram* program = manager.GetProgram("BackgroundProgram");
    ASSERT_NE(program, nullptr);

    EXPECT_NE(program->GetProgramId(), 0u);
    EXPECT_EQ(glIsProgram(program->GetProgramId()), GL_TRUE);
    EXPECT_EQ(ProgramParameter(program->GetProgramId(), GL_LINK_STATUS), GL_TRUE);
    EXPECT_EQ(ProgramParameter(program->GetProgramId(), GL_ATTACHED_SHADERS), 2);
    EXPECT_STREQ(program->vertexSource.data(), ExpectedText(kHeartsVertex, 16384).c_str());
    EXPECT_STREQ(program->fragmentSource.data(), ExpectedText(kHeartsFragment, 16384).c_str());

    program->Use();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program->GetProgramId());
    glUseProgram(0);
}

// SetTexture leaves the texture bound on the unit it names, and that unit active.
TEST(GLFWProgramTest, SetTextureBindsOnTheNamedUnit) {
    GLFWProgram program(kHeartsVertex, kHeartsFragment);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glActiveTexture(GL_TEXTURE0);
    program.Use();
    while (glGetError() != GL_NO_ERROR) {
    }
    program.SetTexture("noiseTexture", 2, texture);

    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE2);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));  // the inactive sampler's -1 is ignored

    glActiveTexture(GL_TEXTURE0);
    glDeleteTextures(1, &texture);
    glUseProgram(0);
}

// The hearts shaders read only these; everything else they declare is inactive.
TEST(GLFWProgramTest, HeartsLocationsAreActiveOnlyForWhatTheShadersRead) {
    enum Kind { Uniform, Attribute };
    const struct {
        Kind kind;
        const char* name;
        bool active;
    } cases[] = {
        {Attribute, "position", true},
        {Attribute, "position_normal", false},
        {Uniform, "iTime", true},
        {Uniform, "viewportWidth", true},
        {Uniform, "viewportHeight", true},
        {Uniform, "model_world", false},
        {Uniform, "world_projection", false},
        {Uniform, "model_projection", false},
        {Uniform, "fs_tex", false},
        {Uniform, "textureTime", false},
        {Uniform, "noiseTexture", false},
        {Uniform, "cloudsTexture", false},
        {Uniform, "cloudsTextureSize", false},
        {Uniform, "renderMode", false},
    };
    GLFWProgram program(kHeartsVertex, kHeartsFragment);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GLint location =
            c.kind == Uniform ? program.GetUniformLocation(c.name) : program.GetAttribLocation(c.name);
        if (c.active) {
            EXPECT_GE(location, 0);
        } else {
            EXPECT_EQ(location, -1);
        }
        // GL says the same.
        const GLint fromGl = c.kind == Uniform ? glGetUniformLocation(program.GetProgramId(), c.name)
                                               : glGetAttribLocation(program.GetProgramId(), c.name);
        EXPECT_EQ(location, fromGl);
    }
}

// Counts the location queries that reach GL.
int s_uniformQueries = 0;
int s_attribQueries = 0;
PFNGLGETUNIFORMLOCATIONPROC s_realGetUniformLocation = nullptr;
PFNGLGETATTRIBLOCATIONPROC s_realGetAttribLocation = nullptr;

GLint APIENTRY CountingGetUniformLocation(GLuint program, const GLchar* name) {
    ++s_uniformQueries;
    return s_realGetUniformLocation(program, name);
}

GLint APIENTRY CountingGetAttribLocation(GLuint program, const GLchar* name) {
    ++s_attribQueries;
    return s_realGetAttribLocation(program, name);
}

class LocationCacheTest : public testing::Test {
protected:
    void SetUp() override {
        s_uniformQueries = s_attribQueries = 0;
        s_realGetUniformLocation = glGetUniformLocation;
        s_realGetAttribLocation = glGetAttribLocation;
        glGetUniformLocation = CountingGetUniformLocation;
        glGetAttribLocation = CountingGetAttribLocation;
    }
    void TearDown() override {
        glGetUniformLocation = s_realGetUniformLocation;
        glGetAttribLocation = s_realGetAttribLocation;
    }
};

TEST_F(LocationCacheTest, EachNameReachesGlOnceWhateverItsLocation) {
    GLFWProgram program(kHeartsVertex, kHeartsFragment);
    for (const char* name : {"noiseTexture", "iTime"}) {
        SCOPED_TRACE(name);
        const int before = s_uniformQueries;
        const GLint first = program.GetUniformLocation(name);
        EXPECT_EQ(s_uniformQueries, before + 1);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(program.GetUniformLocation(name), first);
        EXPECT_EQ(s_uniformQueries, before + 1);
        ASSERT_EQ(program.locations.count(name), 1u);
        EXPECT_EQ(program.locations.at(name), first);
    }
    EXPECT_EQ(program.GetUniformLocation("noiseTexture"), -1);
    EXPECT_EQ(s_attribQueries, 0);
}

// One cache for both kinds, keyed by name: the second kind gets the first
// kind's answer without asking GL, although GL would answer -1.
TEST_F(LocationCacheTest, UniformsAndAttributesShareOneCache) {
    GLFWProgram program(kHeartsVertex, kHeartsFragment);

    const GLint position = program.GetAttribLocation("position");
    ASSERT_GE(position, 0);
    ASSERT_EQ(s_realGetUniformLocation(program.GetProgramId(), "position"), -1);
    EXPECT_EQ(program.GetUniformLocation("position"), position);

    const GLint time = program.GetUniformLocation("iTime");
    ASSERT_GE(time, 0);
    ASSERT_EQ(s_realGetAttribLocation(program.GetProgramId(), "iTime"), -1);
    EXPECT_EQ(program.GetAttribLocation("iTime"), time);

    EXPECT_EQ(s_attribQueries, 1);
    EXPECT_EQ(s_uniformQueries, 1);
}

TEST(GLFWProgramManagerTest, AddProgramTwiceKeepsTheFirst) {
    GLFWProgramManager manager;
    manager.AddProgram("BackgroundProgram", kHeartsVertex, kHeartsFragment);
    GLFWProgram* first = manager.GetProgram("BackgroundProgram");
    ASSERT_NE(first, nullptr);
    const GLuint firstId = first->GetProgramId();

    manager.AddProgram("BackgroundProgram", kPlainVertex, kPlainFragment);
    EXPECT_EQ(manager.programs.size(), 1u);
    EXPECT_EQ(manager.GetProgram("BackgroundProgram"), first);
    EXPECT_EQ(first->GetProgramId(), firstId);
    EXPECT_EQ(glIsProgram(firstId), GL_TRUE);
    EXPECT_STREQ(first->vertexSource.data(), ExpectedText(kHeartsVertex, 16384).c_str());
}

TEST(GLFWProgramManagerTest, ProgramsAreFoundByTheirOwnNamesOnly) {
    GLFWProgramManager manager;
    EXPECT_EQ(manager.GetProgram("BackgroundProgram"), nullptr);
    manager.AddProgram("BackgroundProgram", kHeartsVertex, kHeartsFragment);
    manager.AddProgram("Plain", kPlainVertex, kPlainFragment);
    ASSERT_NE(manager.GetProgram("BackgroundProgram"), nullptr);
    ASSERT_NE(manager.GetProgram("Plain"), nullptr);
    EXPECT_NE(manager.GetProgram("BackgroundProgram"), manager.GetProgram("Plain"));
    EXPECT_EQ(manager.GetProgram("backgroundprogram"), nullptr);

    manager.UseProgram("Plain");
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), manager.GetProgram("Plain")->GetProgramId());

    manager.UseProgram("Unknown");  // changes nothing
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), manager.GetProgram("Plain")->GetProgramId());
    glUseProgram(0);
}

// The text convention, byte by byte: the buffer holds the text and four
// zeros, and nothing after them is touched.
TEST(LoadTextResourceTest, ReadsUpToTheTildeTheEndOrTheLimit) {
    const struct {
        const char* what;
        int id;
        std::size_t limit;
        std::size_t expectedLength;
    } cases[] = {
        {"hearts vertex text", kHeartsVertex, 16384, ResourceText(kHeartsVertex).size() - 3},  // "~\r\n"
        {"tilde inside the body", kTildeInBodyVertex, 16384, ResourceText(kPlainVertex).size() - 5},  // "//~\r\n"
        {"no tilde", kNoTildeFragment, 16384, ResourceText(kNoTildeFragment).size()},
        {"20,000 bytes before the tilde", kLongVertex, 16384, 16384},
        {"exactly 16,384 bytes before the tilde", kLimitVertex, 16384, 16384},
        {"small limit", kPlainVertex, 10, 10},
        {"missing resource", kMissingText, 16384, 0},
    };
    const char kUntouched = 0x55;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<char> buffer(c.limit + 4 + 16, kUntouched);
        GLFWProgram::LoadTextResource(c.id, buffer.data(), c.limit);
        const std::string expected = ExpectedText(c.id, c.limit);
        ASSERT_EQ(expected.size(), c.expectedLength);
        EXPECT_EQ(std::string(buffer.data(), c.expectedLength), expected);
        for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(buffer[c.expectedLength + i], '\0') << i;
        for (std::size_t i = c.expectedLength + 4; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], kUntouched) << i;
    }
}

// Texts cut by the convention still make working programs.
TEST(GLFWProgramTest, TextsCutByTheConventionCompile) {
    const struct {
        const char* what;
        int vertex;
        int fragment;
    } cases[] = {
        {"tilde inside the body", kTildeInBodyVertex, kPlainFragment},
        {"no tilde", kPlainVertex, kNoTildeFragment},
        {"longer than the limit", kLongVertex, kPlainFragment},
        {"exactly the limit", kLimitVertex, kPlainFragment},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GLFWProgram program(c.vertex, c.fragment);
        EXPECT_EQ(ProgramParameter(program.GetProgramId(), GL_LINK_STATUS), GL_TRUE);
        EXPECT_EQ(std::strlen(program.vertexSource.data()), ExpectedText(c.vertex, 16384).size());
        EXPECT_EQ(std::strlen(program.fragmentSource.data()), ExpectedText(c.fragment, 16384).size());
    }
}

// Standard error of a failed build, as the message boxes of the Linux build
// print them ("Debug: " and the text): the boxes' texts in order.
std::vector<std::string> ReadMessageBoxes(const std::string& stderrText) {
    const std::string prefix = "Debug: ";
    std::vector<std::string> boxes;
    if (stderrText.compare(0, prefix.size(), prefix) != 0) return boxes;
    std::size_t start = prefix.size();
    while (true) {
        // Each box ends with the newline its printer adds, which the next
        // box's search finds in front of "Debug: ".
        const std::size_t next = stderrText.find("\n" + prefix, start);
        if (next == std::string::npos) {
            std::string text = stderrText.substr(start);
            if (!text.empty() && text.back() == '\n') text.pop_back();
            boxes.push_back(text);
            return boxes;
        }
        boxes.push_back(stderrText.substr(start, next - start));
        start = next + 1 + prefix.size();
    }
}

// Exactly two boxes: a log that reports an error, then `message`.
testing::Matcher<const std::string&> LogThenMessage(const std::string& message) {
    return testing::Truly([message](const std::string& text) {
        const std::vector<std::string> boxes = ReadMessageBoxes(text);
        return boxes.size() == 2 && boxes[0].find("error") != std::string::npos && boxes[1] == message;
    });
}

TEST(GLFWProgramFailureTest, MessageBoxesAreReadFromStandardError) {
    const struct {
        const char* text;
        std::vector<std::string> boxes;
    } cases[] = {
        {"Debug: 0:4(30): error: x\n0:5(1): error: y\n\nDebug: Fragment shader compilation error\n",
         {"0:4(30): error: x\n0:5(1): error: y\n", "Fragment shader compilation error"}},
        {"Debug: Vertex shader compilation error\n", {"Vertex shader compilation error"}},
        {"Debug: a\nDebug: b\nDebug: c\n", {"a", "b", "c"}},
        {"something else\n", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadMessageBoxes(c.text), c.boxes) << c.text;
}

TEST(GLFWProgramFailureTest, CompileAndLinkFailuresShowTheLogAndEndWithExitCodeZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* what;
        int vertex;
        int fragment;
        const char* message;
    } cases[] = {
        {"broken fragment shader", kPlainVertex, kBrokenFragment, "Fragment shader compilation error"},
        {"broken vertex shader", kBrokenVertex, kPlainFragment, "Vertex shader compilation error"},
        // The fragment shader is never compiled after the vertex shader failed.
        {"both broken", kBrokenVertex, kBrokenFragment, "Vertex shader compilation error"},
        {"missing vertex text", kMissingText, kPlainFragment, "Vertex shader compilation error"},
        {"no fragment main", kPlainVertex, kNoMainFragment, "Shader program link error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EXIT(GLFWProgram(c.vertex, c.fragment), testing::ExitedWithCode(0), LogThenMessage(c.message));
    }
}

}  // namespace
