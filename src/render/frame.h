#pragma once

#include <GL/gl.h>

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
// every sprite with its afterimages, then tick advances. False when the stop
// check gave the frame up: it is left unfinished and tick stays.
bool doAnimation(Field& field, const GLuint (&TextureName)[10], StopCheck stop = nullptr);

// The parts of a frame around its sprites, shared by every way of drawing
// them. beginFrame: clear, camera, one simulation step, blending and the
// shape's texture. endFrame: texturing off, flush, and tick advances.
void beginFrame(Field& field, const GLuint (&TextureName)[10]);
void endFrame(Field& field);
// Every sprite followed by its afterimages, each with its own matrix, colour
// and call of the sprite quad's list. False when the stop check gave up.
bool drawSprites(const Field& field, StopCheck stop = nullptr);
