#include "platform/sdl_window_surface.h"

#include <SDL2/SDL.h>

#include <utility>

#include "platform/gtk_nib.h"
#include "platform/png_image.h"
#include "platform/sdl_context.h"
#include "platform/sdl_events.h"
#include "platform/sdl_x11_window.h"
#include "platform/wayland_frame_request.h"

namespace {

SdlWindowPlacement sdlPlacement(const WindowPlacement& placement, bool wayland) {
  SdlWindowPlacement sdl{placement.title,      placement.area.x,      placement.area.y,
                         placement.area.width, placement.area.height, SDL_WINDOW_ALLOW_HIGHDPI};
  if (placement.centred) {
    sdl.x = SDL_WINDOWPOS_CENTERED;
    sdl.y = SDL_WINDOWPOS_CENTERED;
  }
  if (placement.coversDisplay) {
    // A Wayland client cannot place its windows: it asks the compositor for
    // full screen on the output at the window's place instead.
    sdl.flags |= SDL_WINDOW_BORDERLESS | (wayland ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_ALWAYS_ON_TOP);
  } else {
    sdl.flags |= SDL_WINDOW_RESIZABLE;
  }
  return sdl;
}

}  // namespace

SdlWindowSurface::SdlWindowSurface(SdlEvents& events, const WindowPlacement& placement, bool wayland)
    : events_(events),
      foreign_(false),
      size_{static_cast<double>(placement.area.width), static_cast<double>(placement.area.height)},
      contexts_(std::make_unique<SdlContextFactory>(sdlPlacement(placement, wayland))),
      images_(std::make_unique<PngDecoder>()),
      nibs_(std::make_unique<GtkNibLoader>()) {
  events_.add(this);
}

SdlWindowSurface::SdlWindowSurface(SdlEvents& events, unsigned long foreignWindow, Size size)
    : events_(events),
      foreign_(true),
      size_(size),
      contexts_(std::make_unique<SdlContextFactory>(foreignWindow)),
      images_(std::make_unique<PngDecoder>()),
      nibs_(std::make_unique<GtkNibLoader>()) {
  events_.add(this);
}

SdlWindowSurface::~SdlWindowSurface() {
  events_.remove(this);
}

SaverBackends SdlWindowSurface::backends() {
  return {*contexts_, *images_, nibs_.get()};
}

std::string SdlWindowSurface::contextFailure() const {
  return "no OpenGL window: " + contexts_->error();
}

Size SdlWindowSurface::pixelSize() const {
  if (foreign_ || !contexts_->window()) {
    return size_;
  }
  // On HiDPI screens the drawable's size in pixels exceeds the window's in
  // points.
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(contexts_->window(), &width, &height);
  return Size{static_cast<double>(width), static_cast<double>(height)};
}

bool SdlWindowSurface::canBeSeen() const {
  return seen_ && (!frames_ || frames_->wanted());
}

bool SdlWindowSurface::present(OpenGLContext&) {
  if (frames_) {
    frames_->request();
  }
  return true;
}

std::vector<SurfaceInput> SdlWindowSurface::takeInput() {
  return std::exchange(input_, {});
}

void SdlWindowSurface::keepShownFrames() {
  if (SdlContext* context = contexts_->context()) {
    context->setKeepsFrames(true);
  }
}

bool SdlWindowSurface::shownFrame(OpenGLContext& context, std::vector<uint8_t>& rgba, int& width,
                                  int& height) {
  return context.readPixels(rgba, width, height);
}

void SdlWindowSurface::windowMade() {
  frames_ = WaylandFrameRequest::of(contexts_->window());
  if (const unsigned long window = x11Window();
      window && events_.watching() && !events_.watch(window, false)) {
    closed_ = true;
  }
}

unsigned long SdlWindowSurface::x11Window() const {
  return contexts_->x11Window();
}

uint32_t SdlWindowSurface::windowId() const {
  return contexts_->window() ? SDL_GetWindowID(contexts_->window()) : 0;
}

Size SdlWindowSurface::windowSize() const {
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(contexts_->window(), &width, &height);
  return Size{static_cast<double>(width), static_cast<double>(height)};
}

void SdlWindowSurface::moveTo(int x, int y) {
  SDL_SetWindowPosition(contexts_->window(), x, y);
}

std::optional<DisplayArea> SdlWindowSurface::usableDisplayArea() const {
  SDL_Rect area;
  if (SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(contexts_->window()), &area) != 0) {
    return std::nullopt;
  }
  return DisplayArea{area.x, area.y, area.w, area.h};
}

void SdlWindowSurface::toggleFullScreen() {
  SDL_Window* window = contexts_->window();
  if (windowed_) {
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, windowed_->width, windowed_->height);
    SDL_SetWindowPosition(window, windowed_->x, windowed_->y);
    windowed_.reset();
    return;
  }
  SDL_Rect display;
  if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &display) != 0) {
    return;
  }
  DisplayArea place;
  SDL_GetWindowPosition(window, &place.x, &place.y);
  SDL_GetWindowSize(window, &place.width, &place.height);
  windowed_ = place;
  SDL_SetWindowBordered(window, SDL_FALSE);
  SDL_SetWindowPosition(window, display.x, display.y);
  SDL_SetWindowSize(window, display.w, display.h);
  SDL_RaiseWindow(window);
}
