// objl-dump MODEL.obj MATERIALS.mtl --out RESULT.json
//
// Loads an OBJ model through the screensaver's loader, with the MTL file
// standing in for the library that every "mtllib" line loads, and writes the
// result as JSON. The loader's progress report goes to standard output.
// Exit status: 0 when the load succeeded, 1 when it failed, 2 on bad usage or
// a file that cannot be read or written.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "objl/model_loader.h"
#include "tools/objl-dump/model_json.h"

namespace {

const char kUsage[] = "usage: objl-dump MODEL.obj MATERIALS.mtl --out RESULT.json\n";

struct Arguments {
    std::string model;
    std::string materials;
    std::string out;
};

// Two file names and one "--out FILE", the option anywhere.
bool ParseArguments(int argc, char** argv, Arguments& args) {
    std::vector<std::string> files;
    bool haveOut = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out") {
            if (haveOut || i + 1 >= argc) return false;
            args.out = argv[++i];
            haveOut = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return false;
        } else {
            files.push_back(arg);
        }
    }
    if (!haveOut || files.size() != 2) return false;
    args.model = files[0];
    args.materials = files[1];
    return true;
}

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    text = bytes.str();
    return !in.bad();
}

int Fail(const std::string& what, const std::string& path) {
    std::cerr << "objl-dump: cannot " << what << " " << path << ": " << std::strerror(errno) << "\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!ParseArguments(argc, argv, args)) {
        std::cerr << kUsage;
        return 2;
    }
    std::string model, materials;
    if (!ReadFile(args.model, model)) return Fail("read", args.model);
    if (!ReadFile(args.materials, materials)) return Fail("read", args.materials);

    objl::ModelLoader loader;
    const objl::LoadResult result = loader.loadFromTexts(model, materials, std::cout);
    std::cout.flush();

    std::ofstream out(args.out, std::ios::binary);
    if (!out) return Fail("write", args.out);
    WriteModelJson(out, loader, result);
    out.close();
    if (!out) return Fail("write", args.out);
    return result.ok ? 0 : 1;
}
