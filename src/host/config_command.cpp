#include <cinttypes>
#include <cstdio>
#include <string>

#include "host/arguments.h"
#include "host/commands.h"
#include "settings/keys.h"
#include "settings/screen_saver_defaults.h"
#include "settings/shape_names.h"
#include "settings/store_value.h"

namespace {

ScreenSaverDefaults& store() {
  return ScreenSaverDefaults::defaultsForModuleWithName(std::string(kBundleIdentifier));
}

const PreferenceKey* findKey(std::string_view name) {
  for (const PreferenceKey& key : kPreferenceKeys) {
    if (key.name == name) {
      return &key;
    }
  }
  return nullptr;
}

std::string validKeys() {
  std::string list;
  for (const PreferenceKey& key : kPreferenceKeys) {
    list += (list.empty() ? "\"" : ", \"") + std::string(key.name) + "\"";
  }
  return list;
}

std::string formatValue(ScreenSaverDefaults& defaults, const PreferenceKey& key) {
  const std::string name(key.name);
  char buffer[64];
  switch (key.type) {
    case KeyType::Integer:
      std::snprintf(buffer, sizeof buffer, "%" PRId64, defaults.integerForKey(name));
      break;
    case KeyType::Float:
      std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(defaults.floatForKey(name)));
      break;
    case KeyType::Boolean: return defaults.boolForKey(name) ? "true" : "false";
  }
  return buffer;
}

// Stores the value read by the key's type exactly as the store reads a
// text in its file; false when it does not read.
bool storeValue(ScreenSaverDefaults& defaults, const PreferenceKey& key, std::string_view text) {
  const std::string name(key.name);
  switch (key.type) {
    case KeyType::Integer:
      if (const auto value = integerFromText(text)) {
        defaults.setInteger(*value, name);
        return true;
      }
      // The shape also by its name, stored as its index.
      if (const auto shape = shapeFromName(text); shape && key.name == key::shape.name) {
        defaults.setInteger(*shape, name);
        return true;
      }
      return false;
    case KeyType::Float:
      if (const auto value = floatFromText(text)) {
        defaults.setFloat(*value, name);
        return true;
      }
      return false;
    case KeyType::Boolean:
      if (const auto value = boolFromText(text)) {
        defaults.setBool(*value, name);
        return true;
      }
      return false;
  }
  return false;
}

std::string valueHint(const PreferenceKey& key) {
  if (key.name == key::shape.name) {
    std::string names;
    for (const std::string_view shape : kShapeNames) {
      names += (names.empty() ? "" : ", ") + std::string(shape);
    }
    return "a shape's name (" + names + ") or its number, 0 to " + std::to_string(kShapeNames.size() - 1);
  }
  switch (key.type) {
    case KeyType::Integer: return "a number, e.g. 4 (a fraction is cut off), or true, false, yes or no";
    case KeyType::Float: return "a finite number, e.g. 1.25, or true, false, yes or no";
    case KeyType::Boolean: return "true, false, yes, no or a number (any but 0 is true)";
  }
  return "";
}

}  // namespace

int runConfig(std::span<const std::string_view> args) {
  const ArgumentReader reader("config", args);
  if (args.empty()) {
    return reader.refuse("needs one of list, get KEY, set KEY VALUE, unset KEY, path");
  }
  const std::string_view action = args[0];
  const std::size_t operands = args.size() - 1;
  const auto wrongCount = [&](const char* usage) {
    return reader.refuse("usage: swirlmote config " + std::string(usage) + " (quote a key that has spaces)");
  };

  if (action == "list" || action == "path") {
    if (operands != 0) {
      return wrongCount(action == "list" ? "list" : "path");
    }
    if (action == "path") {
      const std::string path = ScreenSaverDefaults::pathForModuleWithName(std::string(kBundleIdentifier));
      if (path.empty()) {
        store();  // says why there is no file
        return 1;
      }
      std::printf("%s\n", path.c_str());
      return 0;
    }
    ScreenSaverDefaults& defaults = store();
    if (!defaults.isLoaded()) {
      return 1;
    }
    for (const PreferenceKey& key : kPreferenceKeys) {
      const std::string value =
          defaults.hasValueForKey(std::string(key.name)) ? formatValue(defaults, key) : "(not set)";
      std::printf("%.*s = %s\n", static_cast<int>(key.name.size()), key.name.data(), value.c_str());
    }
    return 0;
  }

  const bool isSet = action == "set";
  if (action != "get" && !isSet && action != "unset") {
    return reader.refuse("unknown action " + inQuotes(action) +
                         "; use list, get KEY, set KEY VALUE, unset KEY or path");
  }
  if (operands != (isSet ? 2u : 1u)) {
    return wrongCount(isSet ? "set KEY VALUE" : action == "get" ? "get KEY" : "unset KEY");
  }
  const PreferenceKey* key = findKey(args[1]);
  if (!key) {
    return reader.refuse("unknown key " + inQuotes(args[1]) + "; the keys are " + validKeys());
  }

  ScreenSaverDefaults& defaults = store();
  if (action == "get") {
    if (!defaults.isLoaded()) {
      return 1;
    }
    std::printf("%s\n", formatValue(defaults, *key).c_str());
    return 0;
  }
  if (isSet) {
    if (!storeValue(defaults, *key, args[2])) {
      return reader.refuse(inQuotes(args[2]) + " is not a value for \"" + std::string(key->name) +
                           "\"; it takes " + valueHint(*key));
    }
  } else {
    defaults.removeObjectForKey(std::string(key->name));
  }
  return defaults.synchronize() ? 0 : 1;
}
