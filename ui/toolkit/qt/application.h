// Start-up of the Qt side of the toolkit: the one QApplication of the process,
// its Chinese translations, font and accessibility bridge.
#pragma once

namespace tk::qt {

// Creates the QApplication when none exists yet (idempotent). Must be called
// on the thread that will run the message loop, before any window is made.
// Before the application exists it switches the accessibility bridge on
// (QT_LINUX_ACCESSIBILITY_ALWAYS_ON), so a screen reader started later still
// sees the phone.
void EnsureApplication();

// Destroys the application made by EnsureApplication (optional, at the end
// of main, after every window is gone).
void ShutdownApplication();

// True when called on the thread that owns the QApplication.
bool OnGuiThread();

}  // namespace tk::qt
