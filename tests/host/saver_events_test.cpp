#include "host/saver_events.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/sdl_input.h"

namespace {

SDL_Event key(SDL_Keycode sym, bool repeat = false) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = sym;
  event.key.repeat = repeat;
  return event;
}

SDL_Event ofType(uint32_t type) {
  SDL_Event event{};
  event.type = type;
  return event;
}

SDL_Event windowEvent(uint8_t what) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = what;
  return event;
}

// What an SDL event asks of a mode, through the input it carries.
SaverAction actionOf(const SDL_Event& event, SaverMode mode) {
  const auto input = surfaceInputOf(event);
  return input ? actionFor(*input, mode) : SaverAction::None;
}

struct Case {
  const char* what;
  SDL_Event event;
  SaverAction window;  // and the preview
  SaverAction fullScreen;
};

TEST(SaverEvents, EachModeHasItsWayOut) {
  using A = SaverAction;
  const Case cases[] = {
      {"Esc", key(SDLK_ESCAPE), A::Quit, A::Quit},
      {"q", key(SDLK_q), A::Quit, A::Quit},
      {"f", key(SDLK_f), A::ToggleFullScreen, A::Quit},
      {"o", key(SDLK_o), A::ShowConfigureSheet, A::Quit},
      {"another key", key(SDLK_SPACE), A::None, A::Quit},
      {"a held key repeating", key(SDLK_f, true), A::None, A::Quit},
      {"key released", ofType(SDL_KEYUP), A::None, A::None},
      {"button", ofType(SDL_MOUSEBUTTONDOWN), A::None, A::Quit},
      {"wheel", ofType(SDL_MOUSEWHEEL), A::None, A::Quit},
      {"pointer", ofType(SDL_MOUSEMOTION), A::None, A::PointerMoved},
      {"quit", ofType(SDL_QUIT), A::Quit, A::Quit},
      {"close button", windowEvent(SDL_WINDOWEVENT_CLOSE), A::Quit, A::None},
      // A surface's size is read as each frame is drawn.
      {"new size", windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED), A::None, A::None},
      {"exposed", windowEvent(SDL_WINDOWEVENT_EXPOSED), A::None, A::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(actionOf(c.event, SaverMode::Window), c.window) << c.what;
    EXPECT_EQ(actionOf(c.event, SaverMode::Preview), c.window) << c.what;
    EXPECT_EQ(actionOf(c.event, SaverMode::FullScreen), c.fullScreen) << c.what;
    // The owner of a foreign window decides when the saver ends, and its
    // size comes from the window itself.
    EXPECT_EQ(actionOf(c.event, SaverMode::ForeignWindow), A::None) << c.what;
  }
}

// Movements add up, back and forth, to the distance from where the pointer
// was when full screen began.
TEST(WakeTracker, OnlyAMoveBeyondTheThresholdCounts) {
  const struct {
    const char* what;
    std::vector<std::pair<int, int>> moves;
    bool far;
  } cases[] = {
      {"no movement", {{0, 0}}, false},
      {"to the threshold", {{10, -10}}, false},
      {"to the threshold in small steps", {{3, 0}, {3, 0}, {4, 0}, {0, -10}}, false},
      {"jitter far and back", {{8, 0}, {-8, 0}, {8, 0}, {-8, 0}, {8, 0}}, false},
      {"one past it across", {{11, 0}}, true},
      {"one past it down", {{0, 0}, {0, -11}}, true},
      {"past it in small steps", {{4, 4}, {4, 4}, {3, 3}}, true},
      {"a jump", {{1400, 0}}, true},
  };
  for (const auto& c : cases) {
    WakeTracker wake;
    bool far = false;
    for (const auto& [dx, dy] : c.moves) {
      far = wake.movedFar(dx, dy);
    }
    EXPECT_EQ(far, c.far) << c.what;
  }
}

}  // namespace
