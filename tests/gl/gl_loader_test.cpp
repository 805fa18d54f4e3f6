// The GL entry-point table and its loader, on a real context.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gl/gl_loader.h"
#include "platform/platform.h"
#include "tests/gl/gl_test_context.h"

namespace {

TEST(GLEntryPointsTest, SevenHundredDistinctNames) {
    ASSERT_EQ(kGLEntryPointCount, 700);
    std::set<std::string> names;
    for (const GLEntryPoint& entry : kGLEntryPoints) {
        ASSERT_NE(entry.name, nullptr);
        EXPECT_EQ(std::strncmp(entry.name, "gl", 2), 0) << entry.name;
        names.insert(entry.name);
    }
    EXPECT_EQ(names.size(), 700u);
}

TEST(GLEntryPointsTest, GroupsInOrderWithTheirFirstAndLastNames) {
    const struct {
        const char* group;
        int count;
        const char* first;
        const char* last;
    } table[] = {
        {"OpenGL 1.0", 48, "glCullFace", "glViewport"},
        {"OpenGL 1.1", 14, "glDrawArrays", "glIsTexture"},
        {"OpenGL 1.2", 4, "glDrawRangeElements", "glCopyTexSubImage3D"},
        {"OpenGL 1.3", 9, "glActiveTexture", "glGetCompressedTexImage"},
        {"OpenGL 1.4", 9, "glBlendFuncSeparate", "glBlendEquation"},
        {"OpenGL 1.5", 19, "glGenQueries", "glGetBufferPointerv"},
        {"OpenGL 2.0", 93, "glBlendEquationSeparate", "glVertexAttribPointer"},
        {"OpenGL 2.1", 6, "glUniformMatrix2x3fv", "glUniformMatrix4x3fv"},
        {"OpenGL 3.0", 84, "glColorMaski", "glIsVertexArray"},
        {"OpenGL 3.1", 12, "glDrawArraysInstanced", "glUniformBlockBinding"},
        {"OpenGL 3.2", 19, "glDrawElementsBaseVertex", "glSampleMaski"},
        {"OpenGL 3.3", 28, "glBindFragDataLocationIndexed", "glVertexAttribP4uiv"},
        {"OpenGL 4.0", 46, "glMinSampleShading", "glGetQueryIndexediv"},
        {"OpenGL 4.1", 88, "glReleaseShaderCompiler", "glGetDoublei_v"},
        {"OpenGL 4.2", 12, "glDrawArraysInstancedBaseInstance", "glDrawTransformFeedbackStreamInstanced"},
        {"OpenGL 4.3", 43, "glClearBufferData", "glGetObjectPtrLabel"},
        {"OpenGL 4.4", 9, "glBufferStorage", "glBindVertexBuffers"},
        {"OpenGL 4.5", 110, "glClipControl", "glTextureBarrier"},
        {"GL_ARB_bindless_texture", 16, "glGetTextureHandleARB", "glGetVertexAttribLui64vARB"},
        {"GL_ARB_cl_event", 1, "glCreateSyncFromCLeventARB", "glCreateSyncFromCLeventARB"},
        {"GL_ARB_compute_variable_group_size", 1, "glDispatchComputeGroupSizeARB", "glDispatchComputeGroupSizeARB"},
        {"GL_ARB_debug_output", 4, "glDebugMessageControlARB", "glGetDebugMessageLogARB"},
        {"GL_ARB_draw_buffers_blend", 4, "glBlendEquationiARB", "glBlendFuncSeparateiARB"},
        {"GL_ARB_indirect_parameters", 2, "glMultiDrawArraysIndirectCountARB", "glMultiDrawElementsIndirectCountARB"},
        {"GL_ARB_robustness", 8, "glGetGraphicsResetStatusARB", "glGetnUniformdvARB"},
        {"GL_ARB_sample_shading", 1, "glMinSampleShadingARB", "glMinSampleShadingARB"},
        {"GL_ARB_shading_language_include", 6, "glNamedStringARB", "glGetNamedStringivARB"},
        {"GL_ARB_sparse_buffer", 3, "glBufferPageCommitmentARB", "glNamedBufferPageCommitmentARB"},
        {"GL_ARB_sparse_texture", 1, "glTexPageCommitmentARB", "glTexPageCommitmentARB"},
    };
    ASSERT_EQ(kGLEntryGroupCount, static_cast<int>(sizeof(table) / sizeof(table[0])));
    int next = 0;
    for (int g = 0; g < kGLEntryGroupCount; ++g) {
        const GLEntryGroup& group = kGLEntryGroups[g];
        SCOPED_TRACE(table[g].group);
        EXPECT_STREQ(group.name, table[g].group);
        EXPECT_EQ(group.first, next);
        ASSERT_EQ(group.count, table[g].count);
        EXPECT_STREQ(kGLEntryPoints[group.first].name, table[g].first);
        EXPECT_STREQ(kGLEntryPoints[group.first + group.count - 1].name, table[g].last);
        next += group.count;
    }
    EXPECT_EQ(next, kGLEntryPointCount);
    // The sparse-buffer group carries the EXT name between its two ARB names.
    EXPECT_STREQ(kGLEntryPoints[697].name, "glNamedBufferPageCommitmentEXT");
}

// The version as the context states it in its version string.
bool VersionFromString(int* major, int* minor) {
    const GLubyte* text = glGetString(GL_VERSION);
    return text != nullptr && std::sscanf(reinterpret_cast<const char*>(text), "%d.%d", major, minor) == 2;
}

TEST(GLLoaderTest, InitOnTheRealContextRecordsItsVersion) {
    ASSERT_NE(TestContextWindow(), nullptr);
    EXPECT_EQ(TestContextLoaderResult(), 0);
    int major = 0;
    int minor = 0;
    ASSERT_TRUE(VersionFromString(&major, &minor)) << "no version string";
    EXPECT_EQ(GLLoaderVersion.major, major);
    EXPECT_EQ(GLLoaderVersion.minor, minor);

    // Loading again on the same context gives the same table.
    std::vector<void*> before;
    for (const GLEntryPoint& entry : kGLEntryPoints) before.push_back(*entry.pointer);
    EXPECT_EQ(GLLoaderInit(), 0);
    for (int i = 0; i < kGLEntryPointCount; ++i) {
        EXPECT_EQ(*kGLEntryPoints[i].pointer, before[i]) << kGLEntryPoints[i].name;
    }
}

// Every function the screensaver calls is in the table after loading.
TEST(GLLoaderTest, TheScreensaversFunctionsAreResolved) {
    std::string problem;
    EXPECT_TRUE(GLLoaderCheckRequirements(&problem)) << problem;
    for (const GLEntryPoint& entry : kGLEntryPoints) {
        EXPECT_EQ(*entry.pointer, GLLoaderGetProcAddress(entry.name)) << entry.name;
    }
}

class GLLoaderIsSupportedTest : public testing::Test {
protected:
    void SetUp() override { saved = GLLoaderVersion; }
    void TearDown() override { GLLoaderVersion = saved; }
    GLLoaderVersionInfo saved{};
};

TEST_F(GLLoaderIsSupportedTest, AgainstARecordedVersion) {
    const struct {
        int recordedMajor, recordedMinor;
        int askedMajor, askedMinor;
        int supported;
    } table[] = {
        {4, 6, 2, 0, 0},  // below 3 is never supported
        {4, 6, 1, 1, 0},  //
        {4, 6, 4, 6, 1},  //
        {4, 6, 4, 7, 0},  //
        {4, 6, 3, 3, 1},  //
        {4, 6, 5, 0, 0},  //
        {3, 2, 3, 3, 0},  //
        {3, 2, 3, 1, 1},  //
        {3, 2, 3, 2, 1},  //
        {3, 2, 4, 0, 0},  //
        {4, 5, 3, 3, 1},  //
        {4, 5, 4, 2, 1},  //
        {0, 0, 3, 0, 0},  // nothing recorded
    };
    for (const auto& row : table) {
        GLLoaderVersion = {row.recordedMajor, row.recordedMinor};
        EXPECT_EQ(GLLoaderIsSupported(row.askedMajor, row.askedMinor), row.supported)
            << "recorded " << row.recordedMajor << "." << row.recordedMinor << ", asked " << row.askedMajor << "."
            << row.askedMinor;
    }
}

// An OpenGL 1.1 function. On Windows the context lookup (wglGetProcAddress)
// does not know it and the GL library's export supplies it. On Linux the
// context lookup (glXGetProcAddressARB of the GL vendor library) answers for
// every name, even one that no GL has, with a dispatch stub: glClear comes
// from the context lookup and the library export is not consulted, and the
// loader never leaves an entry null.
TEST(GLLoaderTest, GlClearResolvesThroughTheContextLookupOnLinux) {
    void* library = platform::OpenGlLibrary();
    ASSERT_NE(library, nullptr);
    void* exported = platform::GetLibrarySymbol(library, "glClear");
    platform::CloseGlLibrary(library);
    void* fromContext = platform::GetContextProcAddress("glClear");
    EXPECT_NE(exported, nullptr);
    ASSERT_NE(fromContext, nullptr);
    EXPECT_EQ(GLLoaderGetProcAddress("glClear"), fromContext);
    EXPECT_EQ(reinterpret_cast<void*>(glClear), fromContext);
    EXPECT_NE(platform::GetContextProcAddress("glNoSuchFunctionInAnyGL"), nullptr);

    // Either way the pointer clears the window.
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {0, 0, 0, 0};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[2], 0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

}  // namespace
