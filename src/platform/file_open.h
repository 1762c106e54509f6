#pragma once
// Opening a file by its UTF-8 name: the wide call on Windows, so that every name the file system
// allows can be reached.

#include <cstdio>
#include <string>

namespace tenmark {

// As std::fopen; nullptr, with the system's reason kept (platform/file_error.h), when the name is
// not valid UTF-8 or the file cannot be opened.
std::FILE* openFile(const std::string& path, const char* mode);

}  // namespace tenmark
