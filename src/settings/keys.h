#pragma once

#include <array>
#include <optional>
#include <string_view>

// The module's bundle identifier; it names the preferences store.
inline constexpr std::string_view kBundleIdentifier = "org.swirlmote.Swirlmote";

enum class KeyType { Integer, Float, Boolean };

// The range the saver holds a value to when it reads it.
struct KeyRange {
  double low;
  double high;
};

struct PreferenceKey {
  std::string_view name;
  KeyType type;
  std::optional<KeyRange> range;
};

// Each key is named once, here; code refers to these constants, so a
// misspelt key does not compile.
namespace key {
inline constexpr PreferenceKey cyclones{"number of cyclones", KeyType::Integer, KeyRange{1, 10}};
inline constexpr PreferenceKey particles{"number of particles", KeyType::Integer, KeyRange{50, 200}};
inline constexpr PreferenceKey particleColorMode{"particle color mode", KeyType::Integer, {}};
inline constexpr PreferenceKey particleAlpha{"particle color alpha", KeyType::Float, {}};
inline constexpr PreferenceKey particleBlue{"particle color blue", KeyType::Float, {}};
inline constexpr PreferenceKey particleGreen{"particle color green", KeyType::Float, {}};
inline constexpr PreferenceKey particleRed{"particle color red", KeyType::Float, {}};
inline constexpr PreferenceKey backgroundColorMode{"background color mode", KeyType::Integer, {}};
inline constexpr PreferenceKey backgroundAlpha{"background color alpha", KeyType::Float, {}};
inline constexpr PreferenceKey backgroundBlue{"background color blue", KeyType::Float, {}};
inline constexpr PreferenceKey backgroundGreen{"background color green", KeyType::Float, {}};
inline constexpr PreferenceKey backgroundRed{"background color red", KeyType::Float, {}};
inline constexpr PreferenceKey shape{"particle shape", KeyType::Integer, KeyRange{0, 9}};
inline constexpr PreferenceKey scale{"particle scale", KeyType::Float, KeyRange{0.5, 2.0}};
inline constexpr PreferenceKey afterimage{"show afterimage", KeyType::Boolean, {}};
}  // namespace key

// The fifteen keys, in the order loadDefaults reads them.
inline constexpr std::array<PreferenceKey, 15> kPreferenceKeys{
    key::cyclones,        key::particles,      key::particleColorMode, key::particleAlpha,
    key::particleBlue,    key::particleGreen,  key::particleRed,       key::backgroundColorMode,
    key::backgroundAlpha, key::backgroundBlue, key::backgroundGreen,   key::backgroundRed,
    key::shape,           key::scale,          key::afterimage,
};

// The four keys of a colour.
struct ColorKeys {
  PreferenceKey red;
  PreferenceKey green;
  PreferenceKey blue;
  PreferenceKey alpha;
};
inline constexpr ColorKeys kParticleColorKeys{key::particleRed, key::particleGreen, key::particleBlue,
                                              key::particleAlpha};
inline constexpr ColorKeys kBackgroundColorKeys{key::backgroundRed, key::backgroundGreen, key::backgroundBlue,
                                                key::backgroundAlpha};
