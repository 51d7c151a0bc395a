#pragma once
// How whoever loads a street on another thread follows it and stops it: the loader tells
// the bytes read so far after each read from the disk and looks at the stop flag there.
// The caller owns the flag and keeps it alive for the whole load.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Error.h"

namespace vellmar {

struct TLoadControl {
  // Bytes of the file read so far and the file's size.
  std::function<void(std::int64_t read, std::int64_t total)> Progress;
  const std::atomic<bool>* Stop = nullptr;
};

// A load given up because its stop flag was set; the half-read street is of no use.
class ELoadCancelled final : public EVellmarError {
 public:
  explicit ELoadCancelled(const std::string& message) : EVellmarError(message) {}
};

}  // namespace vellmar
