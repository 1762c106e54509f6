#pragma once
// Why a file operation failed, in the system's words: the platform steps keep the system's code
// of the step that failed (errno natively, GetLastError on Windows), for the message that tells
// the user.
#include <string>

namespace tenmark {

// Before an operation: no reason yet.
void clearFileError();
// Keeps the system's code of the step that has just failed on this thread.
void noteFileError();
// The system's text for the kept reason, in the user's language, without a line break at its
// end; empty when no step has failed since clearFileError.
std::string fileErrorText();

}  // namespace tenmark
