// Popup menus that return the chosen command (TrackPopupMenu with
// TPM_RETURNCMD), and the pointer position.
#pragma once

#include "ui/toolkit/platform.h"

namespace tk::qt {

// Shows the menu at params.screenPt with the TPM_* alignment of
// params.flags, waits for a choice (GUI thread), and returns the chosen
// command, or 0 when the menu was dismissed.
UINT RunPopupMenu(const PopupMenuParams& params);

Point CursorPosition();

}  // namespace tk::qt
