#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "headless_view.h"

// The views read an empty store of their own, so that the figures do not
// depend on the user's settings, and never open a display.
int main(int argc, char** argv) {
  std::string store = (std::filesystem::temp_directory_path() / "swirlmote-bench-XXXXXX").string();
  if (mkdtemp(store.data()) == nullptr) {
    return 1;
  }
  setenv("XDG_CONFIG_HOME", store.c_str(), 1);
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");

  benchmark::AddCustomContext("gl_renderer", headlessRendererName());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(store);
  return 0;
}
