#include "render/frame.h"

#include <GL/glu.h>

#include <cmath>

void backgroundColor(const Field& field, float* red, float* green, float* blue) {
  if (field.color_mode_background != 0) {
    const ColorRGBA c = field.color_background.value_or(ColorRGBA{0.0f, 0.0f, 0.0f, 0.0f});
    *red = c.r;
    *green = c.g;
    *blue = c.b;
    return;
  }
  const double tick = field.tick;
  const auto value = static_cast<float>((std::sin(tick * 6.283185307179586 / 3600) * 0.5 + 0.5) * 0.1);
  const auto hue = static_cast<float>(std::fmod(tick, 360.0));
  HSVtoRGB(red, green, blue, hue, 1.0f, value);
}

CameraPose cameraAt(uint32_t tick) {
  const double h = static_cast<double>(tick) * 0.016666666666666666 * 2 * M_PI * 2.5;
  const auto cosX = static_cast<float>(std::cos(0.012 * h));
  const auto sinY = static_cast<float>(std::sin(0.018 * h));
  const auto sinZ = static_cast<float>(std::sin(0.05 * h));
  return {h * 3.7, 100.0f * cosX, 100.0f * sinY,
          static_cast<float>(150.0 * static_cast<double>(sinZ) + 200.0)};
}

void beginFrame(Field& field, const SpriteTextures& textures) {
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
  backgroundColor(field, &red, &green, &blue);
  glClearColor(red, green, blue, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();

  if (field.isRotationOn) {
    const CameraPose camera = cameraAt(field.tick);
    glRotated(camera.roll, 0.0, 0.0, 1.0);
    gluLookAt(camera.eyeX, camera.eyeY, camera.eyeZ, 0.0, 0.0, -500.0, 0.0, 1.0, 0.0);
  }

  field.step();

  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, textures[field.particle_shape]);
}

void endFrame(Field& field) {
  glDisable(GL_TEXTURE_2D);
  glFlush();
  ++field.tick;
}

bool drawFrame(Field& field, const SpriteTextures& textures, SpriteDrawer& sprites, StopCheck stop) {
  beginFrame(field, textures);
  if (stopRequested(stop) || !sprites.drawSprites(field, stop)) {
    return false;
  }
  endFrame(field);
  return true;
}
