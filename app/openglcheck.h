#pragma once

#include "vudureconfig.h"

struct PlatformRequest;

// The exit code when the views could not draw: no usable OpenGL.
constexpr int exitNoOpenGL = VUDURE_EXIT_NO_OPENGL;

// Whether the views can draw on this platform: it shows OpenGL in widgets, and
// a context in the views' format (the default format, set before) can be made
// current and keeps the fixed-function pipeline and display lists. When not,
// prints one line saying so, and what to do about it (undoing `request`'s
// choice of platform, say), on stderr. Needs the application object.
bool openGLUsable(const PlatformRequest &request);
