// Shader programs kept under names; the manager owns them.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "gl/glfw_program.h"

class GLFWProgramManager {
public:
    GLFWProgramManager() = default;

    // Builds the program (with its compile and link checks) and keeps it
    // under `name`, unless a program of that name is already kept: then the
    // earlier one stays and the new one is released.
    void AddProgram(const std::string& name, int vertexResourceId, int fragmentResourceId);
    // The program kept under `name`, or null.
    GLFWProgram* GetProgram(const std::string& name);
    // Makes the named program current; an unknown name changes nothing.
    void UseProgram(const std::string& name);

    std::map<std::string, std::unique_ptr<GLFWProgram>> programs;
};
