// The desktop backend of the toolkit for the phone binary.
#pragma once

// Installs the Qt backend (before any window exists).
void InstallDesktopPlatform();
