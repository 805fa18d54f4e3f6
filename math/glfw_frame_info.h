// The per-frame values a drawable hands to its shader: time and viewport size.
#pragma once

class GLFWFrameInfo {
public:
    explicit GLFWFrameInfo(float time) : time(time) {}

    void SetTime(float t) { time = t; }
    void SetViewport(float width, float height) {
        viewportWidth = width;
        viewportHeight = height;
    }
    float GetTime() const { return time; }
    float GetViewportWidth() const { return viewportWidth; }
    float GetViewportHeight() const { return viewportHeight; }

    float viewportWidth;   // unset until SetViewport
    float viewportHeight;  // unset until SetViewport
    float time;            // seconds since GLFW was initialised
};
