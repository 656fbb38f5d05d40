// The control tree of a window, seen by assistive technology: every control
// gets one QAccessibleInterface (a stable identity for its whole life, freed
// when it leaves the tree), with its role, a name a person hears (the
// visible text, else the tooltip), the skin name as description, states,
// screen geometry, actions, and text interfaces for text and edits. Changes
// of the tree arrive from the paint manager's observer and go out as
// accessibility events, so a screen reader's view stays true after every
// rebuild. Actions from outside run through a queued call on the UI thread:
// a message box they open never blocks the caller.
//
// Everything is skipped while no accessibility client is active.
#pragma once

#include <QAccessible>

#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ui/toolkit/paint_manager.h"

class QWidget;

namespace tk::qt {

class ControlAccessible;

// Installs the interface factory for our windows (once per process).
void InstallAccessibility();

class WindowAccessibility : public IControlObserver {
 public:
  WindowAccessibility(QWidget* widget, HWND hwnd);
  ~WindowAccessibility() override;
  WindowAccessibility(const WindowAccessibility&) = delete;
  WindowAccessibility& operator=(const WindowAccessibility&) = delete;

  // Stops all work and frees every interface (the window is going).
  void Shutdown();

  // ---- IControlObserver ----
  void ControlAdded(CControlUI* control) override;
  void ControlRemoved(CControlUI* control) override;
  void ControlChanged(CControlUI* control) override;
  void FocusChanged(CControlUI* control) override;

  // ---- For the interfaces ----
  QWidget* Widget() const { return m_widget; }
  HWND Handle() const { return m_hwnd; }
  CPaintManagerUI* Manager() const;
  CControlUI* Root() const;
  // The interface of a control of this window (made and registered on
  // first use); null for null or a control not in the tree.
  QAccessibleInterface* InterfaceFor(CControlUI* control);
  // The interface only when it exists already.
  QAccessibleInterface* ExistingInterface(const CControlUI* control) const;
  bool IsLive(const CControlUI* control, QAccessible::Id id) const;
  // The accessible parent and children of a control (lists show their
  // items directly; a combo its choices).
  static CControlUI* AccessibleParent(CControlUI* control);
  static std::vector<CControlUI*> AccessibleChildren(CControlUI* control);

 private:
  void Forget(CControlUI* control);
  void ScheduleFlush();
  void Flush();
  bool Active() const;

  QWidget* m_widget;
  HWND m_hwnd;
  bool m_shutdown = false;
  std::unordered_map<const CControlUI*, QAccessible::Id> m_ids;
  // Controls added since the last flush; their creation is announced once
  // per turn of the event loop, for the top of each new subtree only.
  std::unordered_set<CControlUI*> m_pending;
  bool m_flushScheduled = false;
  std::shared_ptr<bool> m_alive;
};

}  // namespace tk::qt
