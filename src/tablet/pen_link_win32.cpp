#include "tablet/pen_link_win32.h"

#include <cstdlib>
#include <new>

namespace tenmark {

namespace {

template <typename Fn>
void lookUp(HMODULE library, const char* name, Fn& entry) {
  entry = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

HMODULE loadPointerLibrary() {
#ifdef TENMARK_FAULT_DRILL
  // Test builds: a scripted stand-in plays the system's side, which Wine does not have.
  if (const char* standIn = std::getenv("TENMARK_POINTER_STANDIN"); standIn && *standIn)
    return LoadLibraryA(standIn);
#endif
  return LoadLibraryA("user32.dll");
}

}  // namespace

bool PenLink::open() {
  close();
  library_ = loadPointerLibrary();
  if (!library_) return false;
  lookUp(library_, "GetPointerType", getPointerType_);
  lookUp(library_, "GetPointerPenInfo", getPointerPenInfo_);
  lookUp(library_, "GetPointerPenInfoHistory", getPointerPenInfoHistory_);
  lookUp(library_, "SetWindowFeedbackSetting", setWindowFeedbackSetting_);
  // Room for a frame that ends a press, whatever the memory.
  frames_.reserve(1);
  return getPointerType_ && getPointerPenInfo_ && getPointerPenInfoHistory_;
}

void PenLink::close() {
  getPointerType_ = nullptr;
  getPointerPenInfo_ = nullptr;
  getPointerPenInfoHistory_ = nullptr;
  setWindowFeedbackSetting_ = nullptr;
  if (!library_) return;
  FreeLibrary(library_);
  library_ = nullptr;
}

void PenLink::quietGestures(HWND window) const {
  SetPropW(window, ink::kPenServiceProperty,
           reinterpret_cast<HANDLE>(std::uintptr_t(ink::kQuietPenGestures)));
  if (!setWindowFeedbackSetting_) return;
  const BOOL off = FALSE;
  for (std::uint32_t kind = ink::kFirstPenFeedback; kind <= ink::kLastPenFeedback; ++kind)
    setWindowFeedbackSetting_(window, kind, 0, sizeof off, &off);
}

std::span<const PenFrame> PenLink::framesOf(UINT message, WPARAM wParam) {
  frames_.clear();
  const std::uint32_t pointer = LOWORD(wParam);
  std::uint32_t type = 0;
  const bool known = getPointerType_ && getPointerType_(pointer, &type);
  if (known && type != ink::kPenPointer) return {};
  // The pen has left the window, or the system took its press away: the press ends as a
  // release would, also when the pen can no longer be read.
  const bool leaving = message == ink::kPointerLeave;
  const bool taken = message == ink::kPointerCaptureChanged;
  if (!known || !readFrames(pointer)) {
    if (!leaving && !taken) return {};
    frames_.emplace_back();
  }
  if (leaving) frames_.front().inRange = false;
  if (taken) frames_.front().canceled = true;
  return frames_;
}

bool PenLink::readFrames(std::uint32_t pointer) {
  ink::PenInfo latest{};
  if (!getPointerPenInfo_(pointer, &latest)) return false;
  std::uint32_t count = latest.pointerInfo.historyCount;
  try {
    if (count > 1) {
      history_.resize(count);
      if (!getPointerPenInfoHistory_(pointer, &count, history_.data())) count = 0;
      for (std::uint32_t i = 0; i < count && i < history_.size(); ++i)
        frames_.push_back(penFrameOf(history_[i]));
    }
    if (frames_.empty()) frames_.push_back(penFrameOf(latest));
  } catch (const std::bad_alloc&) {
    // Without the memory for the history, the latest frame alone.
    frames_.clear();
    frames_.push_back(penFrameOf(latest));
  }
  return true;
}

bool isPenMadeMouseMessage() {
  return (std::uint32_t(GetMessageExtraInfo()) & ink::kPenSignatureMask) == ink::kPenSignature;
}

}  // namespace tenmark
