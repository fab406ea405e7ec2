#define GL_GLEXT_PROTOTYPES
#include "render/sprite_batches.h"

#include <cstdio>
#include <cstring>

namespace {

bool contextHasSync() {
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0;
  int minor = 0;
  if (version && std::sscanf(version, "%d.%d", &major, &minor) == 2 &&
      (major > 3 || (major == 3 && minor >= 2))) {
    return true;
  }
  const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  return extensions && std::strstr(extensions, "GL_ARB_sync");
}

}  // namespace

SpriteBatches::SpriteBatches(StopCheck stop) : stop_(stop), available_(contextHasSync()) {}

SpriteBatches::~SpriteBatches() {
  // The frame's last batches are left to the frame's own flush.
  if (older_) glDeleteSync(older_);
  if (newer_) glDeleteSync(newer_);
}

bool SpriteBatches::spriteDrawn() {
  if (++sprites_ < kSpritesPerBatch) {
    return true;
  }
  sprites_ = 0;
  return batchDrawn();
}

bool SpriteBatches::batchDrawn() {
  if (available_) {
    if (older_) {
      glClientWaitSync(older_, GL_SYNC_FLUSH_COMMANDS_BIT, GL_TIMEOUT_IGNORED);
      glDeleteSync(older_);
    }
    older_ = newer_;
    newer_ = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
  }
  // Sends the batch on its way: the next wait is then for work already
  // handed over, and the stop check below follows filling that has begun.
  if (available_ || stop_ != nullptr) {
    glFlush();
  }
  return !stopRequested(stop_);
}
