#include <X11/Xlib.h>
#include <X11/extensions/sync.h>
#include <glib-unix.h>
#include <glib.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "platform/idle_monitor.h"

namespace {

int64_t fromSyncValue(const XSyncValue& value) {
  return (static_cast<int64_t>(XSyncValueHigh32(value)) << 32) | XSyncValueLow32(value);
}

XSyncValue toSyncValue(int64_t number) {
  XSyncValue value;
  XSyncIntsToValue(&value, static_cast<unsigned>(number & 0xffffffff), static_cast<int>(number >> 32));
  return value;
}

// The server's IDLETIME counter holds the milliseconds since the last input
// (or XResetScreenSaver). Its alarms fire once each: "idle" when it reaches
// the present value plus the timeout, "reset" when it falls below the
// present value (input after arming: "idle" is then set at the timeout
// alone), and "back" when it falls after "idle".
class XIdleMonitor : public IdleMonitor {
 public:
  XIdleMonitor(IdleListener& listener, Display* display, XSyncCounter counter, int eventBase)
      : IdleMonitor(listener), display_(display), counter_(counter), eventBase_(eventBase) {
    // A lost connection is this monitor's to report: closing it must not end
    // the process.
    XSetIOErrorExitHandler(
        display_, [](Display*, void*) {}, nullptr);
    source_ =
        g_unix_fd_add(ConnectionNumber(display_), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                      &XIdleMonitor::readable, this);
  }
  ~XIdleMonitor() override {
    if (queuedSource_) g_source_remove(queuedSource_);
    if (source_) {
      disarm();
      g_source_remove(source_);
      XCloseDisplay(display_);
      return;
    }
    // Xlib's own handler of a lost connection ends the process, whatever
    // the exit handler above says; one that returns lets it close.
    const auto previous = XSetIOErrorHandler([](Display*) { return 0; });
    XCloseDisplay(display_);
    XSetIOErrorHandler(previous);
  }

  void arm(std::chrono::milliseconds timeout) override {
    disarm();
    timeout_ = timeout.count();
    XSyncValue now;
    const int64_t already = XSyncQueryCounter(display_, counter_, &now) ? fromSyncValue(now) : 0;
    idleAlarm_ = createAlarm(XSyncPositiveComparison, already + timeout_);
    if (already > 0) {
      resetAlarm_ = createAlarm(XSyncNegativeComparison, already - 1);
    }
    XFlush(display_);
    // A reply waited for above may have brought events with it, which the
    // connection's descriptor will not announce again.
    if (!queuedSource_ && XEventsQueued(display_, QueuedAlready) > 0) {
      queuedSource_ = g_idle_add(&XIdleMonitor::queued, this);
    }
  }

  void disarm() override {
    for (XSyncAlarm* alarm : {&idleAlarm_, &resetAlarm_, &backAlarm_}) {
      destroyAlarm(*alarm);
    }
    XFlush(display_);
  }

  const char* name() const override { return "IDLETIME"; }

 private:
  XSyncAlarm createAlarm(XSyncTestType test, int64_t value) {
    XSyncAlarmAttributes attributes{};
    attributes.trigger.counter = counter_;
    attributes.trigger.value_type = XSyncAbsolute;
    attributes.trigger.wait_value = toSyncValue(value);
    attributes.trigger.test_type = test;
    attributes.delta = toSyncValue(0);
    attributes.events = True;
    return XSyncCreateAlarm(
        display_,
        XSyncCACounter | XSyncCAValueType | XSyncCAValue | XSyncCATestType | XSyncCADelta | XSyncCAEvents,
        &attributes);
  }
  void destroyAlarm(XSyncAlarm& alarm) {
    if (alarm != None) {
      XSyncDestroyAlarm(display_, alarm);
      alarm = None;
    }
  }

  void alarmFired(const XSyncAlarmNotifyEvent& event) {
    if (event.alarm == None) {
      return;
    }
    if (event.alarm == resetAlarm_) {
      destroyAlarm(resetAlarm_);
      destroyAlarm(idleAlarm_);
      idleAlarm_ = createAlarm(XSyncPositiveComparison, timeout_);
    } else if (event.alarm == idleAlarm_) {
      disarm();
      backAlarm_ = createAlarm(XSyncNegativeComparison, fromSyncValue(event.counter_value) - 1);
      listener_.idle();
    } else if (event.alarm == backAlarm_) {
      destroyAlarm(backAlarm_);
      listener_.back();
    }
    XFlush(display_);
  }

  void handleEvents() {
    while (source_ && XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == eventBase_ + XSyncAlarmNotify) {
        alarmFired(reinterpret_cast<const XSyncAlarmNotifyEvent&>(event));
      }
    }
  }

  // A server that has ended leaves the connection readable at its end; Xlib
  // would end the process on reading it.
  static gboolean readable(gint fd, GIOCondition condition, gpointer data) {
    auto* self = static_cast<XIdleMonitor*>(data);
    char byte = 0;
    const ssize_t peeked = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if ((condition & (G_IO_HUP | G_IO_ERR)) || peeked == 0 ||
        (peeked < 0 && errno != EAGAIN && errno != EINTR)) {
      self->source_ = 0;
      self->listener_.desktopEnded("lost the connection to the X server");
      return G_SOURCE_REMOVE;
    }
    self->handleEvents();
    return G_SOURCE_CONTINUE;
  }
  static gboolean queued(gpointer data) {
    auto* self = static_cast<XIdleMonitor*>(data);
    self->queuedSource_ = 0;
    self->handleEvents();
    return G_SOURCE_REMOVE;
  }

  Display* display_;
  XSyncCounter counter_;
  int eventBase_;
  guint source_ = 0;
  guint queuedSource_ = 0;
  int64_t timeout_ = 0;
  XSyncAlarm idleAlarm_ = None;
  XSyncAlarm resetAlarm_ = None;
  XSyncAlarm backAlarm_ = None;
};

XSyncCounter idleTimeCounter(Display* display) {
  int count = 0;
  XSyncSystemCounter* counters = XSyncListSystemCounters(display, &count);
  XSyncCounter found = None;
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(counters[i].name, "IDLETIME") == 0) {
      found = counters[i].counter;
    }
  }
  if (counters) {
    XSyncFreeSystemCounterList(counters);
  }
  return found;
}

}  // namespace

std::unique_ptr<IdleMonitor> xIdleMonitor(IdleListener& listener) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    return nullptr;
  }
  int eventBase = 0;
  int errorBase = 0;
  int major = 0;
  int minor = 0;
  const XSyncCounter counter =
      XSyncQueryExtension(display, &eventBase, &errorBase) && XSyncInitialize(display, &major, &minor)
          ? idleTimeCounter(display)
          : None;
  if (counter == None) {
    XCloseDisplay(display);
    return nullptr;
  }
  return std::make_unique<XIdleMonitor>(listener, display, counter, eventBase);
}
