#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "settings/control.h"
#include "settings/overrides.h"
#include "settings/screen_saver_defaults.h"

// The configuration sheet's thirteen outlets, in their declared order; each
// is null when the sheet's layout did not connect it.
struct SheetOutlets {
  Control* SLDR_no_cyclones = nullptr;
  Control* TEXT_no_cyclones = nullptr;
  Control* SLDR_no_particles = nullptr;
  Control* TEXT_no_particles = nullptr;
  Control* PUB_pt_color = nullptr;
  Control* CW_pt = nullptr;
  Control* PUB_bg_color = nullptr;
  Control* CW_bg = nullptr;
  Control* PUB_shape = nullptr;
  Control* SLDR_scale_particle = nullptr;
  Control* BTN_OK = nullptr;
  Sheet* WIN_sheet = nullptr;
  Control* SWTCH_afterimage = nullptr;
};

// The control outlets by the names the sheet's layout gives their objects.
struct ControlOutletName {
  std::string_view name;
  Control* SheetOutlets::*outlet;
};
inline constexpr std::array<ControlOutletName, 12> kControlOutlets{{
    {"SLDR_no_cyclones", &SheetOutlets::SLDR_no_cyclones},
    {"TEXT_no_cyclones", &SheetOutlets::TEXT_no_cyclones},
    {"SLDR_no_particles", &SheetOutlets::SLDR_no_particles},
    {"TEXT_no_particles", &SheetOutlets::TEXT_no_particles},
    {"PUB_pt_color", &SheetOutlets::PUB_pt_color},
    {"CW_pt", &SheetOutlets::CW_pt},
    {"PUB_bg_color", &SheetOutlets::PUB_bg_color},
    {"CW_bg", &SheetOutlets::CW_bg},
    {"PUB_shape", &SheetOutlets::PUB_shape},
    {"SLDR_scale_particle", &SheetOutlets::SLDR_scale_particle},
    {"BTN_OK", &SheetOutlets::BTN_OK},
    {"SWTCH_afterimage", &SheetOutlets::SWTCH_afterimage},
}};
inline constexpr std::string_view kWindowOutlet = "WIN_sheet";

// OK's tag; any other tag closes the sheet as Cancel.
inline constexpr int64_t kOKTag = 1;

// Fills the controls from the store as it stands, without the settings'
// limits. Leaves the enabling of the wells and of OK alone.
void synchronizeToDefaults(const SheetOutlets& outlets, ScreenSaverDefaults& defaults);

// A control was changed by the user: its companion control follows, and OK
// becomes enabled. Writes nothing.
void changeConfiguration(const SheetOutlets& outlets, const Control* sender);

// OK or Cancel: ends the sheet; for OK (tag 1) writes every key from the
// controls, synchronizes the store and reseeds the field at once.
void closeSheet(const SheetOutlets& outlets, const Control* sender, ScreenSaverDefaults& defaults,
                const std::function<void()>& model_init);

// The settings that OK would store from the controls as they stand, held to
// the limits that seeding holds the store's values to: a field seeded with
// them over any store is seeded as it would be after OK. Stores nothing.
SettingsOverrides sheetOverrides(const SheetOutlets& outlets);
