// A Windows program for the Wine tests of gl/: it opens the test context and
// then, by its first argument,
//   program VERTEX_ID FRAGMENT_ID   builds a GLFWProgram from two TEXTFILE
//                                   resources of its own (gl_tests.rc); a
//                                   failure shows its message boxes and ends
//                                   the process with exit code 0;
//   lookup NAME...                  prints, per GL name, a line
//                                   "NAME<TAB>context<TAB>library<TAB>loader"
//                                   where each field says which lookup found
//                                   it: 1 or 0 for the context's and the GL
//                                   library's, and for the loader "context",
//                                   "library", "other" or "null".
// Exit code 0 after a built program or a lookup, 1 when there was no
// context, 2 on bad usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gl/gl_loader.h"
#include "gl/glfw_program.h"
#include "platform/platform.h"
#include "tests/gl/test_context_window.h"

namespace {

int Lookup(int count, char** names) {
    void* library = platform::OpenGlLibrary();
    for (int i = 0; i < count; ++i) {
        void* fromContext = platform::GetContextProcAddress(names[i]);
        void* fromLibrary = platform::GetLibrarySymbol(library, names[i]);
        void* fromLoader = GLLoaderGetProcAddress(names[i]);
        const char* loader = fromLoader == nullptr       ? "null"
                             : fromLoader == fromContext ? "context"
                             : fromLoader == fromLibrary ? "library"
                                                         : "other";
        std::printf("%s\t%d\t%d\t%s\n", names[i], fromContext != nullptr, fromLibrary != nullptr, loader);
    }
    platform::CloseGlLibrary(library);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    int loaderResult = 0;
    if (OpenTestContextWindow(&loaderResult) == nullptr) return 1;
    if (std::strcmp(argv[1], "program") == 0 && argc == 4) {
        GLFWProgram program(std::atoi(argv[2]), std::atoi(argv[3]));
        return 0;
    }
    if (std::strcmp(argv[1], "lookup") == 0) return Lookup(argc - 2, argv + 2);
    return 2;
}
