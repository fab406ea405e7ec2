#pragma once

#include <GL/gl.h>

#include "render/sprite_drawer.h"
#include "render/sprite_names.h"
#include "render/stop_check.h"
#include "simulation/field.h"

// The background colour of a frame at the field's tick and settings.
void backgroundColor(const Field& field, float* red, float* green, float* blue);

struct CameraPose {
  double roll;  // degrees about the line of sight
  float eyeX;
  float eyeY;
  float eyeZ;
};
CameraPose cameraAt(uint32_t tick);

// One frame on the current context: clear, camera, one simulation step,
// every sprite with its afterimages through the drawer, then tick advances.
// The stop check is asked after the step and by the drawer; false when it
// gave the frame up: it is left unfinished and tick stays.
bool drawFrame(Field& field, const SpriteTextures& textures, SpriteDrawer& sprites, StopCheck stop = nullptr);

// The parts of a frame around its sprites. beginFrame: clear, camera, one
// simulation step, blending and the shape's texture. endFrame: texturing
// off, flush, and tick advances.
void beginFrame(Field& field, const SpriteTextures& textures);
void endFrame(Field& field);
