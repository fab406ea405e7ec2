#pragma once

#include <GL/gl.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "render/image.h"
#include "render/renderer.h"
#include "render/sprite_drawer.h"
#include "render/sprite_names.h"
#include "render/stop_check.h"
#include "saver/nib.h"
#include "saver/opengl_view.h"
#include "saver/saver_backends.h"
#include "saver/screen_saver_view.h"
#include "settings/overrides.h"
#include "settings/sheet_controller.h"
#include "simulation/field.h"

// The saver view: it holds the whole animation of one screen, the field and
// its settings, the sprite textures and the GL child view it draws through.
class Swirlmote : public ScreenSaverView {
 public:
  // Creates the view and its GL view, whose context comes from the backends'
  // factory; its sheet comes from their nib loader, if any, when first asked
  // for. Seeds the process's random generator from the clock.
  static std::unique_ptr<Swirlmote> initWithFrame(Rect frame, bool isPreview, const SaverBackends& backends);
  ~Swirlmote() override;

  void setFrameSize(Size size) override;
  void startAnimation() override;
  void stopAnimation() override;
  void animateOneFrame() override;
  double animationTimeInterval() const override { return 0.016666666666666666; }
  bool hasConfigureSheet() const override { return true; }
  SheetWindow* configureSheet() override;
  static bool performGammaFade() { return false; }

  // Reads the settings from the store and seeds a new field.
  void model_init();
  // Settings that win over the store's at every seeding from now on.
  void setOverrides(SettingsOverrides overrides) { overrides_ = std::move(overrides); }
  void initGLView();
  // How the frames from now on draw their sprites; classic until set.
  void setRenderer(Renderer renderer);
  // Asked during each frame whether to give it up; a frame given up is not
  // shown.
  void setStopCheck(StopCheck stop) { stop_ = stop; }
  // Drawn over each finished frame of animateOneFrame before it is shown,
  // with the view's context current; none when empty.
  void setFrameOverlay(std::function<void()> overlay) { overlay_ = std::move(overlay); }
  // False when the stop check gave the frame up.
  bool doAnimation();
  // Whether the stop check gave up the latest frame of animateOneFrame.
  bool gaveUpLastFrame() const { return gaveUpLastFrame_; }
  const Image* findImageNamed(const char* name);

  // The configuration sheet: fills its controls from the store, follows the
  // user's changes, and closes it with OK or Cancel.
  void synchronizeToDefaults();
  void changeConfiguration(Control* sender);
  void closeSheet(Control* sender);
  const SheetOutlets& outlets() const { return outlets_; }
  // From now on, while the sheet is up, each change in it reseeds the field
  // with the sheet's values over the store's, storing nothing; the sheet's
  // end gives the field back to the store (and the run's overrides), at
  // once for Cancel and by OK's own reseeding for OK.
  void previewSheetChanges() { previewsSheet_ = true; }

  OpenGLView* glView() const { return theGLView; }
  const Field& field() const { return field_; }
  Field& field() { return field_; }
  Size screenSize() const { return screenSize_; }
  const SpriteTextures& textureNames() const { return TextureName; }
  SpriteDrawer& spriteDrawer() { return *sprites_; }

 private:
  Swirlmote(Rect frame, bool isPreview, ImageDecoder& images);

  ImageDecoder& images_;
  OpenGLView* theGLView = nullptr;
  Size screenSize_;
  Field field_;
  SpriteTextures TextureName = {};
  bool graphicsBuilt_ = false;
  std::unique_ptr<SpriteDrawer> sprites_ = makeSpriteDrawer(Renderer::Classic);
  StopCheck stop_ = nullptr;
  std::function<void()> overlay_;
  bool gaveUpLastFrame_ = false;
  SettingsOverrides overrides_;
  SheetOutlets outlets_;
  bool previewsSheet_ = false;
  // The run's overrides while the sheet's values stand in for them.
  std::optional<SettingsOverrides> runOverrides_;
  // Loads the sheet's nib, connects the outlets and fills the controls from
  // the store.
  void loadSheet(NibLoader& nibs);

  // Where the sheet comes from, until it is first asked for.
  NibLoader* nibs_ = nullptr;
  // The sheet's nib; it owns what the outlets refer to.
  std::unique_ptr<Nib> nib_;
};
