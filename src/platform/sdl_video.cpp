#include "platform/sdl_video.h"

#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/wayland_compositor.h"
#include "platform/x_monitors.h"

namespace {

constexpr const char* kNoDisplay =
    "swirlmote: no display to show the saver on (neither WAYLAND_DISPLAY nor DISPLAY names one that "
    "answers); 'swirlmote render' draws frames into PNG files without one\n";

bool named(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

// Takes a reference on every GL driver module loaded now. Closing SDL's X
// connection unloads the driver, while memory that the driver keeps for the
// life of the process stays: with the module kept, leak checkers still know
// that memory as the driver's.
int keepDriverModule(dl_phdr_info* info, std::size_t, void*) {
  if (info->dlpi_name && std::strstr(info->dlpi_name, "/dri/")) {
    dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD);
  }
  return 0;
}

}  // namespace

std::unique_ptr<SdlVideo> SdlVideo::start(bool needsX11, bool titleBars) {
  const bool x11Named = named("DISPLAY");
  const bool waylandNamed = named("WAYLAND_DISPLAY");
  if (needsX11 && !x11Named && waylandNamed) {
    std::fputs(
        "swirlmote: drawing into another program's window needs an X display, and DISPLAY is not set\n",
        stderr);
    return nullptr;
  }
  // In a Wayland session the compositor's own protocol comes before its X
  // server (XWayland): only there does the saver cover every output, and
  // idle managers such as swayidle start it there.
  std::unique_ptr<WaylandCompositor> compositor;
  if (waylandNamed && !needsX11) {
    compositor = WaylandCompositor::connect();
    if (compositor && !compositor->hasSeat()) {
      compositor.reset();
      if (!x11Named) {
        std::fputs(
            "swirlmote: the Wayland compositor offers no input seat, so nothing could end the saver "
            "(WAYLAND_DISPLAY names one without keyboard or pointer)\n",
            stderr);
        return nullptr;
      }
    }
  }
  if (!compositor && !x11Named) {
    std::fputs(kNoDisplay, stderr);
    return nullptr;
  }
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, compositor ? "wayland" : "x11", SDL_HINT_OVERRIDE);
  // Our own handlers end the saver on SIGTERM, SIGINT and SIGHUP.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // We are the screen saver: the desktop's own saver and lock stay free to
  // start.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // libdecor draws a title bar where the compositor leaves it to clients
  // (mutter), and takes it down again from a borderless window; the commit
  // between gives the compositor a window geometry that no buffer covers yet,
  // which mutter warns may end the client. Without libdecor SDL sets no
  // geometry at all.
  if (!titleBars) {
    SDL_SetHint(SDL_HINT_VIDEO_WAYLAND_ALLOW_LIBDECOR, "0");
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fputs(kNoDisplay, stderr);
    return nullptr;
  }
  return std::unique_ptr<SdlVideo>(new SdlVideo(std::move(compositor)));
}

SdlVideo::SdlVideo(std::unique_ptr<WaylandCompositor> compositor) : compositor_(std::move(compositor)) {}

SdlVideo::~SdlVideo() {
  dl_iterate_phdr(keepDriverModule, nullptr);
  SDL_Quit();
}

bool SdlVideo::lostCompositor() const {
  return compositor_ && compositor_->hasEnded();
}

std::vector<DisplayArea> SdlVideo::displayAreas() const {
  if (isX11()) {
    if (auto monitors = xMonitorBounds(); !monitors.empty()) {
      return monitors;
    }
  }
  std::vector<DisplayArea> areas;
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect area;
    if (SDL_GetDisplayBounds(i, &area) == 0) {
      areas.push_back({area.x, area.y, area.w, area.h});
    }
  }
  return areas;
}

void SdlVideo::hideCursor() const {
  SDL_ShowCursor(SDL_DISABLE);
}
