#pragma once

#include <GL/gl.h>

#include <functional>

#include "render/image.h"

using ImageFinder = std::function<const Image*(const char* name)>;

// Builds the graphics state on the current context for a view of the given
// size: the ten sprite textures (replacing those named in TextureName), the
// sprite quad in display list 1, blending, the viewport and the projection.
void initGLView(double width, double height, GLuint (&TextureName)[10], const ImageFinder& findImageNamed);
