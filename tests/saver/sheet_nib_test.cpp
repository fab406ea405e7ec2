#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/egl_context.h"
#include "platform/gtk_nib.h"
#include "platform/png_image.h"
#include "saver/swirlmote.h"
#include "support/config_home.h"
#include "support/sheet_display.h"

// Xlib's macros (None, Bool, Status) clash with gtest's names: last.
#include <X11/Xutil.h>
#include <gdk/gdkx.h>

namespace {

std::string layoutPath() {
  return std::string(SWIRLMOTE_SOURCE_DIR) + "/resources/Swirlmote.ui";
}

class SheetNib : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_TEST_DISPLAY(); }

  // A layout file of the given text in the test's own directory.
  std::string layoutFile(const std::string& text) {
    const std::string path = home_.dir() + "/Swirlmote.ui";
    writeFile(path, text);
    return path;
  }

  // The layout in the file with the outlets connected, as a view loads its
  // own.
  std::unique_ptr<GtkNib> load(const std::string& path, std::span<const Nib::Action> actions = {}) {
    auto nib = GtkNibLoader::loadNibFile(path, actions);
    if (nib) {
      connectOutlets(*nib, outlets_);
    }
    return nib;
  }

  TempConfigHome home_;
  SheetOutlets outlets_;
};

TEST_F(SheetNib, BrokenLayoutLoadsNothingAndSaysWhich) {
  const char* broken[] = {
      "<interface><object class=\"GtkWindow\" id=\"WIN_sheet\"></interface>",
      "<interface><object class=\"NoSuchWidget\" id=\"WIN_sheet\"/></interface>",
      "<interface><object class=\"GtkWindow\" id=\"WIN_sheet\"><property name=\"no-such\">1</property>"
      "</object></interface>",
      "not a layout",
  };
  for (const char* text : broken) {
    SCOPED_TRACE(text);
    const std::string path = layoutFile(text);
    testing::internal::CaptureStderr();
    const auto nib = load(path);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(nib, nullptr);
    EXPECT_NE(said.find(path), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
    EXPECT_EQ(outlets_.WIN_sheet, nullptr);
  }
}

TEST_F(SheetNib, SaverRunsOnWithoutItsLayout) {
  const char* resources = std::getenv("SWIRLMOTE_RESOURCES");
  const std::string previous = resources ? resources : "";
  setenv("SWIRLMOTE_RESOURCES", home_.dir().c_str(), 1);
  EglContextFactory egl;
  PngDecoder png;
  GtkNibLoader nibs;
  auto view = Swirlmote::initWithFrame(Rect{{}, {64, 48}}, false, {egl, png, &nibs});
  ASSERT_NE(view, nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(view->configureSheet(), nullptr);
  const std::string said = testing::internal::GetCapturedStderr();
  setenv("SWIRLMOTE_RESOURCES", previous.c_str(), 1);
  EXPECT_NE(said.find("Swirlmote.ui"), std::string::npos) << said;
  EXPECT_EQ(view->configureSheet(), nullptr) << "asked again, it is not loaded again";
  EXPECT_TRUE(view->hasConfigureSheet());
  EXPECT_EQ(view->outlets().BTN_OK, nullptr);
  view->startAnimation();
  EXPECT_EQ(view->field().no_particles, 50);
}

// A layout cut short is damaged: the view names each outlet and each action
// it lacks, once, and the complete layout draws no word.
TEST_F(SheetNib, EachMissingOutletAndActionIsReportedOnce) {
  std::ifstream in(layoutPath(), std::ios::binary);
  const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const char* resources = std::getenv("SWIRLMOTE_RESOURCES");
  const std::string previous = resources ? resources : "";
  setenv("SWIRLMOTE_RESOURCES", home_.dir().c_str(), 1);
  EglContextFactory egl;
  PngDecoder png;
  for (const std::size_t length : {whole.size(), std::size_t{3000}}) {
    SCOPED_TRACE("the layout's first " + std::to_string(length) + " bytes");
    const std::string text = whole.substr(0, length);
    layoutFile(text);
    // What the text holds, told from the text itself.
    std::vector<std::string> missing;
    for (const auto& [name, outlet] : kControlOutlets) {
      if (text.find("id=\"" + std::string(name) + "\"") == std::string::npos) {
        missing.emplace_back(name);
      }
    }
    for (const char* action : {"changeConfiguration", "closeSheet"}) {
      if (text.find("handler=\"" + std::string(action) + "\"") == std::string::npos) {
        missing.emplace_back(action);
      }
    }
    GtkNibLoader nibs;
    auto view = Swirlmote::initWithFrame(Rect{{}, {64, 48}}, false, {egl, png, &nibs});
    ASSERT_NE(view, nullptr);
    testing::internal::CaptureStderr();
    ASSERT_NE(view->configureSheet(), nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(static_cast<std::size_t>(std::count(said.begin(), said.end(), '\n')), missing.size()) << said;
    for (const std::string& name : missing) {
      EXPECT_NE(said.find(" " + name + ";"), std::string::npos) << name << " not named in:\n" << said;
    }
  }
  setenv("SWIRLMOTE_RESOURCES", previous.c_str(), 1);
}

// Outlets the layout lacks stay null; signals naming no action of the owner
// stay unconnected.
TEST_F(SheetNib, ConnectsOnlyWhatBothSidesHave) {
  const std::string path = layoutFile(R"(<interface>
    <object class="GtkWindow" id="WIN_sheet">
      <child><object class="GtkCheckButton" id="SWTCH_afterimage">
        <signal name="toggled" handler="changeConfiguration"/>
        <signal name="clicked" handler="noSuchAction"/>
      </object></child>
    </object>
  </interface>)");
  int changes = 0;
  const Nib::Action actions[] = {{"changeConfiguration", [&](Control* sender) {
                                    EXPECT_EQ(sender, outlets_.SWTCH_afterimage);
                                    ++changes;
                                  }}};
  const auto nib = load(path, actions);
  ASSERT_NE(nib, nullptr);
  ASSERT_NE(outlets_.SWTCH_afterimage, nullptr);
  EXPECT_EQ(outlets_.WIN_sheet, nib->windowNamed(kWindowOutlet));
  EXPECT_EQ(outlets_.BTN_OK, nullptr);
  EXPECT_EQ(outlets_.SLDR_no_cyclones, nullptr);
  gtk_button_clicked(GTK_BUTTON(nib->controlNamed("SWTCH_afterimage")->widget()));
  EXPECT_EQ(changes, 1);
  outlets_.SWTCH_afterimage->setState(0);
  EXPECT_EQ(changes, 1) << "a change made in code sends no action";
  EXPECT_EQ(outlets_.SWTCH_afterimage->state(), 0);
}

TEST_F(SheetNib, SheetIsCentredOnAndTransientForTheHostsWindow) {
  GtkWidget* host = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(host), 800, 600);
  gtk_window_move(GTK_WINDOW(host), 100, 50);
  gtk_widget_show(host);
  const auto nib = load(layoutPath());
  ASSERT_NE(nib, nullptr);
  GtkSheetWindow* sheet = nib->windowNamed(kWindowOutlet);
  const Window hostId = gdk_x11_window_get_xid(gtk_widget_get_window(host));
  int ends = 0;
  sheet->beginSheet(hostId, [&] { ++ends; });
  for (int i = 0; i < 200 && !gtk_widget_get_mapped(GTK_WIDGET(sheet->gtkWindow())); ++i) {
    g_usleep(10000);
    runPendingGtkEvents();
  }
  ASSERT_TRUE(sheet->isVisible());
  ASSERT_TRUE(sheet->isSheetUp());

  GdkWindow* drawn = gtk_widget_get_window(GTK_WIDGET(sheet->gtkWindow()));
  int x = 0;
  int y = 0;
  gdk_window_get_origin(drawn, &x, &y);
  EXPECT_NEAR(x + gdk_window_get_width(drawn) / 2, 100 + 400, 1);
  EXPECT_NEAR(y + gdk_window_get_height(drawn) / 2, 50 + 300, 1);
  Window transientFor = 0;
  XGetTransientForHint(GDK_WINDOW_XDISPLAY(drawn), GDK_WINDOW_XID(drawn), &transientFor);
  EXPECT_EQ(transientFor, hostId);

  int laterEnds = 0;
  sheet->beginSheet(hostId, [&] { ++laterEnds; });
  sheet->endSheet();
  sheet->endSheet();
  EXPECT_EQ(ends, 1) << "the host that began the sheet hears of its end once";
  EXPECT_EQ(laterEnds, 0) << "showing a sheet that is up only raises it";
  EXPECT_FALSE(sheet->isSheetUp());
  gtk_widget_destroy(host);
}

// In a fresh process, where GTK has not come up: with no display to open
// there is no sheet, and the saver works on.
TEST(SheetWithoutDisplay, CreationSucceedsWithNoSheet) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        const TempConfigHome home;
        EglContextFactory egl;
        PngDecoder png;
        GtkNibLoader nibs;
        auto view = Swirlmote::initWithFrame(Rect{{}, {64, 48}}, false, {egl, png, &nibs});
        const bool ok = view && view->configureSheet() == nullptr && view->outlets().BTN_OK == nullptr;
        view.reset();
        std::exit(ok ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
