#pragma once

// Whether a window can be opened at all: an X11 or Wayland display, or a Qt
// platform chosen explicitly (offscreen in tests).
bool hasUsableDisplay();
