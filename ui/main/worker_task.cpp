#include "ui/main/worker_task.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "ui/main/qvui.h"
#include "ui/toolkit/shell.h"
#include "web/http_get.h"
#include "web/reply_field.h"
#include "web/service_hosts.h"
#include "web/sign.h"
#include "web/url.h"

namespace {

// Runs fn on the user-interface thread with the task's window, when that
// window is still the current main window there.
template <typename Fn>
void ApplyToWindow(QVUI* window, Fn fn) {
  tk::PostToUiThread([window, fn = std::move(fn)]() mutable {
    if (window == nullptr || theMainWindow.load() != window) return;
    fn(*window);
  });
}

// The worker threads still running. Never destroyed: a worker may end
// while the process exits.
struct RunningWorkers {
  std::mutex mutex;
  std::condition_variable done;
  int count = 0;
};
RunningWorkers& Running() {
  static auto* running = new RunningWorkers();
  return *running;
}

}  // namespace

std::u16string LocationOfReply(std::u16string_view reply) {
  constexpr std::u16string_view kOpen = u"<location>";
  constexpr std::u16string_view kClose = u"</location>";
  std::u16string_view rest;
  if (auto at = reply.find(kOpen); at != std::u16string_view::npos) {
    rest = reply.substr(at + kOpen.size());
  } else {
    rest = reply.size() > 9 ? reply.substr(9) : std::u16string_view{};
  }
  auto end = rest.find(kClose);
  if (end == std::u16string_view::npos) return {};
  return std::u16string(rest.substr(0, end));
}

std::u16string UserKindText(std::u16string_view phone, std::u16string_view type) {
  if (type == u"0") return std::u16string(phone) + u"体验用户";
  if (type == u"1") return std::u16string(phone) + u"正式用户";
  return {};
}

void StartWorkerTask(std::u16string_view command, std::string url, int line, std::u16string_view number) {
  WorkerTask task;
  task.command = command;
  task.url = std::move(url);
  task.line = line;
  task.number = number;
  task.window = theMainWindow.load();
  if (task.window != nullptr) task.phone = task.window->phone;
  RunningWorkers& running = Running();
  {
    std::lock_guard lock(running.mutex);
    ++running.count;
  }
  std::thread([task = std::move(task), &running]() mutable {
    RunWorkerTask(std::move(task));
    std::lock_guard lock(running.mutex);
    --running.count;
    running.done.notify_all();
  }).detach();
}

int RunWorkerTask(WorkerTask task) {
  if (task.window == nullptr) return 0;
  if (task.command == u"setUserName") {
    const std::string url = qv::BuildUrl(qv::ServiceBase(qv::Service::Api), "/user_type",
                                         {{"phone", task.phone}, {"sign", qv::RequestSign(task.phone)}});
    const std::u16string reply = qv::HttpGet(url, "");
    ApplyToWindow(task.window, [reply, phone = task.phone](QVUI& w) {
      w.userType = qv::ReplyField(reply, u"type");
      const std::u16string text = UserKindText(phone, w.userType);
      if (w.userNameLabel != nullptr && !text.empty()) w.userNameLabel->SetText(text);
    });
  } else if (task.command == u"updateRemainderMoney") {
    if (task.url.empty()) return 0;
    const std::u16string reply = qv::HttpGet(task.url, "");
    if (reply.empty()) return 0;
    ApplyToWindow(task.window, [reply](QVUI& w) { w.UpdateBalance(reply); });
  } else if (task.command == u"updateContactList") {
    const std::u16string reply = qv::HttpGet(task.url, "");
    if (reply.empty()) return 0;
    ApplyToWindow(task.window, [reply](QVUI& w) { w.UpdateContactList(reply); });
  } else if (task.command == u"get_mobile_address") {
    const std::u16string reply = qv::HttpGet(task.url, "GBK");
    const int line = task.line;
    if (line < 0 || line >= 7) return 0;
    ApplyToWindow(task.window, [reply, line, number = task.number](QVUI& w) {
      auto& info = w.lineInfo[line];
      if (!number.empty() && info[kLineNumber] != number) return;
      info[kLineLocation] = LocationOfReply(reply);
    });
  }
  return 0;
}

bool WaitForWorkerTasks(std::chrono::milliseconds limit) {
  RunningWorkers& running = Running();
  std::unique_lock lock(running.mutex);
  return running.done.wait_for(lock, limit, [&] { return running.count == 0; });
}
