#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <string>

#include "platform/gtk_nib.h"
#include "platform/png_image.h"
#include "platform/sdl_context.h"
#include "saver/swirlmote.h"
#include "settings/overrides.h"

// One saver view and the window it draws into. The host's sequence for each:
// create, size once with the drawable's size, start, frames, stop; a change
// of the drawable's size sizes it again, which starts a new field.
class SaverScreen {
 public:
  // Why create made nothing: the reason, and the X11 window it was made
  // for, if there was one.
  struct Failure {
    std::string error;
    unsigned long x11Window = 0;
  };
  // Nothing, with the failure, when no GL window could be made.
  static std::unique_ptr<SaverScreen> create(std::unique_ptr<SdlContextFactory> contexts, Size frame,
                                             bool isPreview, Renderer renderer,
                                             const SettingsOverrides& overrides, Failure& failure);
  SaverScreen(const SaverScreen&) = delete;
  SaverScreen& operator=(const SaverScreen&) = delete;

  Swirlmote& view() { return *view_; }
  SDL_Window* window() const { return contexts_->window(); }
  uint32_t windowId() const { return SDL_GetWindowID(window()); }
  // The context the factory made for this screen's window.
  SdlContext& context() const { return static_cast<SdlContext&>(*view_->glView()->openGLContext()); }

  // The window's size in pixels, which on HiDPI screens exceeds its size in
  // points.
  Size drawableSize() const;
  // Sizes the view when the size differs from the one it has.
  void resize(Size pixels);
  void start(Size pixels);
  void stop() { view_->stopAnimation(); }

 private:
  explicit SaverScreen(std::unique_ptr<SdlContextFactory> contexts) : contexts_(std::move(contexts)) {}

  // Declared first so that the window outlives the view's context.
  std::unique_ptr<SdlContextFactory> contexts_;
  PngDecoder images_;
  GtkNibLoader nibs_;
  std::unique_ptr<Swirlmote> view_;
  Size size_;
};
