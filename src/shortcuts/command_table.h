#pragma once
// The 29 commands that can be bound to a shortcut, their configuration keys, list names and
// default bindings, and the record of the live bindings.

#include <array>
#include <cstddef>

#include "shortcuts/key_code.h"

namespace tenmark {

// Numbered 0-28: the settings file, the shortcut dialog rows and the menu labels use the order.
enum class CommandId {
  New,
  Open,
  Save,
  SaveAs,
  Undo,
  Redo,
  VMirror,
  HMirror,
  Resize,
  Alpha,
  Config,
  KeyConf,
  Eraser,
  ShowMenu,
  PopMenu,
  Copy,
  Paste,
  Brush_P,
  Brush_M,
  Erase_P,
  Erase_M,
  SetPresser,
  ZoomUp,
  ZoomDown,
  ZoomNomal,
  Hand,
  Move,
  NoSaveExit,
  Clear,
};

inline constexpr std::size_t kCommandCount = 29;

struct CommandInfo {
  const char* configKey;  // "dw_Key_" + the command's name
  const char* listName;   // UTF-8 text of the shortcut dialog's first column
  KeyCode defaultCode;
};

const CommandInfo& commandInfo(CommandId id);

struct KeyBindings {
  std::array<KeyCode, kCommandCount> codes{};

  KeyCode& operator[](CommandId id) { return codes[static_cast<std::size_t>(id)]; }
  KeyCode operator[](CommandId id) const { return codes[static_cast<std::size_t>(id)]; }

  void setDefaults();
  // Space on both New and Hand would make Hand unreachable; New goes back to N.
  void repairAfterLoading();

  bool operator==(const KeyBindings&) const = default;
};

}  // namespace tenmark
