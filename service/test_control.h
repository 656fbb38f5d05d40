// State of the test control: replies scripted for the next requests of a
// path, and the requests received. Only a service started with --test
// keeps it and opens the control port.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "query.h"
#include "reply.h"

namespace qv::service {

struct ScriptedReply {
  int port = 0;  // 0: the path on any server
  std::string path;
  // A body given (or garbage asked for) replaces the real answer; otherwise
  // the path's handler answers, after the delay and with the padding.
  std::optional<std::string> body;
  size_t garbageBytes = 0;
  size_t padTo = 0;  // grow the body to this many bytes
  int status = 200;
  int delayMs = 0;
  bool cutOff = false;  // headers, then the connection is closed
  int times = 1;
};

struct LoggedRequest {
  long long seq = 0;
  int port = 0;
  std::string method;
  std::string target;  // as received, still percent-encoded
  std::string path;
  Params params;       // decoded
};

class TestControl {
 public:
  static constexpr size_t kMaxLogged = 10000;

  void AddScript(ScriptedReply script);
  // The script for this request, used up by one.
  std::optional<ScriptedReply> TakeScript(int port, const std::string& path);
  void ClearScripts();

  void Record(LoggedRequest request);
  std::vector<LoggedRequest> Requests(long long afterSeq, const std::string& path) const;
  void ClearRequests();

 private:
  mutable std::mutex mutex_;
  std::deque<ScriptedReply> scripts_;
  std::deque<LoggedRequest> log_;
  long long nextSeq_ = 1;
};

// The reply a script makes, given the handler's own reply when it runs.
Reply ScriptedBody(const ScriptedReply& script, const Reply* real);

// JSON text of logged requests, for the control's readers.
std::string RequestsJson(const std::vector<LoggedRequest>& requests);

}  // namespace qv::service
