#include "platform/dpms_query.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

std::function<bool()> dpmsQuery(Display* display) {
  int event = 0;
  int error = 0;
  if (!DPMSQueryExtension(display, &event, &error) || !DPMSCapable(display)) {
    return nullptr;
  }
  return [display] {
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    return !DPMSInfo(display, &level, &enabled) || !enabled || level == DPMSModeOn;
  };
}
