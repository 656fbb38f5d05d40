// The gallery window: every control in one window (gallery.xml), recording
// every notification and the window messages it sees. Used by the tests of
// both backends, the accessibility tests (through the qv-gallery program)
// and the benchmarks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/toolkit/toolkit.h"

namespace gallery {

struct Note {
  std::u16string type;
  std::u16string sender;
  tk::WPARAM wParam = 0;
  friend bool operator==(const Note&, const Note&) = default;
};

struct Message {
  tk::UINT message = 0;
  tk::WPARAM wParam = 0;
  tk::LPARAM lParam = 0;
};

// The gallery skin file (absolute path).
std::u16string SkinFile();

class GalleryWindow : public tk::WindowImplBase {
 public:
  GalleryWindow() = default;

  std::u16string GetWindowClassName() const override { return u"GalleryWin"; }
  std::u16string GetSkinFolder() override { return u"Skins/"; }
  std::u16string GetSkinFile() override { return SkinFile(); }
  void InitWindow() override;
  void Notify(tk::TNotifyUI& msg) override;
  tk::LRESULT HandleMessage(tk::UINT uMsg, tk::WPARAM wParam, tk::LPARAM lParam) override;

  const std::vector<Note>& Notes() const { return m_notes; }
  const std::vector<Message>& Messages() const { return m_messages; }
  void ClearRecords() {
    m_notes.clear();
    m_messages.clear();
  }
  // Every notification and answer is also handed here as one line of text
  // ("notify click gallery_btn 0", "answer 6", "rebuilt 5").
  std::function<void(const std::string&)> log;
  // "closebtn" ends the message loop (the gallery program).
  bool quitOnClose = false;
  // The answer of the last message box opened by "msgbox_btn" (0: none yet).
  int LastAnswer() const { return m_lastAnswer; }
  // Rebuilds the list with `count` contact items.
  void RebuildList(int count);
  // Opens the box of "msgbox_btn" (modal to this window).
  void AskQuestion();

 private:
  void Log(const std::string& line) {
    if (log) log(line);
  }

  std::vector<Note> m_notes;
  std::vector<Message> m_messages;
  int m_lastAnswer = 0;
  int m_rebuilds = 0;
  int m_presses = 0;
};

}  // namespace gallery
