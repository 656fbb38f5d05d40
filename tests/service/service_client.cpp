#include "service_client.h"

#include <httplib.h>

#include "storage/text.h"
#include "web/reply_field.h"
#include "web/sign.h"
#include "web/url.h"

namespace svctest {

HttpReply Get(int port, const std::string& target, int readTimeoutSeconds) {
  httplib::Client client("127.0.0.1", port);
  client.set_connection_timeout(10);
  client.set_read_timeout(readTimeoutSeconds);
  HttpReply reply;
  auto result = client.Get(target);
  if (!result) return reply;
  reply.ok = true;
  reply.status = result->status;
  reply.body = result->body;
  reply.contentType = result->get_header_value("Content-Type");
  return reply;
}

std::string Target(const std::string& path, const Params& params) {
  std::vector<std::u16string> values;
  values.reserve(params.size());
  for (const auto& p : params) values.push_back(qv::FromUtf8(p.second));
  std::vector<qv::UrlParam> url;
  for (size_t i = 0; i < params.size(); ++i) url.push_back({params[i].first, values[i]});
  return qv::BuildUrl("", path, url);
}

std::string Sign(const std::string& id) { return qv::ToUtf8(qv::RequestSign(qv::FromUtf8(id))); }

std::string Scramble(const std::string& plain) {
  return qv::ToUtf8(qv::ScramblePassword(qv::FromUtf8(plain)));
}

std::string Field(const std::string& reply, const std::string& key) {
  return qv::ToUtf8(qv::ReplyField(qv::FromUtf8(reply), qv::FromUtf8(key), u',', u':'));
}

std::string Control(const std::string& command, const Params& params) {
  return Get(kControl, Target("/control/" + command, params)).body;
}

void ResetService() { Control("reset"); }

}  // namespace svctest
