#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

#include "seeded_field.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// The address space this process already uses, in bytes.
rlim_t addressSpaceInUse() {
  unsigned long pages = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr || std::fscanf(statm, "%lu", &pages) != 1) {
    std::abort();
  }
  std::fclose(statm);
  return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

bool fieldIsEmpty(const Field& f) {
  return !(f.loc || f.prevLoc || f.yrp || f.color || f.ve || f.sine || f.cosine || f.vel || f.eye ||
           f.statusCount || f.ai_loc || f.ai_cnt || f.ai_color);
}

// Reseeds a small field with `shape` while the address space has room for
// only `headroom` more bytes.
[[noreturn]] void reseedWithLittleMemory(const FieldShape& shape, rlim_t headroom) {
  Field field;
  seedField(field, {2, 100, 0, true}, 1);
  const rlimit limit{addressSpaceInUse() + headroom, RLIM_INFINITY};
  setrlimit(RLIMIT_AS, &limit);
  seedField(field, shape, 2);
  std::_Exit(fieldIsEmpty(field) ? 0 : 1);
}

struct FailureCase {
  const char* what;
  FieldShape shape;
};

// 80 bytes per particle for the particle arrays, 128 more for afterimages.
constexpr rlim_t kHeadroom = 600u << 20;

class SeedingAllocationFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SeedingAllocationFailure, LeavesTheFieldEmpty) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "the address sanitizer does not run under an address-space limit";
  }
  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(reseedWithLittleMemory(GetParam().shape, kHeadroom), ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Arrays, SeedingAllocationFailure,
                         ::testing::Values(FailureCase{"particles", {1, 40'000'000, 0, false}},
                                           FailureCase{"afterimages", {1, 4'000'000, 0, true}}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
