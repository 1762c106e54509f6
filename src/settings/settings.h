#pragma once
// Every value that persists in the settings file: the options, the canvas size and colours,
// the window placement and the 29 key bindings. Members are named after their keys.

#include <cstdint>
#include <string>

#include "shortcuts/command_table.h"

namespace tenmark {

// Which interface brings the pen: Wintab when it opens, else Windows Ink; or one of them only.
inline constexpr std::int32_t kTabletInputAutomatic = 0;
inline constexpr std::int32_t kTabletInputWintab = 1;
inline constexpr std::int32_t kTabletInputInk = 2;

struct Settings {
  std::string saveFolder;  // s_save_dir
  // The canvas: held by the canvas while running, copied back here before writing.
  std::int32_t n_canvas_x = 0;
  std::int32_t n_canvas_y = 0;
  std::int32_t n_back_color = 0xEAF1F4;  // colours are 0x00BBGGRR
  std::int32_t n_pen_color = 0;
  std::int32_t n_save_img = 1;
  std::int32_t n_save_type = 0;
  std::int32_t n_alpha = 212;
  std::int32_t n_set_alpha = 0;
  std::int32_t n_pen_size = 1;
  std::int32_t n_erase_size = 8;
  std::int32_t n_clnt_color = 0xB5C5D2;
  std::int32_t b_ClientDef = 0;
  // The window's normal position; a size of 0 means none was stored.
  std::int32_t n_xpos = 0;
  std::int32_t n_ypos = 0;
  std::int32_t n_xsize = 0;
  std::int32_t n_ysize = 0;
  std::int32_t b_Maximized = 0;
  std::int32_t b_PenPressure = 0;
  std::int32_t n_PenHardness = 7;
  std::int32_t b_ShowMenu = 1;
  std::int32_t b_IgnoreTabXY = 1;
  std::int32_t n_tablet_input = kTabletInputAutomatic;
  KeyBindings keyBindings;

  Settings() { keyBindings.setDefaults(); }
  bool operator==(const Settings&) const = default;

  // The stored placement is applied only when both sides are positive.
  bool hasStoredPlacement() const { return n_xsize > 0 && n_ysize > 0; }
};

// The default canvas is square, as high as the screen less 100 pixels (at least 1).
std::int32_t defaultCanvasSide(std::int32_t screenHeight);

// All defaults: the canvas from the screen height, the save folder the executable's folder.
Settings defaultSettings(std::int32_t screenHeight, const std::string& exeFolder);

struct CanvasSize {
  std::int32_t width;
  std::int32_t height;
};

// The largest canvas side the settings file takes back; a larger picture's size is not kept.
inline constexpr std::int32_t kMaxConfiguredCanvasSide = 6000;
bool configurableCanvasSize(const CanvasSize& size);

// The size to create the canvas with: a side that no surface can have (0 is accepted by the
// reader) falls back to the default square, so the program never runs without a canvas.
CanvasSize canvasSizeOrDefault(const Settings& settings, std::int32_t screenHeight);

}  // namespace tenmark
