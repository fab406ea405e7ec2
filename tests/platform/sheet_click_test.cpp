#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdlib.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "platform/gtk_nib.h"
#include "support/config_home.h"
#include "support/process.h"
#include "support/sheet_display.h"

namespace {

// The output of a shell command, or nothing when it fails.
std::optional<std::string> output(const std::string& command) {
  const ProgramResult run = runShell(command);
  return run.status == 0 ? std::optional(run.out) : std::nullopt;
}

// Where a button's middle lies in the sheet, and the sheet's size, as the
// layout comes out on this display over the given store: the program under
// test lays out the same file with the same values.
struct SheetGeometry {
  int buttonX, buttonY;
  int width, height;
};

SheetGeometry measureSheet(ScreenSaverDefaults& defaults, const char* button) {
  SheetOutlets outlets;
  // Actions that do nothing, so that every button the layout connects has
  // a control to find.
  const Nib::Action actions[] = {{"changeConfiguration", [](Control*) {}}, {"closeSheet", [](Control*) {}}};
  const auto nib = GtkNibLoader::loadNibFile(SWIRLMOTE_SOURCE_DIR "/resources/Swirlmote.ui", actions);
  EXPECT_NE(nib, nullptr);
  if (!nib) {
    return {};
  }
  connectOutlets(*nib, outlets);
  synchronizeToDefaults(outlets, defaults);
  GtkWidget* window = GTK_WIDGET(nib->windowNamed(kWindowOutlet)->gtkWindow());
  gtk_widget_show(window);
  for (int i = 0; i < 200 && !gtk_widget_get_mapped(window); ++i) {
    g_usleep(10000);
    runPendingGtkEvents();
  }
  const WidgetControl* control = nib->controlNamed(button);
  EXPECT_NE(control, nullptr) << button;
  if (!control) {
    return {};
  }
  GtkWidget* pressed = control->widget();
  SheetGeometry geometry{};
  gtk_widget_translate_coordinates(pressed, window, gtk_widget_get_allocated_width(pressed) / 2,
                                   gtk_widget_get_allocated_height(pressed) / 2, &geometry.buttonX,
                                   &geometry.buttonY);
  gtk_window_get_size(GTK_WINDOW(window), &geometry.width, &geometry.height);
  return geometry;
}

// `xdotool getwindowgeometry --shell` as names and numbers.
std::map<std::string, int> windowGeometry(const std::string& window) {
  std::map<std::string, int> values;
  std::istringstream lines(output("xdotool getwindowgeometry --shell " + window).value_or(""));
  std::string line;
  while (std::getline(lines, line)) {
    const auto equals = line.find('=');
    if (equals != std::string::npos) {
      values[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
    }
  }
  return values;
}

class SheetClick : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_TEST_DISPLAY();
    REQUIRE_OR_SKIP(output("command -v xdotool"), "xdotool");
  }
  void startConfigure() {
    saver_ = std::make_unique<Process>(std::vector<std::string>{SWIRLMOTE_BINARY, "--configure"},
                                       std::vector<std::string>{}, scratch_ / "err");
  }

  // The program's exit status, once it has ended of itself within a while.
  std::optional<int> exitStatus() { return saver_->wait(std::chrono::seconds(20)); }

  std::optional<std::string> findSheetWindow() {
    for (int i = 0; i < 200; ++i) {
      if (const auto found =
              output("xdotool search --onlyvisible --name '^Swirlmote Settings$' 2>/dev/null")) {
        return found->substr(0, found->find('\n'));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::nullopt;
  }

  // Starts the program with its sheet over the store's values and clicks
  // the button where the pointer finds it on the screen; the program's exit
  // status once the sheet has ended it.
  std::optional<int> clickInConfigure(const char* button) {
    ScreenSaverDefaults stored(home_.storePath(), storeGroup());
    const SheetGeometry expected = measureSheet(stored, button);

    startConfigure();
    const auto window = findSheetWindow();
    EXPECT_TRUE(window) << "the sheet did not come up";
    if (!window) {
      return std::nullopt;
    }
    auto geometry = windowGeometry(*window);
    EXPECT_EQ(geometry["WIDTH"], expected.width) << "the sheet is laid out as measured";
    EXPECT_EQ(geometry["HEIGHT"], expected.height);
    const int x = geometry["X"] + expected.buttonX;
    const int y = geometry["Y"] + expected.buttonY;
    EXPECT_TRUE(
        output("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1"));
    return exitStatus();
  }

  TempConfigHome home_;
  ScratchDir scratch_;
  std::unique_ptr<Process> saver_;
};

constexpr const char* kStoredLines =
    "number of cyclones=4\nnumber of particles=120\nparticle shape=3\nparticle scale=1.5\nshow "
    "afterimage=true\n";

TEST_F(SheetClick, ClickingOKStoresTheSheetsSettings) {
  writeStore(home_.dir(), kStoredLines);
  EXPECT_EQ(clickInConfigure("BTN_OK"), 0) << "the program ends with its sheet";

  ScreenSaverDefaults onDisk(home_.storePath(), storeGroup());
  for (const PreferenceKey& key : kPreferenceKeys) {
    EXPECT_TRUE(onDisk.hasValueForKey(std::string(key.name))) << key.name;
  }
  EXPECT_EQ(onDisk.integerForKey("number of cyclones"), 4);
  EXPECT_EQ(onDisk.integerForKey("number of particles"), 120);
  EXPECT_EQ(onDisk.integerForKey("particle shape"), 3);
  EXPECT_EQ(onDisk.floatForKey("particle scale"), 1.5f);
  EXPECT_TRUE(onDisk.boolForKey("show afterimage"));
  EXPECT_EQ(onDisk.integerForKey("particle color mode"), 0);
}

TEST_F(SheetClick, ClickingCancelLeavesTheStoreAsItWas) {
  writeStore(home_.dir(), kStoredLines);
  const std::string before = readFile(home_.storePath());
  EXPECT_EQ(clickInConfigure("BTN_cancel"), 0) << "the program ends with its sheet";
  EXPECT_EQ(readFile(home_.storePath()), before);
}

}  // namespace
