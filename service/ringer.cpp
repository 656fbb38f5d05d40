#include "ringer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "protocol.h"

namespace qv::service {

bool Ringer::Ring(const std::string& subscriber, const std::string& called) {
  bool delivered = false;
  // Numbers only: nothing else may reach the phone's command line.
  if (!fifoPath_.empty() && IsDigits(subscriber)) {
    int fd = open(fifoPath_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info{};
    if (fd >= 0 && fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode)) {
      std::string command = "call " + subscriber + "\n";
      delivered = write(fd, command.data(), command.size()) == static_cast<ssize_t>(command.size());
    }
    if (fd >= 0) close(fd);
  }
  if (!delivered) {
    std::fprintf(stderr, "qv-service: no demo phone to ring %s with\n", subscriber.c_str());
  }
  std::lock_guard<std::mutex> lock(mutex_);
  records_.push_back({subscriber, called, delivered});
  if (records_.size() > kMaxRecords) records_.pop_front();
  return delivered;
}

std::vector<RingRecord> Ringer::Records() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return {records_.begin(), records_.end()};
}

void Ringer::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  records_.clear();
}

}  // namespace qv::service
