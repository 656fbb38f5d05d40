// The whole toolkit for window code: controls, windows, the paint manager,
// the dialog builder and the desktop services.
#pragma once

#include "ui/toolkit/button.h"
#include "ui/toolkit/combo.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/control.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/edit.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/list.h"
#include "ui/toolkit/notify.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/shell.h"
#include "ui/toolkit/web_browser.h"
#include "ui/toolkit/win32.h"
#include "ui/toolkit/window.h"
