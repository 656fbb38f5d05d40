#include "ui/main/call_lines.h"

#include "sip/sip.h"
#include "storage/text.h"
#include "ui/main/qvui.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/paint_manager.h"
#include "web/service_hosts.h"
#include "web/url.h"

namespace {

struct CallbackMessage {
  std::u16string_view result;
  std::u16string_view text;
};
constexpr CallbackMessage kCallbackMessages[] = {
    {u"0", u"提交成功！"},
    {u"-2", u"密码错误"},
    {u"-3", u"号码错误，请注意本地外地固定电话号码须加区号！"},
    {u"-4", u"账户不存在"},
    {u"-7", u"账户不存在"},
    {u"-8", u"号码已过期"},
    {u"-9", u"您的余额不足，请充值！"},
    {u"-10", u"帐户已被冻结，请联系客服人员!"},
};

// The final texts and the ongoing texts of a line, with what each means.
struct TableRow {
  std::u16string_view text;
  PollStep step;
};
constexpr TableRow kPollTable[] = {
    {qv::kCallFailed, {PollAction::kEnd, kStatusFailed, kReasonFailed}},
    {qv::kCallEnded, {PollAction::kEnd, kStatusEnded, kReasonTerminated}},
    {qv::kCallMissed, {PollAction::kEnd, kStatusMissed, kReasonMissed}},
    {qv::kRemoteRinging, {PollAction::kShow, kStatusRinging, {}}},
    {qv::kCallProgress, {PollAction::kShow, kStatusWaiting, {}}},
    {qv::kCallAnswered, {PollAction::kTalk, kStatusTalking, {}}},
};

constexpr std::u16string_view kIncomingMark = u"Incoming call";

tk::OptionGroup* LineOptions(QVUI& window) {
  return window.GetPaintManager()->GetOptionGroup(kLineOptionGroup);
}

}  // namespace

PollStep PollStepFor(int line, std::u16string_view text) {
  if (line == qv::kIncomingLine && text.find(kIncomingMark) != std::u16string_view::npos) {
    return {PollAction::kAnnounce, kStatusIncoming, {}};
  }
  for (const TableRow& row : kPollTable) {
    if (text == row.text) return row.step;
  }
  return {};
}

std::u16string CallerNumber(std::u16string_view incomingText) {
  std::u16string_view rest = incomingText;
  if (auto colon = rest.find(u':'); colon != std::u16string_view::npos) rest = rest.substr(colon + 1);
  const auto at = rest.find(u'@');
  if (at == std::u16string_view::npos) return {};
  return std::u16string(rest.substr(0, at));
}

std::u16string_view CallbackResultMessage(std::u16string_view result) {
  for (const CallbackMessage& m : kCallbackMessages) {
    if (m.result == result) return m.text;
  }
  return {};
}

std::string LocationLookupUrl(std::u16string_view number) {
  return qv::BuildUrl(qv::ServiceBase(qv::Service::Lookup), "/smartresult-xml/search.s",
                      {{"type", u"mobile"}, {"q", number}});
}

std::u16string TimerText(int value) {
  const std::string digits = std::to_string(value);
  return qv::Widen(value < 10 ? "0" + digits : digits);
}

tk::COptionUI* LineOption(QVUI& window, int line) {
  tk::OptionGroup* group = LineOptions(window);
  if (group == nullptr) return nullptr;
  for (tk::COptionUI* option : *group) {
    if (option != nullptr && qv::ToInt(option->GetUserData()) == line) return option;
  }
  return nullptr;
}

tk::COptionUI* SelectedLineOption(QVUI& window) {
  tk::OptionGroup* group = LineOptions(window);
  if (group == nullptr) return nullptr;
  for (tk::COptionUI* option : *group) {
    if (option != nullptr && option->IsSelected()) return option;
  }
  return nullptr;
}
