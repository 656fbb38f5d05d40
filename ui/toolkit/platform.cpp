#include "ui/toolkit/platform.h"

#include "ui/toolkit/toolkit.h"
#include "ui/toolkit/headless/driver.h"
