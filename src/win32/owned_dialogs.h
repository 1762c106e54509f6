#pragma once
// Ending the dialogs and questions that are up over a window, when the window must close.

#include <windows.h>

namespace tenmark {

// Asks every visible dialog of this thread that `owner` owns, directly or through another, to
// end with its safest answer: Cancel, or No for a question without Cancel. Each ends in its own
// loop, innermost first. True when there was one.
bool cancelOwnedDialogs(HWND owner);

}  // namespace tenmark
