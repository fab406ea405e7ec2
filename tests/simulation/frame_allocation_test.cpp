#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "seeded_field.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

// Every operator new of this program is counted.
void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) {
    return p;
  }
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
// Every delete returns the block to malloc, which the new above came from.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
#pragma GCC diagnostic pop

namespace {

std::vector<const void*> arrayAddresses(Field& f) {
  return {f.loc.get(),    f.prevLoc.get(), f.yrp.get(),     f.color.get(), f.ve.get(),
          f.sine.get(),   f.cosine.get(),  f.vel.get(),     f.eye.get(),   f.statusCount.get(),
          f.ai_loc.get(), f.ai_cnt.get(),  f.ai_color.get()};
}

TEST(Frame, AllocatesNothingAndKeepsEveryArrayInPlace) {
  Field field;
  seedField(field, {10, 2000, 0, true}, 130);
  const std::vector<const void*> seeded = arrayAddresses(field);
  const long before = allocations.load();
  for (int frame = 0; frame < 300; ++frame) {
    field.step();
    ++field.tick;
  }
  const long during = allocations.load() - before;
  EXPECT_EQ(during, 0);
  EXPECT_EQ(arrayAddresses(field), seeded);
  EXPECT_EQ(field.loc.size(), 2000u);
  EXPECT_EQ(field.ai_loc.size(), 8000u);
}

}  // namespace
