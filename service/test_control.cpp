#include "test_control.h"

#include <random>

#include "storage/text.h"

namespace qv::service {

void TestControl::AddScript(ScriptedReply script) {
  std::lock_guard<std::mutex> lock(mutex_);
  scripts_.push_back(std::move(script));
}

std::optional<ScriptedReply> TestControl::TakeScript(int port, const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = scripts_.begin(); it != scripts_.end(); ++it) {
    if (it->path != path || (it->port != 0 && it->port != port)) continue;
    ScriptedReply script = *it;
    if (--it->times <= 0) scripts_.erase(it);
    return script;
  }
  return std::nullopt;
}

void TestControl::ClearScripts() {
  std::lock_guard<std::mutex> lock(mutex_);
  scripts_.clear();
}

void TestControl::Record(LoggedRequest request) {
  std::lock_guard<std::mutex> lock(mutex_);
  request.seq = nextSeq_++;
  log_.push_back(std::move(request));
  if (log_.size() > kMaxLogged) log_.pop_front();
}

std::vector<LoggedRequest> TestControl::Requests(long long afterSeq, const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<LoggedRequest> result;
  for (const LoggedRequest& r : log_) {
    if (r.seq > afterSeq && (path.empty() || r.path == path)) result.push_back(r);
  }
  return result;
}

void TestControl::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.clear();
}

Reply ScriptedBody(const ScriptedReply& script, const Reply* real) {
  Reply reply;
  if (real) reply = *real;
  if (script.body) {
    reply.contentType = "text/plain; charset=utf-8";
    reply.body = *script.body;
  }
  if (script.garbageBytes > 0) {
    // Every byte value, zero and invalid UTF-8 included; the same each time.
    std::mt19937 random(12345);
    reply.contentType = "application/octet-stream";
    reply.body.clear();
    reply.body.reserve(script.garbageBytes);
    for (size_t i = 0; i < script.garbageBytes; ++i) reply.body += static_cast<char>(random() & 0xff);
  }
  if (script.padTo > reply.body.size()) {
    size_t extra = script.padTo - reply.body.size();
    const std::string head = ",\"pad\":\"";
    if (!reply.body.empty() && reply.body.back() == '}' && extra >= head.size() + 1) {
      // Stay a JSON object: the padding is one more field.
      std::string pad = head + std::string(extra - head.size() - 1, 'x') + "\"";
      reply.body.insert(reply.body.size() - 1, pad);
    } else {
      reply.body.append(extra, 'x');
    }
  }
  reply.status = script.status;
  reply.cutOff = script.cutOff;
  return reply;
}

namespace {

// Logged values may be anything a client sent; the JSON text stays UTF-8.
std::string JsonText(const std::string& bytes) { return JsonEscape(qv::ToUtf8(qv::FromUtf8(bytes))); }

}  // namespace

std::string RequestsJson(const std::vector<LoggedRequest>& requests) {
  std::string out = "[";
  for (const LoggedRequest& r : requests) {
    if (out.size() > 1) out += ",";
    out += "{\"seq\":" + std::to_string(r.seq) + ",\"port\":" + std::to_string(r.port) +
           ",\"method\":\"" + JsonText(r.method) + "\",\"path\":\"" + JsonText(r.path) +
           "\",\"target\":\"" + JsonText(r.target) + "\",\"params\":{";
    bool first = true;
    for (const auto& [key, value] : r.params) {
      if (!first) out += ",";
      first = false;
      out += "\"" + JsonText(key) + "\":\"" + JsonText(value) + "\"";
    }
    out += "}}";
  }
  return out + "]";
}

}  // namespace qv::service
