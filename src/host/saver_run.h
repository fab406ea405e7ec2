#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/frame_loop.h"
#include "host/run_options.h"

class SdlEvents;
class SdlVideo;
class SdlWindowSurface;

// What the saver's options ask of its views and of its frame loop.
ViewOptions viewOptionsOf(const RunOptions& options);
LoopOptions loopOptionsOf(const RunOptions& options, bool endWhenASurfaceCloses);

// The mode's windows of our own, each watched from as soon as it is made:
// another client may destroy it at once. A window larger than its display
// is made smaller, with a message.
void addOwnSurfaces(const RunOptions& options, const SdlVideo& video, SdlEvents& events,
                    std::vector<std::unique_ptr<SdlWindowSurface>>& surfaces);

// --screenshot: writes the first screen's last frame as a PNG file. True
// when none was asked for (no path) or it was written, false after a
// message when there was no frame or it could not be written.
bool saveScreenshot(FrameLoop& loop, int64_t framesDrawn, const std::string& path);
