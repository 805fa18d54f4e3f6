// Frames back to back, paced by the buffer swap, until the screensaver stops.
#pragma once

void RunMainLoop();
void UpdateFrame();
