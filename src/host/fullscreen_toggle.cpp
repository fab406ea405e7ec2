#include "host/fullscreen_toggle.h"

void FullScreenToggle::toggle(SDL_Window* window) {
  if (windowed_) {
    SDL_SetWindowBordered(window, SDL_TRUE);
    SDL_SetWindowSize(window, windowed_->w, windowed_->h);
    SDL_SetWindowPosition(window, windowed_->x, windowed_->y);
    windowed_.reset();
    return;
  }
  SDL_Rect display;
  if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &display) != 0) {
    return;
  }
  SDL_Rect place;
  SDL_GetWindowPosition(window, &place.x, &place.y);
  SDL_GetWindowSize(window, &place.w, &place.h);
  windowed_ = place;
  SDL_SetWindowBordered(window, SDL_FALSE);
  SDL_SetWindowPosition(window, display.x, display.y);
  SDL_SetWindowSize(window, display.w, display.h);
  SDL_RaiseWindow(window);
}
