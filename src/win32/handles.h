#pragma once
// Owners of what Win32 hands out, each given back by its destructor, so that no function gives
// handles back by hand on each of its ways out.

#include <windows.h>

#include <utility>

namespace tenmark {

// A pen, brush, font or bitmap, deleted unless handed over.
template <typename Handle>
class GdiObject {
 public:
  explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
  ~GdiObject() { reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject& operator=(Handle handle) {
    reset();
    handle_ = handle;
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Ownership passes to whoever takes it (the clipboard, say).
  Handle release() { return std::exchange(handle_, nullptr); }

 private:
  void reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

  Handle handle_;
};

// A window's device context for drawing outside its paint.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context compatible with another.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// An object selected into a device context for as long as this lives.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The clipboard, open for as long as this lives.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool isOpen() const { return open_; }

 private:
  bool open_;
};

// The bytes of a global memory block (the clipboard's data, say), locked for as long as this
// lives; empty when the block could not be locked.
class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL block)
      : block_(block), bytes_(block ? static_cast<const BYTE*>(GlobalLock(block)) : nullptr) {}
  ~LockedGlobal() {
    if (bytes_) GlobalUnlock(block_);
  }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  const BYTE* bytes() const { return bytes_; }
  SIZE_T size() const { return bytes_ ? GlobalSize(block_) : 0; }

 private:
  HGLOBAL block_;
  const BYTE* bytes_;
};

}  // namespace tenmark
