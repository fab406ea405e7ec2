#include "platform/sdl_input.h"

namespace {

SurfaceInput::Key keyOf(SDL_Keycode sym) {
  switch (sym) {
    case SDLK_ESCAPE: return SurfaceInput::Key::Escape;
    case SDLK_q: return SurfaceInput::Key::Q;
    case SDLK_f: return SurfaceInput::Key::F;
    case SDLK_o: return SurfaceInput::Key::O;
    default: return SurfaceInput::Key::Other;
  }
}

}  // namespace

std::optional<SurfaceInput> surfaceInputOf(const SDL_Event& event) {
  using Kind = SurfaceInput::Kind;
  switch (event.type) {
    case SDL_QUIT: return SurfaceInput{.kind = Kind::Quit};
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        return SurfaceInput{.kind = Kind::CloseButton};
      }
      return std::nullopt;
    case SDL_KEYDOWN:
      return SurfaceInput{
          .kind = Kind::Key, .key = keyOf(event.key.keysym.sym), .repeat = event.key.repeat != 0};
    case SDL_MOUSEBUTTONDOWN: return SurfaceInput{.kind = Kind::Button};
    case SDL_MOUSEWHEEL: return SurfaceInput{.kind = Kind::Wheel};
    case SDL_MOUSEMOTION:
      return SurfaceInput{.kind = Kind::PointerMoved, .dx = event.motion.xrel, .dy = event.motion.yrel};
    default: return std::nullopt;
  }
}
