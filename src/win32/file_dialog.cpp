#include "win32/file_dialog.h"

#include <commdlg.h>

#include <vector>

#include "platform/wide_text_win32.h"

namespace tenmark {

namespace {

constexpr wchar_t kFilter[] = L"PNG (1bit)\0*.png;\0Bitmap (1bit)\0*.bmp;\0";
constexpr DWORD kOpenFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
// The longest path the system can name, so that no path is ever cut.
constexpr std::size_t kPathBuffer = 32768;
constexpr DWORD kSaveFlags =
    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT;

std::optional<FileDialogChoice> run(HWND owner, bool save, const std::string& folder,
                                    const std::string& name) {
  std::vector<wchar_t> file(kPathBuffer, L'\0');
  toWideOrEmpty(name).copy(file.data(), file.size() - 1);
  const std::wstring initialFolder = toWideOrEmpty(folder);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hInstance = GetModuleHandleW(nullptr);
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = DWORD(file.size());
  dialog.lpstrInitialDir = initialFolder.c_str();
  dialog.Flags = save ? kSaveFlags : kOpenFlags;
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  // A name with a lone surrogate cannot be written as UTF-8: as if nothing was chosen.
  std::optional<std::string> path = fromWide(file.data());
  if (!path) return std::nullopt;
  return FileDialogChoice{std::move(*path),
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
