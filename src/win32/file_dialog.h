#pragma once
// The platform's open and save dialogs for pictures: PNG and BMP filters, PNG preselected.

#include <windows.h>

#include <optional>
#include <string>

#include "imagefile/document_names.h"

namespace tenmark {

struct FileDialogChoice {
  std::string path;
  PictureFormat format;  // of the chosen filter
};

// Starts in `folder` with `name` in the name field; none when the user cancels.
std::optional<FileDialogChoice> runOpenDialog(HWND owner, const std::string& folder);
std::optional<FileDialogChoice> runSaveDialog(HWND owner, const std::string& folder,
                                              const std::string& name);

}  // namespace tenmark
