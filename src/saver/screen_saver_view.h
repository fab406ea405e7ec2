#pragma once

#include "saver/view.h"

class SheetWindow;

// The base of a screen-saver module's view, driven by the host: it is sized,
// started, asked for a frame every animationTimeInterval and stopped.
class ScreenSaverView : public View {
 public:
  ScreenSaverView(Rect frame, bool isPreview) : View(frame), isPreview_(isPreview) {}

  bool isPreview() const { return isPreview_; }
  bool isAnimating() const { return animating_; }

  virtual void startAnimation() { animating_ = true; }
  virtual void stopAnimation() { animating_ = false; }
  virtual void animateOneFrame() {}
  virtual double animationTimeInterval() const { return 1.0 / 30.0; }
  virtual bool hasConfigureSheet() const { return false; }
  virtual SheetWindow* configureSheet() { return nullptr; }
  static bool performGammaFade() { return true; }

 private:
  bool isPreview_;
  bool animating_ = false;
};
