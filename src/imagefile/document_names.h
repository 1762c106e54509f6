#pragma once
// The naming rules of documents: which format a path names, where Save writes, the name that
// Save As completes, and the file an automatic save writes. Paths are UTF-8.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tenmark {

enum class PictureFormat { Png, Bmp };

// By the last four characters, without regard to case: ".png" or ".bmp"; none for others.
std::optional<PictureFormat> pictureFormatOf(const std::string& path);

// Where Save writes: the document name itself when it is a full path (holds ":"), else the name
// in the save folder.
std::string savePathOf(const std::string& documentName, const std::string& saveFolder);

// The path Save As writes, in the format of the chosen filter: its extension is appended unless
// the name already ends in "png" or "bmp", in any case of its letters.
std::string completedSaveAsPath(const std::string& chosen, PictureFormat format);

// The name an automatic save takes from the document name: a full path loses its folder (none
// when it has no "\"), and the extension after the last "." goes unless the name starts with it.
std::optional<std::string> autoSaveName(const std::string& documentName);

// The folder with a "\" at its end.
std::string withTrailingSeparator(const std::string& folder);

// base + extension, or base + "_n" + extension with the first n = 1, 2, ... that is free.
std::string uniqueSavePath(const std::string& base, const std::string& extension,
                           const std::function<bool(const std::string&)>& fileExists);

// The n-th name that uniqueSavePath tries (n = 0: base + extension), into `out` with a zero at
// its end, without allocating: the rescue after a fault names its file so. False when it does
// not fit.
bool numberedSavePath(std::span<char> out, std::string_view base, std::string_view extension,
                      int n);

}  // namespace tenmark
