#include "support/without_root_override.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <exception>

namespace mirudanto::testing {
namespace {

// The raw calls, so the tests need no capability library; pid 0 is the
// calling thread.
bool GetCapabilities(__user_cap_data_struct* data) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return ::syscall(SYS_capget, &header, data) == 0;
}

bool SetCapabilities(const __user_cap_data_struct* data) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return ::syscall(SYS_capset, &header, data) == 0;
}

constexpr int kOverrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};

bool HasAny(const __user_cap_data_struct* data) {
  for (const int cap : kOverrides) {
    if (data[CAP_TO_INDEX(cap)].effective & CAP_TO_MASK(cap)) return true;
  }
  return false;
}

}  // namespace

WithoutRootOverride::WithoutRootOverride() {
  // Root is the usual holder of the override, but any process can hold it, so
  // the effective set decides rather than the user id.
  if (!GetCapabilities(saved_)) {
    modeBitsApply_ = ::geteuid() != 0;
    return;
  }
  if (!HasAny(saved_)) {
    modeBitsApply_ = true;
    return;
  }
  __user_cap_data_struct reduced[_LINUX_CAPABILITY_U32S_3];
  std::memcpy(reduced, saved_, sizeof reduced);
  for (const int cap : kOverrides) reduced[CAP_TO_INDEX(cap)].effective &= ~CAP_TO_MASK(cap);
  if (!SetCapabilities(reduced)) return;
  changed_ = true;
  modeBitsApply_ = true;
}

WithoutRootOverride::~WithoutRootOverride() {
  // A thread left without its override would break every later test that
  // cleans up a read-only folder; better to stop here than to go on quietly.
  if (changed_ && !SetCapabilities(saved_)) std::terminate();
}

}  // namespace mirudanto::testing
