#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/egl_context.h"
#include "platform/gtk_nib.h"
#include "platform/png_image.h"
#include "saver/swirlmote.h"
#include "support/config_home.h"
#include "support/sheet_display.h"

namespace {

using Outlet = Control* SheetOutlets::*;

// A saver view with its sheet loaded from the real layout, on the test
// program's X server, over a store of its own.
class SheetOverSaver : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_TEST_DISPLAY();
    create();
  }

  void create() {
    view_ = Swirlmote::initWithFrame(Rect{{}, {64, 48}}, false, {egl_, png_, &nibs_});
    ASSERT_NE(view_->configureSheet(), nullptr);
  }

  GtkWidget* widget(Outlet outlet) {
    auto* control = dynamic_cast<WidgetControl*>(view_->outlets().*outlet);
    EXPECT_NE(control, nullptr);
    return control ? control->widget() : nullptr;
  }
  GtkWindow* sheetWindow() { return static_cast<GtkSheetWindow*>(view_->configureSheet())->gtkWindow(); }
  GtkWidget* cancelButton() {
    return gtk_dialog_get_widget_for_response(GTK_DIALOG(sheetWindow()), GTK_RESPONSE_CANCEL);
  }

  // The user's edits, made on the widgets so that GTK signals them as it
  // would the user's; a colour button signals only the chooser's choice.
  void slide(Outlet slider, double value) { gtk_range_set_value(GTK_RANGE(widget(slider)), value); }
  void pick(Outlet popUp, int index) { gtk_combo_box_set_active(GTK_COMBO_BOX(widget(popUp)), index); }
  void chooseColor(Outlet well, GdkRGBA rgba) {
    gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(widget(well)), &rgba);
    g_signal_emit_by_name(widget(well), "color-set");
  }
  void click(GtkWidget* button) { gtk_button_clicked(GTK_BUTTON(button)); }
  std::string text(Outlet field) { return gtk_label_get_text(GTK_LABEL(widget(field))); }
  bool sensitive(Outlet outlet) { return gtk_widget_get_sensitive(widget(outlet)); }

  // Shows the sheet as the host does, hiding it again when it ends.
  void beginSheet() {
    SheetWindow* sheet = view_->configureSheet();
    sheet->beginSheet(0, [this, sheet] {
      ++sheetEnds_;
      sheet->orderOut();
    });
    runPendingGtkEvents();
  }

  ScreenSaverDefaults& store() { return ScreenSaverDefaults::defaultsForModuleWithName(storeGroup()); }
  ScreenSaverDefaults onDisk() { return ScreenSaverDefaults(home_.storePath(), storeGroup()); }

  TempConfigHome home_;
  EglContextFactory egl_;
  PngDecoder png_;
  GtkNibLoader nibs_;
  std::unique_ptr<Swirlmote> view_;
  int sheetEnds_ = 0;
};

TEST_F(SheetOverSaver, LayoutConnectsEveryOutletAndTagsItsButtons) {
  const SheetOutlets& o = view_->outlets();
  for (const auto& [name, outlet] : kControlOutlets) {
    EXPECT_NE(o.*outlet, nullptr) << name;
  }
  EXPECT_EQ(o.WIN_sheet, view_->configureSheet());
  EXPECT_EQ(view_->configureSheet(), view_->configureSheet());
  EXPECT_EQ(o.BTN_OK->tag(), kOKTag);
  EXPECT_NE(WidgetControl(cancelButton()).tag(), kOKTag);
  EXPECT_EQ(o.SWTCH_afterimage->tag(), 0);
  EXPECT_EQ(gtk_tree_model_iter_n_children(
                gtk_combo_box_get_model(GTK_COMBO_BOX(widget(&SheetOutlets::PUB_shape))), nullptr),
            10);
}

TEST_F(SheetOverSaver, ShowsTheStoredSettings) {
  store().setInteger(7, "number of cyclones");
  store().setInteger(120, "number of particles");
  store().setInteger(1, "particle color mode");
  store().setFloat(0.25f, "particle color red");
  store().setFloat(0.5f, "particle color alpha");
  store().setInteger(0, "background color mode");
  store().setFloat(0.75f, "background color blue");
  store().setInteger(7, "particle shape");
  store().setFloat(1.25f, "particle scale");
  store().setBool(true, "show afterimage");
  create();
  const SheetOutlets& o = view_->outlets();
  EXPECT_EQ(gtk_range_get_value(GTK_RANGE(widget(&SheetOutlets::SLDR_no_cyclones))), 7.0);
  EXPECT_EQ(text(&SheetOutlets::TEXT_no_cyclones), "7");
  EXPECT_EQ(o.SLDR_no_particles->doubleValue(), 120.0);
  EXPECT_EQ(text(&SheetOutlets::TEXT_no_particles), "120");
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(widget(&SheetOutlets::PUB_pt_color))), 1);
  EXPECT_EQ(o.CW_pt->color().r, 0.25f);
  EXPECT_EQ(o.CW_pt->color().a, 0.5f) << "the wells keep alpha";
  EXPECT_EQ(o.PUB_bg_color->indexOfSelectedItem(), 0);
  EXPECT_EQ(o.CW_bg->color().b, 0.75f);
  EXPECT_EQ(o.PUB_shape->indexOfSelectedItem(), 7);
  EXPECT_EQ(o.SLDR_scale_particle->doubleValue(), 1.25);
  EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget(&SheetOutlets::SWTCH_afterimage))));
  EXPECT_TRUE(sensitive(&SheetOutlets::CW_bg)) << "filling the controls sends no action";
  EXPECT_TRUE(sensitive(&SheetOutlets::BTN_OK));
}

// The sliders' ranges are the settings' limits: a stored value outside them
// puts the slider at the nearest end, while its text field shows the number
// stored. Pop-up indices with no item select nothing.
TEST_F(SheetOverSaver, ValuesOutsideTheLayoutsRangesAreHeldAtItsEnds) {
  store().setInteger(0, "number of cyclones");
  store().setInteger(500, "number of particles");
  store().setInteger(5, "particle color mode");
  store().setInteger(-2, "particle shape");
  create();
  const SheetOutlets& o = view_->outlets();
  EXPECT_EQ(o.SLDR_no_cyclones->doubleValue(), 1.0);
  EXPECT_EQ(text(&SheetOutlets::TEXT_no_cyclones), "0");
  EXPECT_EQ(o.SLDR_no_particles->doubleValue(), 200.0);
  EXPECT_EQ(text(&SheetOutlets::TEXT_no_particles), "500");
  EXPECT_EQ(o.PUB_pt_color->indexOfSelectedItem(), -1);
  EXPECT_EQ(o.PUB_shape->indexOfSelectedItem(), -1);
  EXPECT_EQ(o.SLDR_scale_particle->doubleValue(), 0.5) << "the empty store's 0.0";
}

TEST_F(SheetOverSaver, CyclonesSliderAtSevenPointNineShowsAndStoresSeven) {
  slide(&SheetOutlets::SLDR_no_cyclones, 7.9);
  EXPECT_EQ(view_->outlets().SLDR_no_cyclones->doubleValue(), 7.9) << "a value set in code is not rounded";
  EXPECT_EQ(text(&SheetOutlets::TEXT_no_cyclones), "7");
  click(widget(&SheetOutlets::BTN_OK));
  EXPECT_EQ(onDisk().integerForKey("number of cyclones"), 7);
}

TEST_F(SheetOverSaver, DraggingASliderKeepsToWholeSteps) {
  gboolean handled = FALSE;
  g_signal_emit_by_name(widget(&SheetOutlets::SLDR_no_particles), "change-value", GTK_SCROLL_JUMP, 120.6,
                        &handled);
  EXPECT_EQ(view_->outlets().SLDR_no_particles->doubleValue(), 121.0);
  EXPECT_EQ(text(&SheetOutlets::TEXT_no_particles), "121");
}

TEST_F(SheetOverSaver, OKReseedsTheFieldAtOnce) {
  beginSheet();
  slide(&SheetOutlets::SLDR_no_particles, 120);
  slide(&SheetOutlets::SLDR_no_cyclones, 4);
  click(widget(&SheetOutlets::BTN_OK));
  EXPECT_EQ(view_->field().no_particles, 480);
  EXPECT_EQ(view_->field().no_cyclones, 4);
  EXPECT_TRUE(view_->field().loc);
  EXPECT_EQ(onDisk().integerForKey("number of particles"), 120);
  EXPECT_EQ(onDisk().integerForKey("number of cyclones"), 4);
  EXPECT_EQ(sheetEnds_, 1);
  EXPECT_FALSE(view_->configureSheet()->isVisible());
}

TEST_F(SheetOverSaver, CancelLeavesStoreAndFieldAndKeepsTheEdits) {
  view_->setFrameSize({64, 48});
  view_->startAnimation();
  view_->animateOneFrame();
  const Field& field = view_->field();
  const Vector3F* positions = field.loc.get();
  const uint32_t tick = field.tick;
  beginSheet();
  slide(&SheetOutlets::SLDR_no_cyclones, 9);
  pick(&SheetOutlets::PUB_shape, 3);
  click(cancelButton());

  EXPECT_EQ(sheetEnds_, 1);
  EXPECT_FALSE(view_->configureSheet()->isVisible());
  EXPECT_FALSE(onDisk().hasValueForKey("number of cyclones"));
  EXPECT_EQ(store().integerForKey("particle shape"), 0);
  EXPECT_EQ(field.no_cyclones, 1);
  EXPECT_EQ(field.loc.get(), positions) << "the field runs on";
  EXPECT_EQ(field.tick, tick);

  beginSheet();
  EXPECT_TRUE(view_->configureSheet()->isVisible());
  EXPECT_EQ(view_->outlets().SLDR_no_cyclones->doubleValue(), 9.0);
  EXPECT_EQ(text(&SheetOutlets::TEXT_no_cyclones), "9");
  EXPECT_EQ(view_->outlets().PUB_shape->indexOfSelectedItem(), 3);
}

// As --configure shows it: each change reseeds the field with the sheet's
// values at once and stores nothing; its end gives the field back to the
// store, as OK left it, and to the run's own overrides.
TEST_F(SheetOverSaver, APreviewFollowsTheSheetUntilItEnds) {
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    create();
    sheetEnds_ = 0;
    SettingsOverrides run;
    run.cyclones = 2;
    view_->setOverrides(run);
    view_->setFrameSize({64, 48});
    view_->startAnimation();
    view_->previewSheetChanges();
    beginSheet();
    slide(&SheetOutlets::SLDR_no_particles, 120);
    slide(&SheetOutlets::SLDR_no_cyclones, 4);
    pick(&SheetOutlets::PUB_shape, 3);
    const Field& field = view_->field();
    EXPECT_EQ(field.no_cyclones, 4);
    EXPECT_EQ(field.no_particles, 480);
    EXPECT_EQ(field.particle_shape, 3);
    EXPECT_TRUE(field.loc);
    EXPECT_FALSE(std::filesystem::exists(home_.storePath()));
    EXPECT_NE(store().integerForKey("number of cyclones"), 4) << "the change reached the store";

    click(ok ? widget(&SheetOutlets::BTN_OK) : cancelButton());
    EXPECT_EQ(sheetEnds_, 1);
    EXPECT_EQ(field.no_cyclones, 2) << "the run's overrides stand again";
    EXPECT_EQ(field.no_particles, ok ? 240 : 100);
    EXPECT_EQ(field.particle_shape, ok ? 3 : 0);
    EXPECT_EQ(std::filesystem::exists(home_.storePath()), ok);
    if (ok) {
      EXPECT_EQ(onDisk().integerForKey("number of particles"), 120);
    }
  }
}

TEST_F(SheetOverSaver, ClosingTheWindowIsCancel) {
  beginSheet();
  slide(&SheetOutlets::SLDR_no_cyclones, 5);
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  gboolean handled = FALSE;
  g_signal_emit_by_name(sheetWindow(), "delete-event", event, &handled);
  gdk_event_free(event);
  EXPECT_TRUE(handled) << "the window stays for the next showing";
  EXPECT_EQ(sheetEnds_, 1);
  EXPECT_FALSE(std::filesystem::exists(home_.storePath()));
}

TEST_F(SheetOverSaver, ColourPopUpsEnableTheirWells) {
  const std::pair<Outlet, Outlet> pairs[] = {{&SheetOutlets::PUB_pt_color, &SheetOutlets::CW_pt},
                                             {&SheetOutlets::PUB_bg_color, &SheetOutlets::CW_bg}};
  for (const auto& [popUp, well] : pairs) {
    for (int index : {1, 0, 1}) {
      pick(popUp, index);
      EXPECT_EQ(sensitive(well), index == 1);
    }
  }
}

// Disables OK, then changes one control as the user would: every editable
// control must reach changeConfiguration.
TEST_F(SheetOverSaver, EveryEditableControlEnablesOK) {
  struct Case {
    const char* what;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"cyclones", [&] { slide(&SheetOutlets::SLDR_no_cyclones, 3); }},
      {"particles", [&] { slide(&SheetOutlets::SLDR_no_particles, 60); }},
      {"scale", [&] { slide(&SheetOutlets::SLDR_scale_particle, 1.5); }},
      {"particle colour", [&] { pick(&SheetOutlets::PUB_pt_color, 1); }},
      {"background", [&] { pick(&SheetOutlets::PUB_bg_color, 1); }},
      {"shape", [&] { pick(&SheetOutlets::PUB_shape, 9); }},
      {"particle well",
       [&] {
         chooseColor(&SheetOutlets::CW_pt, {1, 0, 0, 1});
       }},
      {"background well",
       [&] {
         chooseColor(&SheetOutlets::CW_bg, {0, 0, 1, 1});
       }},
      {"afterimages", [&] { click(widget(&SheetOutlets::SWTCH_afterimage)); }},
  };
  for (const Case& c : cases) {
    gtk_widget_set_sensitive(widget(&SheetOutlets::BTN_OK), FALSE);
    c.change();
    EXPECT_TRUE(sensitive(&SheetOutlets::BTN_OK)) << c.what;
  }
  EXPECT_FALSE(std::filesystem::exists(home_.storePath())) << "changes store nothing";
}

TEST_F(SheetOverSaver, OKWritesAllFifteenKeysWhenNothingChanged) {
  click(widget(&SheetOutlets::BTN_OK));
  ScreenSaverDefaults stored = onDisk();
  for (const PreferenceKey& key : kPreferenceKeys) {
    EXPECT_TRUE(stored.hasValueForKey(std::string(key.name))) << key.name;
  }
  EXPECT_EQ(stored.integerForKey("number of cyclones"), 1);
  EXPECT_EQ(stored.integerForKey("number of particles"), 50);
  EXPECT_EQ(stored.floatForKey("particle scale"), 0.5f);
  EXPECT_FALSE(stored.boolForKey("show afterimage"));
}

TEST_F(SheetOverSaver, OKWithAutomaticColourStillStoresTheWellsColour) {
  chooseColor(&SheetOutlets::CW_pt, {0.25, 0.5, 0.75, 0.625});
  pick(&SheetOutlets::PUB_pt_color, 0);
  click(widget(&SheetOutlets::SWTCH_afterimage));
  click(widget(&SheetOutlets::BTN_OK));
  ScreenSaverDefaults stored = onDisk();
  EXPECT_EQ(stored.integerForKey("particle color mode"), 0);
  EXPECT_EQ(stored.floatForKey("particle color red"), 0.25f);
  EXPECT_EQ(stored.floatForKey("particle color green"), 0.5f);
  EXPECT_EQ(stored.floatForKey("particle color blue"), 0.75f);
  EXPECT_EQ(stored.floatForKey("particle color alpha"), 0.625f);
  EXPECT_TRUE(stored.boolForKey("show afterimage"));
}

}  // namespace
