#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "host/hack_options.h"
#include "render/renderer.h"
#include "saver/geometry.h"
#include "settings/overrides.h"

enum class SaverMode {
  Window,         // one resizable window
  FullScreen,     // a borderless view on every display
  Preview,        // a small window with a preview view
  ForeignWindow,  // another program's window, such as XScreenSaver's
  Background,     // a wallpaper on the layer-shell background layer of every output
};

struct SaverOptions {
  SaverMode mode = SaverMode::Window;
  // ForeignWindow: the window given, or the root window when none is.
  std::optional<unsigned long> windowId;
  std::optional<unsigned> seed;
  std::optional<int64_t> frames;
  std::string screenshot;
  std::optional<Size> size;
  // --configure: a preview with its settings sheet up, ending with the sheet.
  bool configure = false;
  Renderer renderer = Renderer::Classic;
  SettingsOverrides overrides;
  HackOptions hacks;
};

inline constexpr Size kWindowSize{1280, 720};
inline constexpr Size kPreviewSize{320, 200};

// The saver's command line; environmentWindow is XSCREENSAVER_WINDOW's value
// (null when unset), which counts as a --window-id unless the command line
// names a window or a mode of its own. Nothing, after a message on stderr,
// when the command line makes no sense; but a saver run by a host (--root,
// --window-id, or XSCREENSAVER_WINDOW without another mode) never ends
// itself over its options: it warns once about each word it cannot use,
// keeps the stored setting and draws into the host's window.
std::optional<SaverOptions> parseSaverOptions(std::span<const std::string_view> args,
                                              const char* environmentWindow);

// An X window id: hexadecimal with 0x, or decimal; not 0.
std::optional<unsigned long> parseWindowId(std::string_view text);
