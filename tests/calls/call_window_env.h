// The main window on the headless toolkit for the call tests: a window per
// test in a fresh working folder, the poll ticked on the toolkit's virtual
// clock, and the subscriber's call log read back from its file.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "sip/sip.h"
#include "storage/call_log.h"
#include "storage/config.h"
#include "storage/files.h"
#include "storage/text.h"
#include "ui/main/qvui.h"
#include "ui/main/window_keeper.h"
#include "ui/main/worker_task.h"
#include "ui/toolkit/button.h"
#include "ui_test_env.h"
#include "web/reply_field.h"

namespace calltest {

using tk::headless::Driver;

class CallWindow {
 public:
  CallWindow() : platform_(uitest::Platform()), driver_(platform_) {
    platform_.ClearRecords();
    platform_.ResetQuit();
  }
  ~CallWindow() { Close(); }

  // A main window for the subscriber, as a login leaves it.
  QVUI* Open(std::u16string_view phone, std::u16string_view uid = u"", std::u16string_view password = u"",
             std::u16string_view sign = u"") {
    qv::CreateDataFolder();  // the login window makes it
    window_ = KeepUntilExit(new QVUI());
    window_->phone = phone;
    window_->uid = uid;
    window_->password = password;
    window_->sign = sign;
    theMainWindow = window_;
    window_->mainHwnd =
        window_->Create(nullptr, u"Velto网络电话", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0, 0, 0, 300, 550);
    return window_;
  }

  void Close() {
    if (window_ != nullptr && window_->IsWindow()) window_->DestroyWindow();
    theMainWindow = nullptr;
    // The window's workers end; what they posted is dropped with it.
    // (A failed fetch's message box needs the user-interface thread.)
    EXPECT_TRUE(platform_.PumpUntil([] { return WaitForWorkerTasks(std::chrono::milliseconds(0)); }));
    platform_.RunPending();
    window_ = nullptr;
  }

  QVUI* window() const { return window_; }
  Driver& driver() { return driver_; }
  tk::headless::HeadlessPlatform& platform() { return platform_; }

  // Types a number into the entry box and presses the call button.
  bool Dial(std::u16string_view number) {
    window_->numberInput->SetText(number);
    return driver_.Click(window_, u"CalledBtn");
  }

  // `n` ticks of the one-second poll.
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) driver_.AdvanceTime(1000);
  }

  std::u16string Text(std::u16string_view control) { return Driver::Find(window_, control)->GetText(); }

  // The call-line options in the order they were added.
  std::vector<tk::COptionUI*> Options() {
    std::vector<tk::COptionUI*> options;
    if (auto* group = window_->GetPaintManager()->GetOptionGroup(u"callingoption")) options = *group;
    return options;
  }

  // The records of the subscriber's call log (records with a number).
  std::vector<qv::CallRecord> Records() {
    std::vector<qv::CallRecord> records;
    for (auto& r : qv::ParseCallLog(qv::ReadTextFile(window_->callLogPath))) {
      if (!r.phone.empty()) records.push_back(r);
    }
    return records;
  }

  std::u16string ConfigValue(std::u16string_view key) { return qv::ReplyField(qv::ReadConfig(), key, u',', u'='); }

  // The boxes shown so far other than the fetcher's "网络连接失败".
  std::vector<tk::headless::MessageBoxRecord> Boxes() { return uitest::OwnBoxes(); }

 private:
  tk::headless::HeadlessPlatform& platform_;
  Driver driver_;
  QVUI* window_ = nullptr;
};

}  // namespace calltest
