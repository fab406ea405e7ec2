#include "render/frame.h"

#include <GL/glu.h>

#include <cmath>

#include "render/sprite_batches.h"

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

namespace {

void drawSprite(const Vector3F& at, float scale, float facing, const ColorRGBA& c) {
  glPushMatrix();
  glTranslatef(at.x, at.y, at.z);
  glScalef(scale, scale, scale);
  glRotatef(facing, 0.0f, 0.0f, 1.0f);
  glColor4f(c.r, c.g, c.b, c.a);
  glCallList(1);
  glPopMatrix();
}

}  // namespace

void beginFrame(Field& field, const GLuint (&TextureName)[10]) {
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

  field.model_handle_events();
  field.model_handle_particles();
  if (field.show_ai == 1) {
    field.model_handle_afterimage();
  }

  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, TextureName[field.particle_shape]);
}

bool drawSprites(const Field& field, StopCheck stop) {
  const bool afterimages = field.show_ai == 1;
  const float scale = 200.0f * field.particle_scale;
  SpriteBatches batches(stop);
  for (int32_t k = 0; k < field.no_particles; ++k) {
    drawSprite(field.loc[k], scale, field.yrp[k], field.color[k]);
    if (!batches.spriteDrawn()) {
      return false;
    }
    if (afterimages) {
      for (int m = 0; m < 4; ++m) {
        const std::size_t i = 4 * static_cast<std::size_t>(k) + m;
        ColorRGBA c = field.ai_color[i];
        c.a = afterimageFade(field.ai_cnt[i]) * c.a;
        drawSprite(field.ai_loc[i], scale, field.yrp[k], c);
        if (!batches.spriteDrawn()) {
          return false;
        }
      }
    }
  }
  return true;
}

void endFrame(Field& field) {
  glDisable(GL_TEXTURE_2D);
  glFlush();
  ++field.tick;
}

bool doAnimation(Field& field, const GLuint (&TextureName)[10], StopCheck stop) {
  beginFrame(field, TextureName);
  if (stopRequested(stop) || !drawSprites(field, stop)) {
    return false;
  }
  endFrame(field);
  return true;
}
