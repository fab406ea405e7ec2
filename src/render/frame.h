#pragma once

#include <GL/gl.h>

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
// every sprite with its afterimages, then tick advances.
void doAnimation(Field& field, const GLuint (&TextureName)[10]);
