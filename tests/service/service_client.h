// Requests to the running local service in the phone's own form: URLs made
// by the phone's URL builder, signatures and scrambled passwords by the
// phone's signing code, over a real HTTP connection on loopback.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace svctest {

inline constexpr int kApi = 8899;
inline constexpr int kContacts = 8901;
inline constexpr int kPay = 8902;
inline constexpr int kUserCentre = 8903;
inline constexpr int kMobile = 8904;
inline constexpr int kSite = 8905;
inline constexpr int kLookup = 8906;
inline constexpr int kControl = 8909;

struct HttpReply {
  bool ok = false;  // a complete reply arrived
  int status = 0;
  std::string body;
  std::string contentType;
};

// GET of a path with its query, as it goes on the wire.
HttpReply Get(int port, const std::string& target, int readTimeoutSeconds = 30);

using Params = std::vector<std::pair<std::string, std::string>>;

// Path and query, values percent-encoded as the phone encodes them.
std::string Target(const std::string& path, const Params& params);

// The signature the phone sends for a number or a uid.
std::string Sign(const std::string& id);
std::string Scramble(const std::string& plain);

// The value of a field of a reply, read the phone's way.
std::string Field(const std::string& reply, const std::string& key);

// Test control.
std::string Control(const std::string& command, const Params& params = {});
void ResetService();

}  // namespace svctest
