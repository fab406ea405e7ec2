#pragma once

#include <SDL2/SDL.h>

#include <optional>

#include "platform/frame_surface.h"

// The input an SDL event carries; nothing for an event that is none (a key
// released, a window exposed or resized: a surface's size is read as it is
// drawn).
std::optional<SurfaceInput> surfaceInputOf(const SDL_Event& event);
