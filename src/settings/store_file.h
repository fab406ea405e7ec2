#pragma once

#include <glib.h>

#include <memory>
#include <string>

struct KeyFileUnref {
  void operator()(GKeyFile* file) const { g_key_file_unref(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileUnref>;

KeyFilePtr newKeyFile();

// An exclusive flock on "<store>.lock" beside the store, held for the
// object's lifetime. Every process that reads or replaces the store takes it,
// so a read-merge-write is never interleaved with another.
class StoreLock {
 public:
  explicit StoreLock(const std::string& storePath);
  ~StoreLock();
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  bool held() const { return fd_ >= 0; }
  // errno of the failed open or flock.
  int error() const { return error_; }

 private:
  int fd_ = -1;
  int error_ = 0;
};

// What reading the store gave: its values, or nothing and why.
struct StoreRead {
  KeyFilePtr values;
  std::string failure;
};

// Reads the store through storeTarget(). A missing file is an empty store; a
// leading UTF-8 byte-order mark is skipped. A file that does not parse, holds
// a NUL byte or holds nothing but zero bytes (what a crash can leave) is
// moved aside to "<file>.corrupt-<timestamp>" with one warning naming both
// files, and reads as empty. Nothing when the file cannot be read or a
// damaged file cannot be moved aside: it must not be overwritten then. Call
// with the store's lock held.
StoreRead readStoreFile(const std::string& path);

// Creates the store's directory when it is missing; false with a warning.
bool makeStoreDirectory(const std::string& path);

// Replaces the store's target atomically: a temporary file in the target's
// directory, written, synced to disk and renamed over the target. False with
// a warning. Call with the store's lock held.
bool writeStoreFile(const std::string& path, GKeyFile* file);

// Removes the temporary files that writers killed between making and
// renaming them left beside the store's target. Every writer holds the
// store's lock while its temporary file exists, so with the lock held no
// live writer owns one.
void removeLeftoverTemporaries(const std::string& path);
