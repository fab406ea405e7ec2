#include "saver/swirlmote.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>

#include "render/frame.h"
#include "render/gl_setup.h"
#include "render/sprite_quad.h"
#include "saver/bundle.h"
#include "saver/color.h"
#include "saver/image_cache.h"
#include "saver/nib.h"
#include "settings/keys.h"
#include "settings/load_defaults.h"

namespace {

// Double-buffered, 24 colour, 8 alpha, 16 depth and 8 stencil bits, no
// smaller buffers, a hardware renderer.
constexpr uint32_t kPixelFormatAttributes[14] = {
    NSOpenGLPFARendererID,  0,  NSOpenGLPFADoubleBuffer, NSOpenGLPFAMinimumPolicy,
    NSOpenGLPFAColorSize,   24, NSOpenGLPFAAlphaSize,    8,
    NSOpenGLPFADepthSize,   16, NSOpenGLPFAStencilSize,  8,
    NSOpenGLPFAAccelerated, 0,
};

ScreenSaverDefaults& moduleDefaults() {
  return ScreenSaverDefaults::defaultsForModuleWithName(std::string(kBundleIdentifier));
}

}  // namespace

Swirlmote::Swirlmote(Rect frame, bool isPreview, ImageDecoder& images)
    : ScreenSaverView(frame, isPreview), images_(images) {}

std::unique_ptr<Swirlmote> Swirlmote::initWithFrame(Rect frame, bool isPreview,
                                                    const SaverBackends& backends) {
  std::unique_ptr<Swirlmote> view(new Swirlmote(frame, isPreview, backends.images));

  if (const auto format =
          PixelFormat::initWithAttributes(kPixelFormatAttributes, std::size(kPixelFormatAttributes))) {
    if (auto context = backends.contexts.createContext(*format)) {
      const int swapInterval = 1;
      context->setValues(&swapInterval, NSOpenGLCPSwapInterval);
      view->theGLView = static_cast<OpenGLView*>(
          view->addSubview(std::make_unique<OpenGLView>(Rect{}, std::move(context))));
    }
  }

  srandom(static_cast<unsigned>(time(nullptr)));
  view->nibs_ = backends.nibs;

  Field& f = view->field_;
  f.isRotationOn = 1;
  f.no_particles = 300;
  f.no_cyclones = 3;
  f.color_mode_particle = 1;
  f.color_particle = magentaColor();
  f.color_mode_background = 1;
  f.color_background = blackColor();
  f.particle_shape = 0;
  f.particle_scale = 1.0f;
  f.show_ai = 0;
  return view;
}

// Removes the GL view, which ends its context. A view destroyed without
// being stopped frees its field with it.
Swirlmote::~Swirlmote() {
  if (theGLView) {
    theGLView->openGLContext()->makeCurrentContext();
    if (graphicsBuilt_) {
      glDeleteTextures(static_cast<GLsizei>(kSpriteImageCount), TextureName);
      glDeleteLists(kSpriteQuadList, 1);
    }
    theGLView->removeFromSuperview();
  }
}

void Swirlmote::setFrameSize(Size size) {
  screenSize_ = size;
  ScreenSaverView::setFrameSize(size);
  if (theGLView) {
    theGLView->setFrameSize(size);
    initGLView();
  }
  model_init();
}

void Swirlmote::startAnimation() {
  model_init();
  ScreenSaverView::startAnimation();
}

void Swirlmote::stopAnimation() {
  field_.releaseArrays();
  field_.color_particle.reset();
  field_.color_background.reset();
  ScreenSaverView::stopAnimation();
}

// Draws only when there is something to draw on and with: a GL view whose
// graphics state was built by a sizing, and a seeded field.
void Swirlmote::animateOneFrame() {
  if (!theGLView || !graphicsBuilt_ || !field_.loc) {
    return;
  }
  OpenGLContext* context = theGLView->openGLContext();
  context->makeCurrentContext();
  gaveUpLastFrame_ = !doAnimation();
  if (!gaveUpLastFrame_) {
    if (overlay_) {
      overlay_();
    }
    context->flushBuffer();
  }
}

// The window connected to WIN_sheet; none when the nib did not load. The
// nib is loaded at the first call, which is what brings the toolkit up: a
// saver whose sheet is never asked for never connects it to the display.
SheetWindow* Swirlmote::configureSheet() {
  if (nibs_) {
    loadSheet(*std::exchange(nibs_, nullptr));
  }
  return nib_ ? nib_->windowNamed(kWindowOutlet) : nullptr;
}

void Swirlmote::loadSheet(NibLoader& nibs) {
  const Nib::Action actions[] = {
      {"changeConfiguration", [this](Control* sender) { changeConfiguration(sender); }},
      {"closeSheet", [this](Control* sender) { closeSheet(sender); }},
  };
  nib_ = nibs.loadNibNamed("Swirlmote", actions);
  if (nib_) {
    connectOutlets(*nib_, outlets_);
    reportMissingConnections(*nib_, outlets_, actions, "Swirlmote");
  }
  synchronizeToDefaults();
}

void Swirlmote::synchronizeToDefaults() {
  ::synchronizeToDefaults(outlets_, moduleDefaults());
}

void Swirlmote::changeConfiguration(Control* sender) {
  ::changeConfiguration(outlets_, sender);
  if (previewsSheet_) {
    if (!runOverrides_) {
      runOverrides_ = overrides_;
    }
    overrides_ = sheetOverrides(outlets_);
    model_init();
  }
}

void Swirlmote::closeSheet(Control* sender) {
  const bool previewed = runOverrides_.has_value();
  if (previewed) {
    overrides_ = *std::exchange(runOverrides_, std::nullopt);
  }
  const bool ok = outlet::tag(sender) == kOKTag;
  ::closeSheet(outlets_, sender, moduleDefaults(), [this] { model_init(); });
  if (previewed && !ok) {
    model_init();
  }
}

void Swirlmote::model_init() {
  field_.model_init([this](Settings& settings) {
    loadDefaults(moduleDefaults(), settings);
    applyOverrides(overrides_, settings);
  });
  sprites_->reserve(field_);
}

void Swirlmote::initGLView() {
  theGLView->openGLContext()->makeCurrentContext();
  ::initGLView(screenSize_.width, screenSize_.height, TextureName,
               [this](const char* name) { return findImageNamed(name); });
  graphicsBuilt_ = true;
}

void Swirlmote::setRenderer(Renderer renderer) {
  sprites_ = makeSpriteDrawer(renderer);
  if (field_.loc) {
    sprites_->reserve(field_);
  }
}

bool Swirlmote::doAnimation() {
  return drawFrame(field_, TextureName, *sprites_, stop_);
}

const Image* Swirlmote::findImageNamed(const char* name) {
  if (const Image* cached = ImageCache::imageNamed(name)) {
    return cached;
  }
  // A sprite that could not be loaded is reported once, not at every resize.
  static std::set<std::string, std::less<>> unavailable;
  if (unavailable.contains(std::string_view(name))) {
    return nullptr;
  }
  const auto path = Bundle::bundleForClass().pathForImageResource(name);
  if (!path) {
    std::fprintf(stderr,
                 "swirlmote: sprite image %s not found among the resources; that shape draws as plain "
                 "squares of the particle colour\n",
                 name);
  }
  std::unique_ptr<Image> image = path ? images_.imageWithContentsOfFile(*path) : nullptr;
  if (!image) {
    unavailable.emplace(name);
    return nullptr;
  }
  return ImageCache::setName(std::move(image), name);
}
