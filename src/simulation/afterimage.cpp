#include "simulation/field.h"

// Counters are kept reduced modulo 20: only the remainder is ever used, and
// an unbounded count would overflow after 2^31 frames. Seeded at 0 to 15 and
// wrapped here, a count is always 0 to 19, so the wrap is a comparison.
void Field::model_handle_afterimage() {
  const auto n = static_cast<std::size_t>(no_particles);
  for (std::size_t p = 0; p < n; ++p) {
    for (std::size_t m = 0; m < 4; ++m) {
      const std::size_t i = 4 * p + m;
      ai_cnt[i] = ai_cnt[i] == 19 ? 0 : ai_cnt[i] + 1;
      if (ai_cnt[i] == 0) {
        ai_loc[i] = loc[p];
        ai_color[i] = {color[p].r, color[p].g, color[p].b, color[p].a * 0.5f};
      }
    }
  }
}

float afterimageFade(int32_t count) {
  return static_cast<float>(19 - count % 20) / 20.0f;
}
