#include "ui/about_layout.h"

namespace about {

void CentredWindowPosition(int screenWidth, int screenHeight, int* x, int* y) {
    *x = static_cast<int>((screenWidth - kWindowWidth) * 0.5);
    *y = static_cast<int>((screenHeight - kWindowHeight) * 0.5);
}

}  // namespace about
