#pragma once

#include <glib.h>

#include <memory>
#include <string>

struct KeyFileUnref {
  void operator()(GKeyFile* file) const { g_key_file_unref(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileUnref>;

KeyFilePtr newKeyFile();

// An exclusive flock on "<target>.lock" beside the file the store's name
// leads to (storeTarget), held for the object's lifetime. Every process that
// reads or replaces the store takes it, so a read-merge-write is never
// interleaved with another, whether it reached the file through a link or
// by its own name.
//
// The lock file also records the name of the temporary file its holder is
// writing, so that the next holder can remove what a killed writer left:
// that name and no other, so no file of the user's is ever taken for one.
class StoreLock {
 public:
  explicit StoreLock(const std::string& storePath);
  ~StoreLock();
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  bool held() const { return fd_ >= 0; }
  // errno of the failed open or flock.
  int error() const { return error_; }
  // The lock file's name.
  const std::string& path() const { return path_; }

  // The temporary file recorded by the last holder, or "" when none.
  std::string recordedTemporary() const;
  // Records the temporary file about to be made, or "" for none; false when
  // the lock file cannot be written.
  bool recordTemporary(const std::string& name) const;

 private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
};

// What reading the store gave: its values, or nothing and why.
struct StoreRead {
  KeyFilePtr values;
  std::string failure;
  // The permissions of a damaged file moved aside, which the next write
  // gives the store; 0 when none was.
  unsigned movedAsideMode = 0;
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
// directory, recorded in the lock, written, synced to disk, given the
// target's permissions (newMode when there is no target yet, 0600 when that
// is 0) and renamed over the target. False with a warning. Call with the
// store's lock held.
bool writeStoreFile(const StoreLock& lock, const std::string& path, GKeyFile* file, unsigned newMode);

// Removes the temporary file that a writer killed between making and
// renaming it left, the one the lock records. Every writer holds the lock
// while its temporary file exists, so with the lock held no live writer
// owns it.
void removeLeftoverTemporary(const StoreLock& lock, const std::string& path);
