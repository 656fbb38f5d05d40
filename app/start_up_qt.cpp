#include "app/start_up.h"

#include "ui/toolkit/qt/application.h"

void InstallDesktopPlatform() { qvqt::EnsureApplication(); }
