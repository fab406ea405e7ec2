#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/headless_surface.h"
#include "saver/nib.h"
#include "saver/sheet_window.h"

// A preview drawn headless and shown inside the settings sheet's own
// window, to the left of its controls: one window, which no compositor can
// make cover itself. Its view's sheet comes from the GTK layout.
class SheetPreviewSurface : public HeadlessSurface {
 public:
  // A preview of the given size in pixels, shown once placed in a sheet.
  explicit SheetPreviewSurface(Size size);
  ~SheetPreviewSurface() override;
  SheetPreviewSurface(const SheetPreviewSurface&) = delete;
  SheetPreviewSurface& operator=(const SheetPreviewSurface&) = delete;

  SaverBackends backends() override;
  // Puts the preview beside the controls of the sheet's window, which is
  // one that this surface's backends loaded; false for any other.
  bool placeIn(SheetWindow& sheet);

  Size pixelSize() const override { return size_; }
  // The frame's buffers, its read-back and the window's copy of it.
  std::size_t bytesPerPixel() const override {
    return PixelBytes::kFrame + PixelBytes::kReadBack + PixelBytes::kWindowCopy;
  }
  // Only while the sheet's window shows it.
  bool canBeSeen() const override;
  bool present(OpenGLContext& context) override;
  bool shownFrame(OpenGLContext& context, std::vector<uint8_t>& rgba, int& width, int& height) override;

 private:
  // The GTK widget the frames show in; made by placeIn.
  struct Area;

  Size size_;
  std::unique_ptr<NibLoader> nibs_;
  std::unique_ptr<Area> area_;
};
