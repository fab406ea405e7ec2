#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The store keeps every value as text. These read a stored text as each of
// the three types, converting between them as macOS preferences do: a
// boolean reads as 1 or 0, a number reads as a boolean by being non-zero, a
// float reads as an integer truncated toward zero. Nothing when the text is
// no value of any type, or is not finite.
std::optional<int64_t> integerFromText(std::string_view text);
std::optional<float> floatFromText(std::string_view text);
std::optional<bool> boolFromText(std::string_view text);

std::string textFromInteger(int64_t value);
// The shortest text that reads back to the same 32-bit float.
std::string textFromFloat(float value);
std::string textFromBool(bool value);
