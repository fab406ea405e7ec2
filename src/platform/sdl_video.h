#pragma once

#include <memory>

// SDL's video subsystem for the saver, for the life of the object.
class SdlVideo {
 public:
  // Nothing, after a message on stderr, when there is no display to show
  // the saver on (SDL quietly falls back to drivers that show nothing), or
  // when the mode needs X11 and the display is not an X display.
  static std::unique_ptr<SdlVideo> start(bool needsX11);
  ~SdlVideo();
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;

  bool isX11() const { return x11_; }

 private:
  explicit SdlVideo(bool x11) : x11_(x11) {}
  bool x11_;
};
