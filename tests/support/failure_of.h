#pragma once

#include <functional>
#include <optional>

#include "core/failure.h"

namespace mirudanto::testing {

// Runs an operation that must fail, and returns how it failed.
inline std::optional<Failure> FailureOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const Failure& failure) {
    return failure;
  }
  return std::nullopt;
}

}  // namespace mirudanto::testing
