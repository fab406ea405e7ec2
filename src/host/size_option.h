#pragma once

#include <optional>
#include <string_view>

#include "saver/geometry.h"

// "WxH" with both sides whole numbers from 1 to 16384.
std::optional<Size> parseSize(std::string_view text);
