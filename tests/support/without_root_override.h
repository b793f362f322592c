#pragma once

#include <linux/capability.h>

namespace mirudanto::testing {

// The tests may run as root, where the mode bits of a file or folder do not
// stop a write, so a test of a read-only folder would pass for the wrong
// reason or fail. While this lives, the calling thread gives up the
// capabilities that override permission checks (it keeps them permitted, so
// they come back when it ends). Only the calling thread is affected.
class WithoutRootOverride {
 public:
  WithoutRootOverride();
  ~WithoutRootOverride();
  WithoutRootOverride(const WithoutRootOverride&) = delete;
  WithoutRootOverride& operator=(const WithoutRootOverride&) = delete;

  // False when the override could not be given up: a test that relies on the
  // mode bits must then be skipped rather than trusted.
  bool ModeBitsApply() const { return modeBitsApply_; }

 private:
  __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3] = {};
  bool changed_ = false;
  bool modeBitsApply_ = false;
};

}  // namespace mirudanto::testing
