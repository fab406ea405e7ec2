#include "settings/screen_saver_defaults.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/store_file.h"
#include "settings/store_value.h"

struct ScreenSaverDefaults::State {
  std::string path;
  std::string group;
  // The store as this process sees it: the file as last read or written,
  // with this process's changes on top.
  KeyFilePtr values;
  // Keys set or removed here since the file was last read or written; only
  // these are merged into the file, so other processes' changes survive.
  std::set<std::string> changed;
  // (key, text) pairs already reported as unreadable.
  std::set<std::pair<std::string, std::string>> warned;
  // Problems with the file already reported.
  std::set<std::string> reported;
  bool loaded = false;
  // The permissions a store written where there is none gets; 0 for the
  // default.
  unsigned newFileMode = 0;

  void report(const std::string& problem) {
    if (reported.insert(problem).second) {
      std::fprintf(stderr, "swirlmote: %s\n", problem.c_str());
    }
  }

  // The file's values, or nothing after reporting why there are none.
  // A damaged file's permissions, when it was moved aside, are kept for the
  // store that replaces it.
  KeyFilePtr readFile() {
    StoreRead file = readStoreFile(path);
    if (!file.values) {
      report(file.failure);
    }
    if (file.movedAsideMode != 0) {
      newFileMode = file.movedAsideMode;
    }
    return std::move(file.values);
  }

  std::optional<std::string> text(const std::string& key) const {
    gchar* raw = g_key_file_get_value(values.get(), group.c_str(), key.c_str(), nullptr);
    if (!raw) {
      return std::nullopt;
    }
    std::string result(raw);
    g_free(raw);
    return result;
  }

  void set(const std::string& key, const std::string& value) {
    g_key_file_set_value(values.get(), group.c_str(), key.c_str(), value.c_str());
    changed.insert(key);
  }

  // A stored text that is no value of the type reads as zero, reported once.
  template <typename T>
  T read(const std::string& key, std::optional<T> (*convert)(std::string_view), const char* what,
         const char* zero) {
    const auto stored = text(key);
    if (!stored) {
      return T{};
    }
    if (const auto value = convert(*stored)) {
      return *value;
    }
    if (warned.emplace(key, *stored).second) {
      std::fprintf(stderr, "swirlmote: %s: \"%s\" = \"%s\" is not %s; it reads as %s\n", path.c_str(),
                   key.c_str(), stored->c_str(), what, zero);
    }
    return T{};
  }
};

namespace {

constexpr char kNoPlace[] =
    "neither XDG_CONFIG_HOME nor HOME is an absolute path, so the settings have no file; they are kept for "
    "this run only";

// A file may repeat a key: GKeyFile reads the last line, but removing the key
// takes out only that line, and an earlier one would be written back. The
// group is rebuilt then from the values it reads as, losing its comments.
void removeKey(GKeyFile* file, const std::string& group, const std::string& key) {
  g_key_file_remove_key(file, group.c_str(), key.c_str(), nullptr);
  gchar** keys = g_key_file_get_keys(file, group.c_str(), nullptr, nullptr);
  if (!keys) {
    return;
  }
  bool repeated = false;
  for (gchar** k = keys; *k; ++k) {
    repeated = repeated || key == *k;
  }
  if (repeated) {
    std::vector<std::pair<std::string, std::string>> kept;
    std::set<std::string> seen;
    for (gchar** k = keys; *k; ++k) {
      if (key != *k && seen.insert(*k).second) {
        gchar* value = g_key_file_get_value(file, group.c_str(), *k, nullptr);
        kept.emplace_back(*k, value);
        g_free(value);
      }
    }
    g_key_file_remove_group(file, group.c_str(), nullptr);
    for (const auto& [name, value] : kept) {
      g_key_file_set_value(file, group.c_str(), name.c_str(), value.c_str());
    }
  }
  g_strfreev(keys);
}

// The XDG base directory rules: a relative or empty path is ignored.
std::optional<std::string> configHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    return xdg;
  }
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') {
    return std::string(home) + "/.config";
  }
  return std::nullopt;
}

}  // namespace

ScreenSaverDefaults& ScreenSaverDefaults::defaultsForModuleWithName(const std::string& moduleName) {
  static std::map<std::string, std::unique_ptr<ScreenSaverDefaults>> stores;
  const std::string path = pathForModuleWithName(moduleName);
  auto& store = stores[path];
  if (!store) {
    store = std::make_unique<ScreenSaverDefaults>(path, moduleName);
  }
  return *store;
}

std::string ScreenSaverDefaults::pathForModuleWithName(const std::string& moduleName) {
  const auto home = configHome();
  return home ? *home + "/swirlmote/" + moduleName + ".ini" : std::string();
}

ScreenSaverDefaults::ScreenSaverDefaults(std::string path, std::string group)
    : state_(std::make_unique<State>()) {
  state_->path = std::move(path);
  state_->group = std::move(group);
  if (state_->path.empty()) {
    state_->report(kNoPlace);
    state_->values = newKeyFile();
    return;
  }
  // Reading takes the lock too, so that moving a damaged file aside cannot
  // race with another process replacing it. Without a directory there is no
  // lock and no file to read.
  const StoreLock lock(state_->path);
  state_->values = state_->readFile();
  state_->loaded = state_->values != nullptr;
  if (!state_->values) {
    state_->values = newKeyFile();
  }
}

ScreenSaverDefaults::~ScreenSaverDefaults() = default;

int64_t ScreenSaverDefaults::integerForKey(const std::string& key) {
  return state_->read<int64_t>(key, integerFromText, "an integer", "0");
}

float ScreenSaverDefaults::floatForKey(const std::string& key) {
  return state_->read<float>(key, floatFromText, "a finite number", "0");
}

bool ScreenSaverDefaults::boolForKey(const std::string& key) {
  return state_->read<bool>(key, boolFromText, "a boolean", "NO");
}

void ScreenSaverDefaults::setInteger(int64_t value, const std::string& key) {
  state_->set(key, textFromInteger(value));
}

void ScreenSaverDefaults::setFloat(float value, const std::string& key) {
  state_->set(key, textFromFloat(value));
}

void ScreenSaverDefaults::setBool(bool value, const std::string& key) {
  state_->set(key, textFromBool(value));
}

bool ScreenSaverDefaults::hasValueForKey(const std::string& key) const {
  return state_->text(key).has_value();
}

void ScreenSaverDefaults::removeObjectForKey(const std::string& key) {
  g_key_file_remove_key(state_->values.get(), state_->group.c_str(), key.c_str(), nullptr);
  state_->changed.insert(key);
}

bool ScreenSaverDefaults::synchronize() {
  State& state = *state_;
  if (state.path.empty()) {
    return false;
  }
  if (state.changed.empty()) {
    const StoreLock lock(state.path);
    KeyFilePtr current = state.readFile();
    state.loaded = current != nullptr;
    if (!current) {
      return false;
    }
    state.values = std::move(current);
    return true;
  }
  if (!makeStoreDirectory(state.path)) {
    return false;
  }
  const StoreLock lock(state.path);
  if (!lock.held()) {
    state.report("cannot lock the settings file " + state.path + ": " + g_strerror(lock.error()) +
                 "; the settings are kept for this run only");
    return false;
  }
  removeLeftoverTemporary(lock, state.path);
  KeyFilePtr merged = state.readFile();
  state.loaded = merged != nullptr;
  if (!merged) {
    return false;
  }
  for (const std::string& key : state.changed) {
    if (const auto value = state.text(key)) {
      g_key_file_set_value(merged.get(), state.group.c_str(), key.c_str(), value->c_str());
    } else {
      removeKey(merged.get(), state.group, key);
    }
  }
  if (!writeStoreFile(lock, state.path, merged.get(), state.newFileMode)) {
    return false;
  }
  state.values = std::move(merged);
  state.changed.clear();
  return true;
}

bool ScreenSaverDefaults::isLoaded() const {
  return state_->loaded;
}

const std::string& ScreenSaverDefaults::path() const {
  return state_->path;
}
