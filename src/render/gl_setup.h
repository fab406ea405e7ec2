#pragma once

#include <GL/gl.h>

#include <functional>

#include "render/image.h"
#include "render/sprite_names.h"

using ImageFinder = std::function<const Image*(const char* name)>;

// Builds the graphics state on the current context for a view of the given
// size: the sprite textures (replacing those named in textures), the sprite
// quad in its display list, blending, the viewport and the projection.
void initGLView(double width, double height, SpriteTextures& textures, const ImageFinder& findImageNamed);
