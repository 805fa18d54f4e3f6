// A mesh in GL buffers drawn with a shader program known by name, which it
// feeds the three matrices and the frame values.
#pragma once

#include "math/vector_math.h"

class GLFWCamera;
class GLFWFrameInfo;
class GLFWMeshBuffers;
class GLFWMeshData;
class GLFWProgramManager;

class GLFWDrawableObject {
public:
    // Loads the model (ending the process when it cannot); nothing reaches GL before Init.
    GLFWDrawableObject(GLFWFrameInfo* frameInfo, GLFWCamera* camera, GLFWProgramManager* programManager,
                       const char* programName, int objResourceId, int mtlResourceId, float scale);

    // Declares the attributes and uploads the mesh; the program must already be registered.
    void Init();
    void SetModelMatrix(Mat4 m);
    void Draw();

    virtual void SetupAttributes() = 0;
    virtual void SetFrameUniforms() = 0;
    virtual void BeforeDraw() = 0;

    GLFWFrameInfo* frameInfo;
    GLFWProgramManager* programManager;
    GLFWMeshData* meshData;
    GLFWMeshBuffers* meshBuffers;
    GLFWCamera* camera;
    const char* programName;  // not copied: must outlive the drawable
    Mat4 modelMatrix;         // unset until SetModelMatrix

protected:
    // The named program's location of a uniform, through its cache.
    int UniformLocation(const char* name);

private:
    void SetMatrixUniforms();
};
