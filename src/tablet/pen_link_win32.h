#pragma once
// The program's binding to Windows Ink: user32's pointer functions, looked up at run time since
// Windows 7 and Wine lack them, read for the frames of a pen's pointer messages; and the system's
// pen gestures switched off for a window, whichever interface brings the pen.

#include <windows.h>

#include <span>
#include <vector>

#include "tablet/pen_frame.h"
#include "tablet/pointer_abi.h"

namespace tenmark {

class PenLink {
 public:
  PenLink() = default;
  ~PenLink() { close(); }
  PenLink(const PenLink&) = delete;
  PenLink& operator=(const PenLink&) = delete;

  // Looks the functions up; true when a pen's frames can be read.
  bool open();
  void close();
  // Press-and-hold, taps, barrel feedback and flicks off for `window`.
  void quietGestures(HWND window) const;
  // The frames of a pointer message, newest first; none when the pointer is not a pen or no
  // frame can be read.
  std::span<const PenFrame> framesOf(UINT message, WPARAM wParam);

 private:
  bool readFrames(std::uint32_t pointer);

  HMODULE library_ = nullptr;
  ink::GetPointerTypeFn getPointerType_ = nullptr;
  ink::GetPointerPenInfoFn getPointerPenInfo_ = nullptr;
  ink::GetPointerPenInfoHistoryFn getPointerPenInfoHistory_ = nullptr;
  ink::SetWindowFeedbackSettingFn setWindowFeedbackSetting_ = nullptr;
  std::vector<ink::PenInfo> history_;
  std::vector<PenFrame> frames_;
};

// A mouse message that the system made from a pen.
bool isPenMadeMouseMessage();

}  // namespace tenmark
