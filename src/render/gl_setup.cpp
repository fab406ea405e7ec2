#include "render/gl_setup.h"

#include <GL/glu.h>

#include <cstdlib>

#include "render/sprite_quad.h"
#include "render/texture_buffer.h"

namespace {

void uploadTexture(const Image* image, GLuint& name) {
  const std::size_t size = uploadBufferSize(image);
  auto* buffer = static_cast<unsigned char*>(std::malloc(size ? size : 1));
  if (!buffer) {
    return;
  }
  fillUploadBuffer(image, buffer);
  const GLsizei w = image ? image->pixelsWide() : 0;
  const GLsizei h = image ? image->pixelsHigh() : 0;
  glGenTextures(1, &name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, buffer);
  std::free(buffer);
}

void compileSpriteQuad() {
  const float q = kQuadHalfWidth;
  glNewList(kSpriteQuadList, GL_COMPILE);
  glBegin(GL_TRIANGLES);
  glTexCoord2f(0, 0), glVertex3f(-q, -q, 0);
  glTexCoord2f(1, 0), glVertex3f(q, -q, 0);
  glTexCoord2f(1, 1), glVertex3f(q, q, 0);
  glTexCoord2f(0, 0), glVertex3f(-q, -q, 0);
  glTexCoord2f(1, 1), glVertex3f(q, q, 0);
  glTexCoord2f(0, 1), glVertex3f(-q, q, 0);
  glEnd();
  glEndList();
}

}  // namespace

void initGLView(double width, double height, SpriteTextures& textures, const ImageFinder& findImageNamed) {
  // Names from an earlier size are released so repeated resizes do not pile
  // up textures.
  glDeleteTextures(static_cast<GLsizei>(kSpriteImageCount), textures);
  for (std::size_t i = 0; i < kSpriteImageCount; ++i) {
    textures[i] = 0;
    uploadTexture(findImageNamed(kSpriteImageNames[i]), textures[i]);
  }

  compileSpriteQuad();

  glShadeModel(GL_SMOOTH);
  glEnable(GL_POLYGON_SMOOTH);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glEnable(GL_BLEND);
  // A fragment of alpha 0 adds nothing under this blend, so it is dropped
  // before blending: the same pixels, less for a software renderer to write.
  glAlphaFunc(GL_GREATER, 0.0f);
  glEnable(GL_ALPHA_TEST);

  glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(90.0, width / height, 0.1, 10000.0);
  glMatrixMode(GL_MODELVIEW);
}
