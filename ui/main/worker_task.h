// Background requests of the main window. Each task runs its command on a
// new thread of its own; its effects reach the main window on the
// user-interface thread, and only if that window is still the current
// main window (theMainWindow) by then.
//
// Commands:
//   "setUserName"          asks the subscriber kind of the main window's
//                          number; shows the number and the kind
//   "updateRemainderMoney" fetches url, then UpdateBalance(reply)
//   "updateContactList"    fetches url, then UpdateContactList(reply)
//   "get_mobile_address"   fetches url (a number lookup in GBK) and keeps
//                          the location for the task's call line
#pragma once

#include <chrono>
#include <string>
#include <string_view>

class QVUI;

struct WorkerTask {
  std::string url;
  std::u16string command;
  int line = 0;
  // Taken on the user-interface thread when the task is started.
  QVUI* window = nullptr;
  std::u16string phone;
  // "get_mobile_address": the number looked up. The location is kept only
  // while the line still carries that number (a line ended and taken by
  // another call meanwhile does not get the old call's location).
  std::u16string number;
};

// Starts `command` on a new thread for the current main window (user-
// interface thread only). The thread is not waited for.
void StartWorkerTask(std::u16string_view command, std::string url, int line, std::u16string_view number = {});

// Waits until every worker thread started so far has ended (its effect is
// then posted to the user-interface thread); false when some still run
// after `limit`.
bool WaitForWorkerTasks(std::chrono::milliseconds limit);

// The thread's routine (also callable directly by tests: it blocks for the
// fetch and posts the effect to the user-interface thread).
int RunWorkerTask(WorkerTask task);

// The location text of a lookup reply: between "<location>" and
// "</location>" (empty without the closing tag).
std::u16string LocationOfReply(std::u16string_view reply);

// The text "<number>体验用户" / "<number>正式用户" for a kind "0" / "1";
// empty for any other kind (the label then stays as it is).
std::u16string UserKindText(std::u16string_view phone, std::u16string_view type);
