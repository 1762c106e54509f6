#include <cerrno>
#include <cstring>

#include "platform/file_error.h"

namespace tenmark {

namespace {
thread_local int lastError = 0;
}  // namespace

void clearFileError() { lastError = 0; }

void noteFileError() { lastError = errno; }

std::string fileErrorText() { return lastError == 0 ? std::string() : std::strerror(lastError); }

}  // namespace tenmark
