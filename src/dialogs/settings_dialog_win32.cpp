#include "dialogs/settings_dialog_win32.h"

#include "platform/wide_text_win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <utility>
#include <vector>

#include "win32/dialog_controls.h"
#include "win32/modal_dialog.h"
#include "win32/present.h"
#include "win32/shell_services.h"
#include "win32/subclass.h"
#include "resource_ids.h"
#include "tenmark/texts.h"

namespace tenmark {

namespace {

// The longest path the shell hands out, in UTF-16 units.
constexpr DWORD kLongestPath = 32768;

const FolderQuery kIsDirectory = [](const std::string& path) { return isDirectory(path); };

// A static control that shows one colour and lets the user choose another with the colour
// chooser: with a click, or from the keyboard (it takes the focus, with a focus rectangle) with
// Space or Enter, as a push button would.
class ColorSwatch {
 public:
  void attach(HWND dialog, int id, Color color) {
    hwnd_ = GetDlgItem(dialog, id);
    subclass_.attach(hwnd_, [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      return handle(message, wParam, lParam, result);
    });
    setColor(color);
  }
  void setColor(Color color) {
    color_ = color;
    SetWindowLongA(hwnd_, GWL_STYLE, GetWindowLongA(hwnd_, GWL_STYLE) | SS_NOTIFY);
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
  Color color() const { return color_; }

 private:
  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
      case WM_PAINT:
        paint();
        return true;
      case WM_ERASEBKGND:
        result = 1;
        return true;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        InvalidateRect(hwnd_, nullptr, FALSE);
        return false;
      case WM_GETDLGCODE:
        // Enter reaches the swatch instead of pressing OK, as on a focused push button.
        result = isChooseKey(reinterpret_cast<const MSG*>(lParam)) ? DLGC_WANTMESSAGE : 0;
        return true;
      case WM_KEYDOWN:
        if (wParam != VK_SPACE && wParam != VK_RETURN) return false;
        choose();
        return true;
      case WM_LBUTTONDOWN:
        // A cancelled chooser leaves the colour, and the click goes no further.
        return !choose();
      default:
        return false;
    }
  }

  static bool isChooseKey(const MSG* msg) {
    return msg && msg->message == WM_KEYDOWN &&
           (msg->wParam == VK_RETURN || msg->wParam == VK_SPACE);
  }

  void paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT outline{0, 0, client.right - 1, client.bottom - 1};
    FrameRect(dc, &outline, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const RECT inside{1, 1, client.right - 2, client.bottom - 2};
    fillSolid(dc, inside, color_);
    if (GetFocus() == hwnd_) DrawFocusRect(dc, &inside);
    EndPaint(hwnd_, &ps);
  }

  bool choose() {
    static COLORREF customColors[16] = {};
    CHOOSECOLORA chooser{};
    chooser.lStructSize = sizeof chooser;
    // Owned by the dialog, so the dialog waits for the choice.
    chooser.hwndOwner = GetParent(hwnd_);
    chooser.rgbResult = color_;
    chooser.lpCustColors = customColors;
    chooser.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorA(&chooser)) return false;
    setColor(chooser.rgbResult & 0xFFFFFF);
    return true;
  }

  HWND hwnd_ = nullptr;
  Subclass subclass_;
  Color color_ = 0;
};

int CALLBACK browseCallback(HWND hwnd, UINT message, LPARAM, LPARAM start) {
  const wchar_t* folder = reinterpret_cast<const wchar_t*>(start);
  if (message == BFFM_INITIALIZED && *folder)
    SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder));
  return 0;
}

class SettingsDialog : public ModalDialog {
 public:
  SettingsDialog(const SettingsDialogValues& values, const TranslucencyPreview& preview,
                 const InkCutQuery& cutsOffInk)
      : ModalDialog(IDD_SETTINGS), values_(values), preview_(preview), cutsOffInk_(cutsOffInk) {}
  const SettingsDialogValues& values() const { return values_; }

 protected:
  BOOL onInitDialog() override;
  void onOK() override;
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void enableHardness(bool enabled);
  void echoSlider(HWND slider);
  void previewTranslucency();
  void browse();
  void onCommand(int id);

  SettingsDialogValues values_;
  TranslucencyPreview preview_;
  InkCutQuery cutsOffInk_;
  ColorSwatch penSwatch_;
  ColorSwatch backgroundSwatch_;
  ColorSwatch clientSwatch_;
};

BOOL SettingsDialog::onInitDialog() {
  HWND d = hwnd();
  const SettingsDialogValues& v = values_;
  setControlNumber(d, IDC_CANVAS_WIDTH, v.canvasWidth);
  setControlNumber(d, IDC_CANVAS_HEIGHT, v.canvasHeight);
  setControlText(d, IDC_SAVE_FOLDER, v.saveFolder);
  setChecked(d, IDC_SAVE_ON_EXIT, v.saveOnExit == 1);
  SendDlgItemMessageA(d, IDC_SAVE_FORMAT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("PNG"));
  SendDlgItemMessageA(d, IDC_SAVE_FORMAT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("BMP"));
  SendDlgItemMessageA(d, IDC_SAVE_FORMAT, CB_SETCURSEL, WPARAM(v.saveFormat), 0);
  setChecked(d, IDC_TRANSLUCENT, v.translucent == 1);
  // A value outside a slider's range shows unchanged in its label; the slider takes its nearest
  // end.
  setControlNumber(d, IDC_ALPHA_VALUE, v.translucency);
  setSlider(d, IDC_ALPHA, 1, 255, v.translucency);
  setSlider(d, IDC_PEN_SIZE, 1, 30, v.penSize);
  setControlNumber(d, IDC_PEN_SIZE_VALUE, v.penSize);
  setSlider(d, IDC_ERASER_SIZE, 1, 30, v.eraserSize);
  setControlNumber(d, IDC_ERASER_SIZE_VALUE, v.eraserSize);
  enableHardness(v.pressureSensing != 0);
  setChecked(d, IDC_PRESSURE, v.pressureSensing != 0);
  setSlider(d, IDC_HARDNESS, 0, 10, v.hardness);
  setControlNumber(d, IDC_HARDNESS_VALUE, v.hardness);
  setChecked(d, IDC_SYSTEM_COLOR, v.useSystemColor != 0);
  setChecked(d, IDC_OWN_COLOR, v.useSystemColor == 0);
  penSwatch_.attach(d, IDC_PEN_COLOR, v.penColor);
  backgroundSwatch_.attach(d, IDC_BACK_COLOR, v.backgroundColor);
  clientSwatch_.attach(d, IDC_CLIENT_COLOR, v.clientColor);
  setChecked(d, IDC_IGNORE_TABLET_XY, v.ignoreTabletXY != 0);
  return TRUE;
}

void SettingsDialog::enableHardness(bool enabled) {
  for (int id : {IDC_HARDNESS, IDC_HARDNESS_VALUE, IDC_HARDNESS_CAPTION})
    EnableWindow(GetDlgItem(hwnd(), id), enabled);
}

void SettingsDialog::echoSlider(HWND slider) {
  struct Echo {
    int slider;
    int label;
  };
  static constexpr Echo kEchoes[] = {{IDC_PEN_SIZE, IDC_PEN_SIZE_VALUE},
                                     {IDC_ERASER_SIZE, IDC_ERASER_SIZE_VALUE},
                                     {IDC_HARDNESS, IDC_HARDNESS_VALUE},
                                     {IDC_ALPHA, IDC_ALPHA_VALUE}};
  const int id = GetDlgCtrlID(slider);
  for (const Echo& echo : kEchoes)
    if (echo.slider == id) setControlNumber(hwnd(), echo.label, sliderPosition(hwnd(), id));
  if (id == IDC_ALPHA) previewTranslucency();
}

void SettingsDialog::previewTranslucency() {
  preview_(isChecked(hwnd(), IDC_TRANSLUCENT) ? 1 : 0, sliderPosition(hwnd(), IDC_ALPHA));
}

void SettingsDialog::browse() {
  const std::wstring start =
      toWideOrEmpty(browseStartFolder(controlText(hwnd(), IDC_SAVE_FOLDER), kIsDirectory));
  const std::wstring title = toWideOrEmpty(text::BrowseFolderTitle);
  BROWSEINFOW info{};
  info.hwndOwner = hwnd();
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (!item) return;
  // Read in full, however long: a path that does not fit is refused, never cut.
  std::vector<wchar_t> wide(kLongestPath, L'\0');
  const bool got = SHGetPathFromIDListEx(item, wide.data(), kLongestPath, GPFIDL_DEFAULT);
  CoTaskMemFree(item);
  if (!got || wide.back() != L'\0') return;
  const std::optional<std::string> path = fromWide(wide.data());
  if (!path) return;
  if (const std::optional<std::string> folder =
          browsedFolder(std::span<const char>(path->c_str(), path->size() + 1), kIsDirectory))
    setControlText(hwnd(), IDC_SAVE_FOLDER, *folder);
}

void SettingsDialog::onCommand(int id) {
  switch (id) {
    case IDC_TRANSLUCENT:
      previewTranslucency();
      break;
    case IDC_PRESSURE:
      enableHardness(isChecked(hwnd(), IDC_PRESSURE));
      break;
    case IDC_BROWSE:
      browse();
      break;
    default:
      break;
  }
}

bool SettingsDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (message == WM_HSCROLL && lParam) {
    echoSlider(reinterpret_cast<HWND>(lParam));
    return true;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    onCommand(LOWORD(wParam));
    return true;
  }
  return false;
}

void SettingsDialog::onOK() {
  HWND d = hwnd();
  SettingsEntries entries{controlText(d, IDC_CANVAS_WIDTH), controlText(d, IDC_CANVAS_HEIGHT),
                          controlText(d, IDC_SAVE_FOLDER)};
  const SettingsReading reading = readSettingsEntries(entries, values_, kIsDirectory);
  if (reading.problem) {
    showMessage(d, reading.problem->c_str());
    return;
  }
  // Ink that the new size leaves outside is lost only when the user says so; No comes back here.
  if (cutsOffInk_(reading.size) && !askWarningYesNo(d, text::CropQuestion)) return;
  SettingsDialogValues& v = values_;
  v.canvasWidth = reading.size.width;
  v.canvasHeight = reading.size.height;
  v.saveFolder = std::move(entries.folder);
  v.saveOnExit = isChecked(d, IDC_SAVE_ON_EXIT) ? 1 : 0;
  v.saveFormat = std::int32_t(SendDlgItemMessageA(d, IDC_SAVE_FORMAT, CB_GETCURSEL, 0, 0));
  v.translucent = isChecked(d, IDC_TRANSLUCENT) ? 1 : 0;
  v.translucency = sliderPosition(d, IDC_ALPHA);
  v.penSize = sliderPosition(d, IDC_PEN_SIZE);
  v.eraserSize = sliderPosition(d, IDC_ERASER_SIZE);
  v.pressureSensing = isChecked(d, IDC_PRESSURE) ? 1 : 0;
  v.hardness = sliderPosition(d, IDC_HARDNESS);
  v.useSystemColor = isChecked(d, IDC_SYSTEM_COLOR) ? 1 : 0;
  v.penColor = penSwatch_.color();
  v.backgroundColor = backgroundSwatch_.color();
  v.clientColor = clientSwatch_.color();
  v.ignoreTabletXY = isChecked(d, IDC_IGNORE_TABLET_XY) ? 1 : 0;
  endModal(IDOK);
}

}  // namespace

std::optional<SettingsDialogValues> showSettingsDialog(HWND owner,
                                                       const SettingsDialogValues& values,
                                                       const TranslucencyPreview& preview,
                                                       const InkCutQuery& cutsOffInk) {
  SettingsDialog dialog(values, preview, cutsOffInk);
  if (dialog.runModal(owner) != IDOK) return std::nullopt;
  return dialog.values();
}

}  // namespace tenmark
