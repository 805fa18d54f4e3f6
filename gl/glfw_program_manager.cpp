#include "gl/glfw_program_manager.h"

void GLFWProgramManager::AddProgram(const std::string& name, int vertexResourceId, int fragmentResourceId) {
    programs.emplace(name, std::make_unique<GLFWProgram>(vertexResourceId, fragmentResourceId));
}

GLFWProgram* GLFWProgramManager::GetProgram(const std::string& name) {
    auto found = programs.find(name);
    return found == programs.end() ? nullptr : found->second.get();
}

void GLFWProgramManager::UseProgram(const std::string& name) {
    GLFWProgram* program = GetProgram(name);
    if (program != nullptr) program->Use();
}
