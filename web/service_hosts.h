// Where the service's servers are. Each host is a setting: the environment
// variable named below, else the same key in "service.conf" beside the
// executable (lines "KEY=value", '#' starts a comment), else the default.
//
//   server                                   key               default
//   account API server and message server    QV_HOST_API       127.0.0.1 (port 8899 fixed)
//   contacts web server                      QV_HOST_CONTACTS  127.0.0.1:8901
//   payment server                           QV_HOST_PAY       127.0.0.1:8902
//   user-centre web server                   QV_HOST_USERCENTER 127.0.0.1:8903
//   mobile web site                          QV_HOST_MOBILE    127.0.0.1:8904
//   public web site                          QV_HOST_SITE      127.0.0.1:8905
//   mobile-number lookup service             QV_HOST_LOOKUP    127.0.0.1:8906
//   SIP domain (port 10090 fixed)            QV_SIP_DOMAIN     127.0.0.1
//
// The HTTP fetcher's time-outs are settings of the same kind:
//   QV_HTTP_CONNECT_TIMEOUT  seconds to connect           (default 5)
//   QV_HTTP_TIMEOUT          seconds for the whole fetch  (default 10)
#pragma once

#include <string>
#include <string_view>

namespace qv {

enum class Service { Api, Message, Contacts, Pay, UserCenter, Mobile, Site, Lookup, SipDomain };

// The port of the account API and message servers.
inline constexpr int kApiPort = 8899;
// The port of the SIP server.
inline constexpr int kSipPort = 10090;

// The configured host (with a port where the table's default has one).
std::string ServiceHost(Service service);

// "http://" + host, with ":8899" for the API and message servers:
// the part of a URL in front of the path.
std::string ServiceBase(Service service);

// A setting by key: environment, then service.conf, then `fallback`.
std::string ServiceSetting(std::string_view key, std::string_view fallback);

}  // namespace qv
