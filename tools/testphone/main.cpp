// qv-testphone: a scriptable SIP phone.
//
//   qv-testphone --user NUMBER --password PASSWORD [--display NAME] [--domain 127.0.0.1]
//                [--port 10090] [--transport udp|tcp] [--auto-answer MS]
//                [--auto-decline REASON] [--play WAV] [--serve]
//
// Sends a WAV file as its audio (a 440 Hz tone unless --play is given); needs
// no sound card. Prints one line per event on stdout:
//   ready | registered | registration failed | registration cleared
//   state <CallState> [<caller address> | reason <reason>]
//   stats recv <packets> sent <packets> | calls <n> | error <text>
// Commands, one per line on stdin:
//   answer [MS]            answer the ringing call, after MS milliseconds
//   autoanswer MS|off      answer every incoming call after MS milliseconds
//   ring                   let incoming calls ring (no auto answer/decline)
//   decline [REASON]       decline the ringing call: busy, declined, notfound,
//                          unavailable, notanswered
//   autodecline REASON|off decline every incoming call
//   call NUMBER            call a number at the registrar
//   hangup [S]             hang up every call, after S seconds (fractions ok)
//   play WAV               send this WAV (16-bit mono) from now on
//   hold | resume          put the running call on hold / resume a held call
//   stats | calls          RTP packet counts of the current call / call count
//   quit                   unregister and end (also on SIGTERM/SIGINT, and at
//                          the end of input unless --serve is given)
#include "test_phone.h"

#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void OnSignal(int) { stopRequested = 1; }

int Usage() {
  std::fprintf(stderr,
               "usage: qv-testphone --user NUMBER --password PASSWORD [--display NAME] [--domain HOST]\n"
               "                    [--port N] [--transport udp|tcp] [--auto-answer MS] [--auto-decline REASON]\n"
               "                    [--play WAV] [--serve]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  TestPhoneOptions options;
  bool serve = false;
  for (int i = 1; i < argc; ++i) {
    std::string flag = argv[i];
    if (flag == "--serve") {
      serve = true;
      continue;
    }
    if (i + 1 >= argc) return Usage();
    std::string value = argv[++i];
    if (flag == "--user") options.user = value;
    else if (flag == "--password") options.password = value;
    else if (flag == "--display") options.displayName = value;
    else if (flag == "--domain") options.domain = value;
    else if (flag == "--port") options.port = std::atoi(value.c_str());
    else if (flag == "--transport") options.transport = value;
    else if (flag == "--auto-answer") options.autoAnswerMs = std::atoi(value.c_str());
    else if (flag == "--auto-decline") options.autoDecline = value;
    else if (flag == "--play") options.playFile = value;
    else return Usage();
  }
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGPIPE, SIG_IGN);

  TestPhone phone(options);
  if (!phone.Start()) {
    std::fprintf(stderr, "qv-testphone: the SIP engine did not start\n");
    return 1;
  }
  std::string pending;
  bool inputOpen = true;
  while (!stopRequested) {
    phone.Iterate();
    if (!inputOpen) {
      poll(nullptr, 0, 20);
      continue;
    }
    pollfd in{STDIN_FILENO, POLLIN, 0};
    if (poll(&in, 1, 20) <= 0) continue;
    char buf[512];
    ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
      // End of input ends the phone (its driver is gone) unless it serves
      // on its own, as the demo callee does.
      inputOpen = false;
      if (!pending.empty() && !phone.Command(pending)) break;
      if (!serve) break;
      continue;
    }
    pending.append(buf, static_cast<size_t>(n));
    size_t pos;
    bool quit = false;
    while ((pos = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, pos);
      pending.erase(0, pos + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!phone.Command(line)) {
        quit = true;
        break;
      }
    }
    if (quit) break;
  }
  return 0;
}
