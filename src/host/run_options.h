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

// What a command line asks of a run, for every command alike: the saver's
// modes, render and simulate each read the options they take into it.
struct RunOptions {
  SaverMode mode = SaverMode::Window;
  // ForeignWindow: the window given, or the root window when none is.
  std::optional<unsigned long> windowId;
  std::optional<unsigned> seed;
  std::optional<int64_t> frames;
  // The PNG file the last frame goes to; empty for none.
  std::string screenshot;
  std::optional<Size> size;
  // --configure: a preview with its settings sheet up, ending with the sheet.
  bool configure = false;
  Renderer renderer = Renderer::Classic;
  SettingsOverrides overrides;
  HackOptions hacks;
  // render: the directory its PNG files go into, every how many frames one
  // is written besides the last (0: only the last), and whether its frames
  // come a frame interval apart.
  std::string out;
  int64_t every = 0;
  bool paced = false;
};

inline constexpr Size kWindowSize{1280, 720};
inline constexpr Size kPreviewSize{320, 200};

// The command line of one command, the OptionTaker that names it (kSaver,
// kRender or kSimulate). Nothing, after a message on stderr, when the
// command line makes no sense.
//
// For the saver, environmentWindow is XSCREENSAVER_WINDOW's value (null
// when unset), which counts as a --window-id unless the command line names
// a window or a mode of its own. A saver run by a host (--root, --window-id,
// or XSCREENSAVER_WINDOW without another mode) never ends itself over its
// options: it warns once about each word it cannot use, keeps the setting
// it would have had without that word and draws into the host's window.
std::optional<RunOptions> parseRunOptions(unsigned command, std::span<const std::string_view> args,
                                          const char* environmentWindow = nullptr);
