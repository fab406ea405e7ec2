// Draws Swirlmote's icon into an icon theme directory (the repository's
// data/icons): PNGs of every size the desktop asks for and a scalable SVG,
//   swirlmote_make_icon <directory>
// writes <directory>/hicolor/<N>x<N>/apps/swirlmote.png and
// <directory>/hicolor/scalable/apps/swirlmote.svg. The output depends on
// nothing but this program, so running it again writes the same bytes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/rgba_png.h"
#include "raster.h"
#include "svg.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path theme = std::filesystem::path(argv[1]) / "hicolor";
  for (const int side : kSizes) {
    const std::string name = std::to_string(side) + "x" + std::to_string(side);
    const std::filesystem::path directory = theme / name / "apps";
    std::filesystem::create_directories(directory);
    if (!writeRgbaPng(directory / "swirlmote.png", side, rasterizeIcon(side), "swirlmote_make_icon")) {
      return 1;
    }
  }
  const std::filesystem::path scalable = theme / "scalable/apps";
  std::filesystem::create_directories(scalable);
  std::ofstream svg(scalable / "swirlmote.svg", std::ios::binary);
  svg << iconSvg();
  if (!svg.flush()) {
    std::fprintf(stderr, "swirlmote_make_icon: cannot write %s\n", (scalable / "swirlmote.svg").c_str());
    return 1;
  }
  return 0;
}
