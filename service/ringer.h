// Rings a subscriber for real: the demo phone of the local stack, which
// reads commands on a FIFO, is told to call the subscriber's number. This
// is how a callback request reaches the subscriber.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace qv::service {

struct RingRecord {
  std::string subscriber;  // the number rung
  std::string called;      // the number the subscriber asked for
  bool delivered = false;  // the demo phone took the command
};

class Ringer {
 public:
  explicit Ringer(std::string fifoPath) : fifoPath_(std::move(fifoPath)) {}

  // Never blocks: without a demo phone listening, the ring is only noted.
  bool Ring(const std::string& subscriber, const std::string& called);

  std::vector<RingRecord> Records() const;
  void Clear();

 private:
  static constexpr size_t kMaxRecords = 1000;
  std::string fifoPath_;
  mutable std::mutex mutex_;
  std::deque<RingRecord> records_;
};

}  // namespace qv::service
