#pragma once

#include <optional>
#include <string>

#include "platform/frame_surface.h"
#include "platform/headless_platform.h"

// A surface whose view draws headless (EGL, PNG images, no sheet) and whose
// frames are read back to be shown or written somewhere else.
class HeadlessSurface : public FrameSurface {
 public:
  SaverBackends backends() override { return platform_.backends(); }
  std::string contextFailure() const override;
  std::optional<std::string> drawableFailure() const override;

 private:
  HeadlessPlatform platform_;
};
