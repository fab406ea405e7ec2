#pragma once

inline constexpr const char* kUsage =
    "Usage: swirlmote [MODE] [OPTIONS]\n"
    "       swirlmote simulate [--seed S] [--frames N]\n"
    "       swirlmote render --frames N --size WxH --out DIR [--every K] [--seed S]\n"
    "       swirlmote config list | get KEY | set KEY VALUE | unset KEY | path\n"
    "\n"
    "A field of glowing particles swirling round drifting cyclones.\n"
    "\n"
    "Commands:\n"
    "  simulate        run the field without drawing and print it as JSON\n"
    "  render          draw frames headless (no display needed) into PNG files\n"
    "  config          read and change the stored settings\n"
    "\n"
    "Options:\n"
    "  --help          show this text\n"
    "  --version       show the version\n"
    "  --seed S        seed the random generator with S instead of the clock\n"
    "  --frames N      stop after N frames\n";
