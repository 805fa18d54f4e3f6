#include "gl/glfw_drawable_object.h"

#include "gl/gl_loader.h"
#include "gl/glfw_mesh_buffers.h"
#include "gl/glfw_mesh_data.h"
#include "gl/glfw_program.h"
#include "gl/glfw_program_manager.h"
#include "math/glfw_camera.h"

GLFWDrawableObject::GLFWDrawableObject(GLFWFrameInfo* frameInfo, GLFWCamera* camera,
                                       GLFWProgramManager* programManager, const char* programName,
                                       int objResourceId, int mtlResourceId, float scale)
    : frameInfo(frameInfo), programManager(programManager), meshData(nullptr), meshBuffers(nullptr),
      camera(camera), programName(programName) {
    meshData = new GLFWMeshData(objResourceId, mtlResourceId, scale);
    meshBuffers = new GLFWMeshBuffers(programManager);
    meshBuffers->SetVertexData(meshData->GetVertexDataSize(), meshData->GetVertexData(),
                               meshData->GetFloatsPerVertex());
    meshBuffers->SetIndexData(meshData->GetIndexDataSize(), meshData->GetIndexData(), meshData->GetIndexCount());
}

void GLFWDrawableObject::Init() {
    SetupAttributes();
    meshBuffers->Upload();
}

void GLFWDrawableObject::SetModelMatrix(Mat4 m) { modelMatrix = m; }

int GLFWDrawableObject::UniformLocation(const char* name) {
    return programManager->GetProgram(programName)->GetUniformLocation(name);
}

void GLFWDrawableObject::SetMatrixUniforms() {
    const Mat4 view = camera->GetView();
    const Mat4 projection = camera->GetProjection();
    const Mat4 projectionViewModel = (projection * view) * modelMatrix;
    const Mat4 projectionView = projection * view;
    glUniformMatrix4fv(UniformLocation("model_world"), 1, GL_FALSE, modelMatrix.Data());
    glUniformMatrix4fv(UniformLocation("world_projection"), 1, GL_FALSE, projectionView.Data());
    glUniformMatrix4fv(UniformLocation("model_projection"), 1, GL_FALSE, projectionViewModel.Data());
}

void GLFWDrawableObject::Draw() {
    programManager->UseProgram(programName);
    BeforeDraw();
    SetMatrixUniforms();
    SetFrameUniforms();
    meshBuffers->Prepare();
    glDrawElements(GL_TRIANGLES, meshBuffers->GetIndexCount(), GL_UNSIGNED_INT, nullptr);
}
