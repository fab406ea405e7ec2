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

// Reads the store. A missing file is an empty store. A file that does not
// parse is moved aside to "<store>.corrupt-<timestamp>" with a warning and
// reads as empty. Nothing, with a warning, when the file cannot be read or a
// damaged file cannot be moved aside; it must not be overwritten then.
KeyFilePtr readStoreFile(const std::string& path);

// Creates the store's directory when it is missing; false with a warning.
bool makeStoreDirectory(const std::string& path);

// Replaces the store atomically: a temporary file in the same directory,
// written, synced to disk and renamed over the store. False with a warning.
bool writeStoreFile(const std::string& path, GKeyFile* file);
