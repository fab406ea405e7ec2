#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>

// A plain malloc'd block of trivially copyable records, empty (null) while
// absent. The field's arrays are allocated only at seeding and released at
// the next seeding or at stop; nothing in a frame allocates.
template <typename T>
class HeapArray {
 public:
  HeapArray() = default;
  HeapArray(const HeapArray&) = delete;
  HeapArray& operator=(const HeapArray&) = delete;
  HeapArray(HeapArray&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
  HeapArray& operator=(HeapArray&& other) noexcept {
    if (this != &other) {
      release();
      data_ = std::exchange(other.data_, nullptr);
      size_ = std::exchange(other.size_, 0);
    }
    return *this;
  }
  ~HeapArray() { release(); }

  // Frees the previous block, then allocates n uncleared elements. A failed
  // allocation leaves the array absent.
  void allocate(std::size_t n) {
    release();
    data_ = static_cast<T*>(std::malloc(n * sizeof(T)));
    size_ = data_ ? n : 0;
  }
  void release() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
  }

  explicit operator bool() const { return data_ != nullptr; }
  T* get() { return data_; }
  const T* get() const { return data_; }
  std::size_t size() const { return size_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }

 private:
  T* data_ = nullptr;
  std::size_t size_ = 0;
};
