// The viewer: position, orientation, a bank of view matrices and the projection.
#pragma once

#include <cstdint>

#include "math/vector_math.h"

class GLFWCamera {
public:
    // A camera at (x, y, z) looking down -Z with +Y up; views and projection unset.
    GLFWCamera(float x, float y, float z);

    // Turns the viewing direction about the fixed right axis by angle degrees
    // (positive looks up). Views are not recomputed.
    void Pitch(float angle);
    // Computes views[index] from eye, target and up, and makes it current.
    void UpdateView(int index);
    // Makes views[index] current without recomputing it.
    void SelectView(int index);
    void SetProjection(Mat4 m);
    // A copy of the current view matrix.
    Mat4 GetView() const;
    Mat4 GetProjection() const;

    Mat4 views[5];            // a slot is unset until UpdateView computes it
    std::int32_t currentView; // 0..4, not checked
    Vec3 eye;
    Vec3 target;     // always eye + direction
    Vec3 direction;  // unit viewing direction
    Vec3 right;      // fixed at construction
    Vec3 up;         // perpendicular to direction and right
    Mat4 projection; // unset until SetProjection
};
