#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/frame_surface.h"
#include "platform/headless_platform.h"

// A surface whose view draws headless (EGL, PNG images, no sheet) and whose
// frames are read back to be shown or written somewhere else.
class HeadlessSurface : public FrameSurface {
 public:
  SaverBackends backends() override { return platform_.backends(); }
  std::string contextFailure() const override;
  std::optional<std::string> drawableFailure() const override;

 protected:
  // Reads the frame just drawn back into the surface's own copy; false when
  // the context has none.
  bool readBack(OpenGLContext& context) { return context.readPixels(frame_, frameWidth_, frameHeight_); }
  // The frame read back last, to be shown: RGBA rows from the top.
  const std::vector<uint8_t>& frame() const { return frame_; }
  int frameWidth() const { return frameWidth_; }
  int frameHeight() const { return frameHeight_; }
  // The frame read back last, for shownFrame.
  bool lastFrame(std::vector<uint8_t>& rgba, int& width, int& height) const;

 private:
  HeadlessPlatform platform_;
  std::vector<uint8_t> frame_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
};
