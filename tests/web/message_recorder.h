// Installs a message hook that records every message box instead of
// showing it; restores the previous hook when it goes.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "storage/hooks.h"

namespace qv::test {

class MessageRecorder {
 public:
  MessageRecorder() {
    previous_ = SetMessageHook([this](MessageOwner, const std::u16string& text) {
      std::lock_guard lock(mutex_);
      messages_.push_back(text);
    });
  }
  ~MessageRecorder() { SetMessageHook(std::move(previous_)); }
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  std::vector<std::u16string> messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::u16string> messages_;
  MessageHook previous_;
};

}  // namespace qv::test
