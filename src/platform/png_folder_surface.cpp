#include "platform/png_folder_surface.h"

#include <cstdio>
#include <utility>

#include "platform/png_writer.h"

PngFolderSurface::PngFolderSurface(std::string directory, Size size, int64_t frames, int64_t every)
    : directory_(std::move(directory)), size_(size), frames_(frames), every_(every) {}

bool PngFolderSurface::present(OpenGLContext& context) {
  const int64_t frame = ++presented_;
  const bool wanted = frame == frames_ || (every_ > 0 && frame % every_ == 0);
  if (wanted) {
    int width = 0;
    int height = 0;
    if (!context.readPixels(rgba_, width, height)) {
      return false;
    }
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(frame));
    if (!writePng(directory_ + name, width, height, rgba_)) {
      return false;
    }
    ++written_;
  }
  reportProgress();
  return true;
}

bool PngFolderSurface::shownFrame(OpenGLContext& context, std::vector<uint8_t>& rgba, int& width,
                                  int& height) {
  return presented_ > 0 && context.readPixels(rgba, width, height);
}

void PngFolderSurface::reportProgress() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastReport_ >= std::chrono::seconds(1)) {
    std::fprintf(stderr, "\rswirlmote render: frame %lld of %lld", static_cast<long long>(presented_),
                 static_cast<long long>(frames_));
    lastReport_ = now;
    reported_ = true;
  }
  if (presented_ == frames_ && reported_) {
    std::fputc('\n', stderr);
  }
}
