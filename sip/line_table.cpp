#include "line_table.h"

#include "sip/sip.h"

#include <array>
#include <cstdint>
#include <mutex>

namespace qv {

namespace {

std::mutex lineLock;
std::array<std::u16string, kCallLines> lineStatus;
std::array<LinphoneCall*, kCallLines> lineCalls{};

bool ValidLine(int line) { return line >= 0 && line < kCallLines; }

}  // namespace

int CallLine(LinphoneCall* call) {
  auto value = reinterpret_cast<std::intptr_t>(linphone_call_get_user_data(call));
  return value > 0 ? static_cast<int>(value - 1) : kNoLine;
}

void SetCallLine(LinphoneCall* call, int line) {
  linphone_call_set_user_data(call, reinterpret_cast<void*>(static_cast<std::intptr_t>(line + 1)));
}

LinphoneCall* LineCall(int line) {
  if (!ValidLine(line)) return nullptr;
  std::lock_guard lock(lineLock);
  return lineCalls[line];
}

void SetLineCall(int line, LinphoneCall* call) {
  if (!ValidLine(line)) return;
  std::lock_guard lock(lineLock);
  lineCalls[line] = call;
}

bool ClaimIncomingLine(LinphoneCall* call, std::u16string text) {
  std::lock_guard lock(lineLock);
  const std::u16string& now = lineStatus[kIncomingLine];
  if (lineCalls[kIncomingLine] || now == kCallEnded || now == kCallMissed || now == kCallFailed) return false;
  lineCalls[kIncomingLine] = call;
  lineStatus[kIncomingLine] = std::move(text);
  return true;
}

bool ForgetLineCall(int line, LinphoneCall* call) {
  if (!ValidLine(line)) return false;
  std::lock_guard lock(lineLock);
  if (lineCalls[line] != call) return false;
  lineCalls[line] = nullptr;
  return true;
}

void SetLineStatus(int line, std::u16string text) {
  if (!ValidLine(line)) return;
  std::lock_guard lock(lineLock);
  lineStatus[line] = std::move(text);
}

void SetLineStatusFor(int line, LinphoneCall* call, std::u16string text) {
  if (!ValidLine(line)) return;
  std::lock_guard lock(lineLock);
  if (lineCalls[line] == call) lineStatus[line] = std::move(text);
}

void ResetLines() {
  std::lock_guard lock(lineLock);
  for (auto& s : lineStatus) s.clear();
  lineCalls.fill(nullptr);
}

std::u16string LineStatus(int line) {
  if (!ValidLine(line)) return {};
  std::lock_guard lock(lineLock);
  return lineStatus[line];
}

void ClearLineStatus(int line) { SetLineStatus(line, {}); }

bool ClearLineStatusIf(int line, std::u16string_view expected) {
  if (!ValidLine(line)) return false;
  std::lock_guard lock(lineLock);
  if (lineStatus[line] != expected) return false;
  lineStatus[line].clear();
  return true;
}

bool LineHasCall(int line) { return LineCall(line) != nullptr; }

void ClearLineCall(int line) {
  if (!ValidLine(line)) return;
  std::lock_guard lock(lineLock);
  lineCalls[line] = nullptr;
}

}  // namespace qv
