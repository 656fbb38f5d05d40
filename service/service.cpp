#include "service.h"

#include <sys/socket.h>

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>

#include "database.h"
#include "html.h"
#include "seed.h"

namespace qv::service {
namespace {

constexpr int kMaxDelayMs = 120000;
constexpr size_t kMaxScriptedBytes = 64u << 20;

// Address reuse for quick restarts, but never port sharing: a second
// service on the same ports must fail to start, not split the traffic.
void SocketOptions(int sock) {
  int yes = 1;
  setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

void Configure(httplib::Server& server, size_t threads) {
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server.set_socket_options(SocketOptions);
  server.set_tcp_nodelay(true);
  server.set_read_timeout(10);
  server.set_write_timeout(10);
  server.set_keep_alive_max_count(20);
  // A page for the errors the HTTP layer finds itself (unknown method, a
  // request line too long); replies that have a body keep it.
  httplib::Server::HandlerWithResponse errorPage = [](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty() || res.content_length_ > 0) return httplib::Server::HandlerResponse::Unhandled;
    res.set_content(res.status == 404 ? NotFoundPage()
                                      : Page("请求错误", "<h1>" + std::to_string(res.status) +
                                                           " 请求错误</h1><p>服务器无法处理该请求。</p>"),
                    "text/html; charset=utf-8");
    return httplib::Server::HandlerResponse::Handled;
  };
  server.set_error_handler(errorPage);
  server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    res.status = 500;
    res.set_content(Page("服务器错误", "<h1>500 服务器错误</h1>"), "text/html; charset=utf-8");
  });
}

void Send(const Reply& reply, httplib::Response& res) {
  res.status = reply.status;
  if (reply.cutOff) {
    // Announce a body, then fail to provide it: the status line and the
    // headers go out and the connection closes.
    res.set_content_provider(
        reply.body.size() + 1, reply.contentType,
        [](size_t, size_t, httplib::DataSink&) { return false; });
    return;
  }
  res.set_content(reply.body, reply.contentType);
}

size_t SizeParam(const Query& q, const std::string& key) {
  std::string text = q.Get(key);
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::min<size_t>(std::stoul(text), kMaxScriptedBytes);
}

}  // namespace

Service::Service(ServiceConfig config, Database& db)
    : config_(std::move(config)), db_(db), ringer_(config_.ringFifo) {
  if (config_.testControl) control_ = std::make_unique<TestControl>();
  AddFront(kApiPort, AccountApiRoutes(), 16);
  AddFront(kContactsPort, ContactsRoutes(), 8);
  AddFront(kPaymentPort, PaymentRoutes(), 4);
  AddFront(kUserCentrePort, UserCentreRoutes(), 4);
  AddFront(kMobileSitePort, MobileSiteRoutes(), 4);
  AddFront(kPublicSitePort, PublicSiteRoutes(), 4);
  AddFront(kLookupPort, LookupRoutes(), 8);
}

Service::~Service() { Stop(); }

void Service::AddFront(int port, std::vector<qv::service::Route> routes, size_t threads) {
  auto front = std::make_unique<Front>();
  front->port = port;
  front->threads = threads;
  for (auto& route : routes) {
    std::string path = route.path;
    front->routes.emplace(path, std::move(route));
  }
  fronts_.push_back(std::move(front));
}

bool Service::Start(std::string* error) {
  for (auto& front : fronts_) {
    front->server = std::make_unique<httplib::Server>();
    Configure(*front->server, front->threads);
    const Front* f = front.get();
    front->server->Get(".*", [this, f](const httplib::Request& req, httplib::Response& res) {
      Handle(*f, req, res);
    });
    if (!front->server->bind_to_port(config_.bindHost, front->port)) {
      *error = "cannot listen on " + config_.bindHost + ":" + std::to_string(front->port);
      Stop();
      return false;
    }
  }
  if (control_) {
    controlServer_ = std::make_unique<httplib::Server>();
    Configure(*controlServer_, 4);
    auto handler = [this](const httplib::Request& req, httplib::Response& res) { Send(Control(req), res); };
    controlServer_->Get("/control/.*", handler);
    controlServer_->Post("/control/.*", handler);
    if (!controlServer_->bind_to_port(config_.bindHost, kTestControlPort)) {
      *error = "cannot listen on " + config_.bindHost + ":" + std::to_string(kTestControlPort);
      Stop();
      return false;
    }
    controlThread_ = std::thread([this] { controlServer_->listen_after_bind(); });
  }
  for (auto& front : fronts_) {
    httplib::Server* server = front->server.get();
    front->thread = std::thread([server] { server->listen_after_bind(); });
  }
  // Serving once this returns, so that Stop() always finds running servers.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  auto running = [this] {
    for (auto& front : fronts_) {
      if (!front->server->is_running()) return false;
    }
    return !controlServer_ || controlServer_->is_running();
  };
  while (!running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void Service::Stop() {
  for (auto& front : fronts_) {
    if (front->server) front->server->stop();
  }
  if (controlServer_) controlServer_->stop();
  for (auto& front : fronts_) {
    if (front->thread.joinable()) front->thread.join();
    front->server.reset();
  }
  if (controlThread_.joinable()) controlThread_.join();
  controlServer_.reset();
}

void Service::Handle(const Front& front, const httplib::Request& req, httplib::Response& res) {
  Reply reply;
  try {
    reply = Answer(front, req);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qv-service: %s failed: %s\n", req.path.c_str(), e.what());
    reply = HtmlReply(Page("服务器错误", "<h1>500 服务器错误</h1>"), 500);
  }
  Send(reply, res);
}

Reply Service::Answer(const Front& front, const httplib::Request& req) {
  std::optional<ScriptedReply> script;
  if (control_) {
    control_->Record({0, front.port, req.method, req.target, req.path, ParseQuery(req.target)});
    script = control_->TakeScript(front.port, req.path);
  }
  if (!script) return Dispatch(front, req);
  if (script->delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(script->delayMs));
  if (script->body || script->garbageBytes > 0) return ScriptedBody(*script, nullptr);
  Reply real = Dispatch(front, req);
  return ScriptedBody(*script, &real);
}

Reply Service::Dispatch(const Front& front, const httplib::Request& req) {
  auto it = front.routes.find(req.path);
  if (it == front.routes.end()) return HtmlReply(NotFoundPage(), 404);
  Params params = ParseQuery(req.target);
  Query query(params);
  if (!query.Acceptable()) return it->second.refusal;
  Context context{db_, config_, ringer_};
  return it->second.handler(context, query);
}

// The test control. Every command answers "OK" or a JSON text:
//   /control/script?path=P[&port=N][&result=R|&body=B|&garbage=N][&size=N]
//                  [&status=S][&delay_ms=MS][&close=1][&times=N]
//   /control/scripts/clear
//   /control/requests[?path=P][&after=SEQ]      the requests received, JSON
//   /control/requests/clear
//   /control/rings                               the subscribers rung, JSON
//   /control/notice?enabled=0|1[&addr=URL]       the update notice
//   /control/reset                               back to the demo data
//   /control/health
Reply Service::Control(const httplib::Request& req) {
  // Commands come as a query or as a form body.
  Params params = ParseQuery(req.target);
  for (const auto& [key, value] : req.params) {
    if (!params.count(key)) params.emplace(key, value);
  }
  Query q(params);
  const std::string& path = req.path;
  if (path == "/control/health") return TextReply("OK");
  if (path == "/control/script") {
    ScriptedReply s;
    s.path = q.Get("path");
    if (s.path.empty() || s.path[0] != '/') return TextReply("path missing");
    s.port = static_cast<int>(SizeParam(q, "port"));
    if (q.Has("result")) s.body = JsonReply({{"result", q.Get("result")}}).body;
    if (q.Has("body")) s.body = q.Get("body");
    s.garbageBytes = SizeParam(q, "garbage");
    s.padTo = SizeParam(q, "size");
    if (q.Has("status")) s.status = static_cast<int>(std::clamp<size_t>(SizeParam(q, "status"), 100, 599));
    s.delayMs = static_cast<int>(std::min<size_t>(SizeParam(q, "delay_ms"), kMaxDelayMs));
    s.cutOff = q.Get("close") == "1";
    if (q.Has("times")) s.times = static_cast<int>(std::max<size_t>(SizeParam(q, "times"), 1));
    control_->AddScript(std::move(s));
    return TextReply("OK");
  }
  if (path == "/control/scripts/clear") {
    control_->ClearScripts();
    return TextReply("OK");
  }
  if (path == "/control/requests") {
    long long after = static_cast<long long>(SizeParam(q, "after"));
    Reply reply = TextReply(RequestsJson(control_->Requests(after, q.Get("path"))));
    reply.contentType = "application/json; charset=utf-8";
    return reply;
  }
  if (path == "/control/requests/clear") {
    control_->ClearRequests();
    return TextReply("OK");
  }
  if (path == "/control/rings") {
    std::string out = "[";
    for (const RingRecord& r : ringer_.Records()) {
      if (out.size() > 1) out += ",";
      out += "{\"subscriber\":\"" + JsonEscape(r.subscriber) + "\",\"called\":\"" + JsonEscape(r.called) +
             "\",\"delivered\":" + (r.delivered ? "true" : "false") + "}";
    }
    Reply reply = TextReply(out + "]");
    reply.contentType = "application/json; charset=utf-8";
    return reply;
  }
  if (path == "/control/notice") {
    auto lock = db_.Lock();
    Statement st(db_.handle(),
                 "UPDATE notices SET enabled = ?1, update_addr = coalesce(?2, update_addr) WHERE sc = ?3");
    st.Bind(1, static_cast<long long>(q.Get("enabled") == "1"));
    if (q.Has("addr")) st.Bind(2, q.Get("addr"));
    else st.BindNull(2);
    st.Bind(3, kClientBuild);
    return TextReply(st.Run() ? "OK" : "database error");
  }
  if (path == "/control/reset") {
    control_->ClearScripts();
    control_->ClearRequests();
    ringer_.Clear();
    auto lock = db_.Lock();
    return TextReply(SeedDemoData(db_, config_) ? "OK" : "database error");
  }
  Reply reply = TextReply("unknown control command");
  reply.status = 404;
  return reply;
}

}  // namespace qv::service
