// The SIP server of a bench: the running kamailio (scripts/kamailio), or
// one started in run-data/<name> for the bench and stopped when it ends.
#pragma once

#include <cstdlib>
#include <string>

#include "sip_test_support.h"

namespace qvbench {

class BenchKamailio {
 public:
  explicit BenchKamailio(const std::string& runName)
      : env_("QV_RUN_DIR=" + std::string(QV_SOURCE_DIR) + "/run-data/" + runName + " ") {
    if (!qvtest::SipServer::RunDir().empty()) return;
    if (std::system((env_ + QV_SOURCE_DIR + "/scripts/kamailio start").c_str()) != 0) {
      ok_ = false;
      return;
    }
    started_ = true;
  }
  ~BenchKamailio() {
    if (started_) std::system((env_ + QV_SOURCE_DIR + "/scripts/kamailio stop").c_str());
  }
  BenchKamailio(const BenchKamailio&) = delete;
  BenchKamailio& operator=(const BenchKamailio&) = delete;

  // False when no kamailio ran and none could be started.
  bool ok() const { return ok_; }

 private:
  std::string env_;
  bool ok_ = true;
  bool started_ = false;
};

}  // namespace qvbench
