#pragma once

#include <array>
#include <string_view>

// The module's bundle identifier; it names the preferences store.
inline constexpr std::string_view kBundleIdentifier = "org.swirlmote.Swirlmote";

enum class KeyType { Integer, Float, Boolean };

struct PreferenceKey {
  std::string_view name;
  KeyType type;
};

// The fifteen keys, in the order loadDefaults reads them.
inline constexpr std::array<PreferenceKey, 15> kPreferenceKeys{{
    {"number of cyclones", KeyType::Integer},
    {"number of particles", KeyType::Integer},
    {"particle color mode", KeyType::Integer},
    {"particle color alpha", KeyType::Float},
    {"particle color blue", KeyType::Float},
    {"particle color green", KeyType::Float},
    {"particle color red", KeyType::Float},
    {"background color mode", KeyType::Integer},
    {"background color alpha", KeyType::Float},
    {"background color blue", KeyType::Float},
    {"background color green", KeyType::Float},
    {"background color red", KeyType::Float},
    {"particle shape", KeyType::Integer},
    {"particle scale", KeyType::Float},
    {"show afterimage", KeyType::Boolean},
}};
