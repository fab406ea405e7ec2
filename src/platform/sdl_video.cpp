#include "platform/sdl_video.h"

#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kNoDisplay =
    "swirlmote: no display to show the saver on (is DISPLAY set?); 'swirlmote render' draws frames into PNG "
    "files "
    "without one\n";

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

std::unique_ptr<SdlVideo> SdlVideo::start(bool needsX11) {
  // Without either SDL would look for Wayland (which complains on stderr)
  // and then settle for a driver that shows nothing.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::fputs(kNoDisplay, stderr);
    return nullptr;
  }
  // Our own handlers end the saver on SIGTERM, SIGINT and SIGHUP.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // We are the screen saver: the desktop's own saver and lock stay free to
  // start.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fputs(kNoDisplay, stderr);
    return nullptr;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) {
    SDL_Quit();
    std::fputs(kNoDisplay, stderr);
    return nullptr;
  }
  const bool x11 = std::strcmp(driver, "x11") == 0;
  if (needsX11 && !x11) {
    SDL_Quit();
    std::fprintf(stderr, "swirlmote: drawing into another program's window needs an X display, not %s\n",
                 driver);
    return nullptr;
  }
  return std::unique_ptr<SdlVideo>(new SdlVideo(x11));
}

SdlVideo::~SdlVideo() {
  dl_iterate_phdr(keepDriverModule, nullptr);
  SDL_Quit();
}
