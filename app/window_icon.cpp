#include "app/window_icon.h"

#include <cstring>

void CopyWindowIconRows(unsigned char* rows) {
    for (int r = 0; r < kWindowIconSize; ++r) {
        for (int c = 0; c < kWindowIconSize; ++c) {
            const int stored = r + kWindowIconSize * c;
            std::memcpy(rows + (r * kWindowIconSize + c) * 4, kWindowIconColumns + stored * 4, 4);
        }
    }
}
