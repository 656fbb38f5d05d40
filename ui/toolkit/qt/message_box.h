// Message boxes with Win32 button sets and answers (MB_OK, MB_OKCANCEL,
// MB_YESNO; IDOK, IDCANCEL, IDYES, IDNO), GUI thread only.
#pragma once

#include <functional>
#include <string>

#include "ui/toolkit/win32.h"

class QMessageBox;
class QWidget;

namespace tk::qt {

// A box with an owner blocks input to that window only; a box without owner
// blocks no window (as a Win32 box without owner). Closing a box without a
// button gives the refusing answer (IDCANCEL; IDNO for Yes/No; IDOK for OK),
// as does the owner going away while the box is open.
int RefusingAnswer(UINT type);

// Shows the box and waits for the answer, handling events meanwhile.
int RunMessageBox(QWidget* owner, const std::u16string& caption, const std::u16string& text, UINT type);

// Shows the box and returns at once; `done` gets the answer later.
QMessageBox* OpenMessageBox(QWidget* owner, const std::u16string& caption, const std::u16string& text,
                            UINT type, std::function<void(int)> done);

}  // namespace tk::qt
