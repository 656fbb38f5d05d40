#include "app/start_up.h"

#include "ui/toolkit/qt/qt_backend.h"

void InstallDesktopPlatform() { tk::qt::InstallQtPlatform(); }
