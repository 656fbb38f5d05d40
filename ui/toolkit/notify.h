// Notifications: what a control tells its window ("click", "selectchanged",
// ...), and the interfaces a window implements to receive them and to
// filter its messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/toolkit/geometry.h"
#include "ui/toolkit/win32.h"

namespace tk {

class CControlUI;

// Notification types, compared exactly.
inline constexpr std::u16string_view kNotifyClick = u"click";                 // a button, option or check box was pressed
inline constexpr std::u16string_view kNotifySelectChanged = u"selectchanged"; // an option's selected state changed
inline constexpr std::u16string_view kNotifyItemSelect = u"itemselect";       // list or combo selection changed; wParam new, lParam old index
inline constexpr std::u16string_view kNotifyItemClick = u"itemclick";         // a list item was pressed (sender: the item)
inline constexpr std::u16string_view kNotifyItemActivate = u"itemactivate";   // a list item was double clicked or Return pressed
inline constexpr std::u16string_view kNotifyItemExpand = u"itemexpand";       // a list item was expanded or collapsed
inline constexpr std::u16string_view kNotifySetFocus = u"setfocus";           // the control got the keyboard focus
inline constexpr std::u16string_view kNotifyKillFocus = u"killfocus";         // the control lost the keyboard focus
inline constexpr std::u16string_view kNotifyTimer = u"timer";                 // a control timer fired; wParam is the timer id
inline constexpr std::u16string_view kNotifyTextChanged = u"textchanged";     // an edit's text was changed by typing
inline constexpr std::u16string_view kNotifyReturn = u"return";               // Return pressed in a single-line edit
inline constexpr std::u16string_view kNotifyLink = u"link";                   // a link was clicked; lParam: index of the link
inline constexpr std::u16string_view kNotifyWindowInit = u"windowinit";       // the window's tree is built and shown the first time

struct TNotifyUI {
  std::u16string sType;          // one of the kNotify* texts
  CControlUI* pSender = nullptr; // the control that sends it (alive during Notify)
  std::uint64_t dwTimestamp = 0; // milliseconds of the toolkit clock
  Point ptMouse;                 // last mouse position in client coordinates
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Receives the notifications of a paint manager (a window implements it).
class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(TNotifyUI& msg) = 0;
};

// Sees every message of its window before the window handles it. Setting
// `bHandled` stops the message there.
class IMessageFilterUI {
 public:
  virtual ~IMessageFilterUI() = default;
  virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

}  // namespace tk
