#include "win32/file_dialog.h"

#include <commdlg.h>

#include <vector>

namespace tenmark {

namespace {

constexpr char kFilter[] = "PNG (1bit)\0*.png;\0Bitmap (1bit)\0*.bmp;\0";
constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
// The longest path the system can name, so that no path is ever cut.
constexpr std::size_t kPathBuffer = 32768;
constexpr DWORD kSaveFlags =
    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT;

std::optional<FileDialogChoice> run(HWND owner, bool save, const std::string& folder,
                                    const std::string& name) {
  std::vector<char> file(kPathBuffer, '\0');
  name.copy(file.data(), file.size() - 1);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hInstance = GetModuleHandleA(nullptr);
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = DWORD(file.size());
  dialog.lpstrInitialDir = folder.c_str();
  dialog.Flags = save ? kSaveFlags : kOpenFlags;
  const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (!chosen) return std::nullopt;
  return FileDialogChoice{file.data(),
                          dialog.nFilterIndex == 1 ? PictureFormat::Png : PictureFormat::Bmp};
}

}  // namespace

std::optional<FileDialogChoice> runOpenDialog(HWND owner, const std::string& folder) {
  return run(owner, false, folder, std::string());
}

std::optional<FileDialogChoice> runSaveDialog(HWND owner, const std::string& folder,
                                              const std::string& name) {
  return run(owner, true, folder, name);
}

}  // namespace tenmark
