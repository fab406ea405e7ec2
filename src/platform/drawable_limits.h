#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Why the current GL context cannot draw frames of this size, or nothing
// when it can: a side beyond the implementation's largest viewport or
// renderbuffer, or buffers of bytesPerPixel a pixel in all that need more
// memory than the process may still take (its address-space limit) or the
// machine has free.
std::optional<std::string> drawableSizeRefusal(int width, int height, std::size_t bytesPerPixel);

// Why the drawable that the current context has just been given cannot be
// drawn into, or nothing when it can: GL ran out of memory making it, or the
// framebuffer bound for drawing is incomplete.
std::optional<std::string> drawableFailure();
