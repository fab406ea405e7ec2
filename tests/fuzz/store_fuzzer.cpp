// Feeds arbitrary bytes to the preferences store as its file. Every key is
// read with every reader and checked against the text the file holds; two
// stores opened side by side then write a few keys, and a third store must
// read back exactly what was read and written. Apart from that, one change
// synchronized into the bytes must lose no key the file held readably, or
// keep the bytes aside with a warning.
#include <dirent.h>
#include <glib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/keys.h"
#include "settings/screen_saver_defaults.h"
#include "settings/store_file.h"
#include "settings/store_value.h"

namespace {

void require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "store_fuzzer: %s\n", what);
    std::abort();
  }
}

bool sameFloat(float a, float b) {
  return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

// Checks the three readings of one text against each other and against the
// writers' texts.
void checkConversions(std::string_view text) {
  const auto integer = integerFromText(text);
  const auto real = floatFromText(text);
  const auto boolean = boolFromText(text);

  const std::string padded = " \t" + std::string(text) + "\r\n ";
  require(integerFromText(padded) == integer, "white space around a text changes its integer");
  require(boolFromText(padded) == boolean, "white space around a text changes its boolean");
  const auto paddedReal = floatFromText(padded);
  require(paddedReal.has_value() == real.has_value() && (!real || sameFloat(*paddedReal, *real)),
          "white space around a text changes its float");

  if (real) {
    require(std::isfinite(*real), "a float reads as NaN or infinite");
    require(boolean.has_value(), "a text that reads as a float does not read as a boolean");
    require(*real == 0.0f || *boolean, "a non-zero float reads as NO");
    require(sameFloat(floatFromText(textFromFloat(*real)).value_or(NAN), *real),
            "a float does not read back from its own text");
  }
  if (integer) {
    require(real.has_value(), "a text that reads as an integer does not read as a float");
    require(boolean.has_value(), "a text that reads as an integer does not read as a boolean");
    require(*integer == 0 || *boolean, "a non-zero integer reads as NO");
    // The integer is the number truncated toward zero, the float the number
    // rounded to 24 bits: they differ by less than 1 plus the rounding.
    const double whole = static_cast<double>(*integer);
    require(std::fabs(static_cast<double>(*real) - whole) <= 1.0 + (std::fabs(whole) + 1.0) * 0x1p-23,
            "the integer and the float of a text are not the same number");
    require(integerFromText(textFromInteger(*integer)) == integer,
            "an integer does not read back from its own text");
  }
  if (boolean) {
    require(*boolean || (real.value_or(0.0f) == 0.0f && integer.value_or(0) == 0),
            "a text reading as NO reads as a non-zero number");
    require(boolFromText(textFromBool(*boolean)) == boolean,
            "a boolean does not read back from its own text");
  }
}

struct Reading {
  bool present;
  int64_t integer;
  float real;
  bool boolean;
};
using Readings = std::array<Reading, kPreferenceKeys.size()>;
constexpr Reading kAbsent{false, 0, 0.0f, false};

Readings readAll(ScreenSaverDefaults& defaults) {
  Readings readings;
  for (std::size_t i = 0; i < kPreferenceKeys.size(); ++i) {
    const std::string key(kPreferenceKeys[i].name);
    readings[i] = {defaults.hasValueForKey(key), defaults.integerForKey(key), defaults.floatForKey(key),
                   defaults.boolForKey(key)};
    require(std::isfinite(readings[i].real), "floatForKey yields NaN or infinity");
  }
  return readings;
}

bool sameReading(const Reading& a, const Reading& b) {
  return a.present == b.present && a.integer == b.integer && sameFloat(a.real, b.real) &&
         a.boolean == b.boolean;
}

std::size_t indexOf(std::string_view name) {
  for (std::size_t i = 0; i < kPreferenceKeys.size(); ++i) {
    if (kPreferenceKeys[i].name == name) {
      return i;
    }
  }
  std::abort();
}

std::string storeDirectory;

std::vector<std::string> entriesOfStoreDirectory() {
  std::vector<std::string> names;
  DIR* directory = opendir(storeDirectory.c_str());
  require(directory != nullptr, "cannot list the store's directory");
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") {
      names.push_back(name);
    }
  }
  closedir(directory);
  return names;
}

void emptyStoreDirectory() {
  for (const std::string& name : entriesOfStoreDirectory()) {
    unlink((storeDirectory + "/" + name).c_str());
  }
}

void removeStoreDirectory() {
  emptyStoreDirectory();
  rmdir(storeDirectory.c_str());
}

std::string contentsOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  require(static_cast<bool>(out.flush()), "cannot write the store file");
}

const std::string kGroup(kBundleIdentifier);
const std::string kFileName = "store.ini";

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The file as GKeyFile alone makes of it, a leading byte-order mark skipped;
// nothing when it does not parse.
KeyFilePtr parsedByGKeyFile(std::string_view bytes) {
  if (bytes.starts_with(kByteOrderMark)) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  KeyFilePtr file = newKeyFile();
  const auto flags = static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);
  if (!g_key_file_load_from_data(file.get(), bytes.data(), bytes.size(), flags, nullptr)) {
    return nullptr;
  }
  return file;
}

// The store's file as the store must read it: nothing when it is damaged,
// which a NUL byte anywhere makes it, as GKeyFile stops each line there.
KeyFilePtr parsed(std::string_view bytes) {
  if (bytes.find('\0') != std::string_view::npos) {
    return nullptr;
  }
  return parsedByGKeyFile(bytes);
}

std::optional<std::string> storedText(GKeyFile* file, std::string_view key) {
  gchar* raw = g_key_file_get_value(file, kGroup.c_str(), std::string(key).c_str(), nullptr);
  if (!raw) {
    return std::nullopt;
  }
  std::string text(raw);
  g_free(raw);
  return text;
}

// What the store must read for a key holding the text, or not holding one.
Reading expectedReading(const std::optional<std::string>& text) {
  if (!text) {
    return kAbsent;
  }
  return {true, integerFromText(*text).value_or(0), floatFromText(*text).value_or(0.0f),
          boolFromText(*text).value_or(false)};
}

void checkFirstReading(const Readings& readings, std::string_view bytes, GKeyFile* file,
                       const std::string& path) {
  if (file) {
    require(contentsOf(path) == bytes, "a store file that parses was changed by reading it");
  }
  for (std::size_t i = 0; i < kPreferenceKeys.size(); ++i) {
    const auto text = file ? storedText(file, kPreferenceKeys[i].name) : std::nullopt;
    if (text) {
      checkConversions(*text);
    }
    require(sameReading(readings[i], expectedReading(text)), "a key reads other than the text it holds");
  }
}

// A second store is opened before the first one writes; each then changes
// keys of its own, from values the first one read. A third store must read
// those changes and every other key as the first one read it.
void writeFromTwoStores(ScreenSaverDefaults& first, const std::string& path, const Readings& before,
                        bool damaged) {
  ScreenSaverDefaults second(path, kGroup);
  const Readings secondBefore = readAll(second);
  for (std::size_t i = 0; i < kPreferenceKeys.size(); ++i) {
    require(sameReading(secondBefore[i], damaged ? kAbsent : before[i]), "a second store reads otherwise");
  }

  const float scale = before[indexOf("particle color red")].real;
  const int64_t particles = before[indexOf("number of cyclones")].integer;
  const bool afterimage = !before[indexOf("show afterimage")].boolean;
  const float backgroundAlpha = -before[indexOf("background color green")].real;
  first.setFloat(scale, "particle scale");
  first.setInteger(particles, "number of particles");
  first.setBool(afterimage, "show afterimage");
  first.removeObjectForKey("particle shape");
  second.setFloat(backgroundAlpha, "background color alpha");
  require(first.synchronize(), "the first store cannot be written");
  require(second.synchronize(), "the second store cannot be written");

  Readings expected = before;
  expected[indexOf("particle scale")] = expectedReading(textFromFloat(scale));
  expected[indexOf("number of particles")] = expectedReading(textFromInteger(particles));
  expected[indexOf("show afterimage")] = expectedReading(textFromBool(afterimage));
  expected[indexOf("particle shape")] = kAbsent;
  expected[indexOf("background color alpha")] = expectedReading(textFromFloat(backgroundAlpha));

  ScreenSaverDefaults third(path, kGroup);
  const Readings after = readAll(third);
  require(sameFloat(after[indexOf("particle scale")].real, scale) &&
              after[indexOf("number of particles")].integer == particles &&
              after[indexOf("show afterimage")].boolean == afterimage &&
              sameFloat(after[indexOf("background color alpha")].real, backgroundAlpha),
          "a value written reads back changed");
  for (std::size_t i = 0; i < kPreferenceKeys.size(); ++i) {
    require(sameReading(after[i], expected[i]), "a key reads other than what was read and written");
  }
}

// Beside the store only its lock, and the damaged file it was given moved
// aside once: no temporary file is left.
void checkDirectory(std::string_view bytes, bool damaged) {
  int aside = 0;
  for (const std::string& name : entriesOfStoreDirectory()) {
    if (name.starts_with(kFileName + ".corrupt-")) {
      require(contentsOf(storeDirectory + "/" + name) == bytes,
              "the file moved aside is not the damaged one");
      ++aside;
    } else {
      require(name == kFileName || name == kFileName + ".lock", "a stray file is left beside the store");
    }
  }
  require(aside == (damaged ? 1 : 0), "a damaged file was not moved aside once, or a good one was");
}

// Collects what is written to stderr between its making and finish(). The
// fuzzer's own reports go to another descriptor.
class StderrCapture {
 public:
  StderrCapture() : file_(memfd_create("stderr", MFD_CLOEXEC)), saved_(dup(2)) {
    require(file_ >= 0 && saved_ >= 0, "cannot capture stderr");
    std::fflush(stderr);
    dup2(file_, 2);
  }
  ~StderrCapture() {
    close(saved_);
    close(file_);
  }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  std::string finish() {
    std::fflush(stderr);
    dup2(saved_, 2);
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    for (off_t at = 0; (got = pread(file_, buffer, sizeof buffer, at)) > 0; at += got) {
      text.append(buffer, static_cast<size_t>(got));
    }
    return text;
  }

 private:
  int file_;
  int saved_;
};

bool readsAsStored(ScreenSaverDefaults& store, const PreferenceKey& key, const std::string& text) {
  const std::string name(key.name);
  switch (key.type) {
    case KeyType::Integer: return store.integerForKey(name) == integerFromText(text);
    case KeyType::Float: return sameFloat(store.floatForKey(name), floatFromText(text).value_or(NAN));
    case KeyType::Boolean: return store.boolForKey(name) == boolFromText(text);
  }
  return false;
}

bool readableAs(KeyType type, const std::string& text) {
  switch (type) {
    case KeyType::Integer: return integerFromText(text).has_value();
    case KeyType::Float: return floatFromText(text).has_value();
    case KeyType::Boolean: return boolFromText(text).has_value();
  }
  return false;
}

// Every key of the group that GKeyFile finds in the bytes with a text its
// type reads must read the same after one other key is synchronized into
// them, or the bytes are kept aside and a warning names where.
void checkOneChangeLosesNothing(std::string_view bytes, const std::string& path) {
  const std::string changed = "show afterimage";
  emptyStoreDirectory();
  writeFile(path, bytes);

  StderrCapture capture;
  bool synchronized = false;
  {
    ScreenSaverDefaults store(path, kGroup);
    store.setBool(true, changed);
    synchronized = store.synchronize();
  }
  const std::string warnings = capture.finish();
  require(synchronized, "one change cannot be synchronized");

  for (const std::string& name : entriesOfStoreDirectory()) {
    if (name.starts_with(kFileName + ".corrupt-")) {
      const std::string aside = storeDirectory + "/" + name;
      require(contentsOf(aside) == bytes, "the bytes kept aside are not the original ones");
      require(warnings.find(aside) != std::string::npos,
              "bytes were moved aside without a warning naming where");
      return;
    }
  }
  const KeyFilePtr before = parsedByGKeyFile(bytes);
  if (!before) {
    return;
  }
  ScreenSaverDefaults after(path, kGroup);
  require(after.boolForKey(changed), "the change was not synchronized");
  for (const PreferenceKey& key : kPreferenceKeys) {
    const auto text = storedText(before.get(), key.name);
    if (key.name != changed && text && readableAs(key.type, *text)) {
      require(after.hasValueForKey(std::string(key.name)) && readsAsStored(after, key, *text),
              "a key the file held readably was lost by synchronizing another one");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "swirlmote-store-fuzz-XXXXXX").string();
  require(mkdtemp(pattern.data()) != nullptr, "cannot make a directory for the store");
  storeDirectory = pattern;
  std::atexit(removeStoreDirectory);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  checkConversions(bytes);

  emptyStoreDirectory();
  const std::string path = storeDirectory + "/" + kFileName;
  writeFile(path, bytes);
  const KeyFilePtr file = parsed(bytes);

  ScreenSaverDefaults first(path, kGroup);
  const Readings before = readAll(first);
  checkFirstReading(before, bytes, file.get(), path);

  writeFromTwoStores(first, path, before, !file);
  checkDirectory(bytes, !file);

  checkOneChangeLosesNothing(bytes, path);
  checkDirectory(bytes, !file);
  return 0;
}
