#include "math/glfw_camera.h"

#include <cmath>

GLFWCamera::GLFWCamera(float x, float y, float z)
    : currentView(0),
      eye(x, y, z),
      direction(0.0f, 0.0f, -1.0f),
      right(1.0f, 0.0f, 0.0f),
      up(0.0f, 1.0f, 0.0f) {
    target = eye + direction;
}

void GLFWCamera::Pitch(float angle) {
    const float a = radians(angle);
    const float s = std::sin(a);
    const float c = std::cos(a);
    direction = direction * c + up * s;
    up = cross(right, direction);
    target = eye + direction;
}

void GLFWCamera::UpdateView(int index) {
    views[index] = lookAt(eye, target, up);
    currentView = index;
}

void GLFWCamera::SelectView(int index) {
    currentView = index;
}

void GLFWCamera::SetProjection(Mat4 m) {
    projection = m;
}

Mat4 GLFWCamera::GetView() const {
    return views[currentView];
}

Mat4 GLFWCamera::GetProjection() const {
    return projection;
}
