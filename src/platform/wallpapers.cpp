#include "platform/wallpapers.h"

#include <utility>

#include "platform/gtk_layer_background.h"
#include "platform/wallpaper_surface.h"

std::unique_ptr<Wallpapers> Wallpapers::start() {
  if (!LayerBackground::startGtkOnLayerShell()) {
    return nullptr;
  }
  return std::unique_ptr<Wallpapers>(new Wallpapers());
}

std::vector<std::unique_ptr<FrameSurface>> Wallpapers::onEveryOutput() {
  std::vector<std::unique_ptr<FrameSurface>> surfaces;
  for (auto& window : LayerBackground::onEveryOutput()) {
    surfaces.push_back(std::make_unique<WallpaperSurface>(std::move(window)));
  }
  return surfaces;
}

void Wallpapers::onOutputsAdded(std::function<void(std::unique_ptr<FrameSurface>)> added) {
  LayerBackground::onOutputsAdded([added = std::move(added)](std::unique_ptr<LayerBackground> window) {
    added(std::make_unique<WallpaperSurface>(std::move(window)));
  });
}
