#include "shortcuts/command_table.h"

#include <iterator>

#include "tenmark/texts.h"

namespace tenmark {
namespace {

constexpr CommandInfo kCommands[] = {
    {"dw_Key_New", text::CommandNameNew, 0x4E},
    {"dw_Key_Open", text::CommandNameOpen, 0x4F},
    {"dw_Key_Save", text::CommandNameSave, 0x53},
    {"dw_Key_SaveAs", text::CommandNameSaveAs, 0},
    {"dw_Key_Undo", text::CommandNameUndo, 0x5A},
    {"dw_Key_Redo", text::CommandNameRedo, 0x59},
    {"dw_Key_VMirror", text::CommandNameVMirror, 0x42},
    {"dw_Key_HMirror", text::CommandNameHMirror, 0x48},
    {"dw_Key_Resize", text::CommandNameResize, 0x52},
    {"dw_Key_Alpha", text::CommandNameAlpha, 0x41},
    {"dw_Key_Config", text::CommandNameConfig, 0x45},
    {"dw_Key_KeyConf", text::CommandNameKeyConf, 0x4B},
    {"dw_Key_Eraser", text::CommandNameEraser, kCtrlFlag},
    {"dw_Key_ShowMenu", text::CommandNameShowMenu, 0x4D},
    {"dw_Key_PopMenu", text::CommandNamePopMenu, 0x50},
    {"dw_Key_Copy", text::CommandNameCopy, kCtrlFlag | 0x43},
    {"dw_Key_Paste", text::CommandNamePaste, kCtrlFlag | 0x56},
    {"dw_Key_Brush_P", text::CommandNameBrush_P, 0},
    {"dw_Key_Brush_M", text::CommandNameBrush_M, 0},
    {"dw_Key_Erase_P", text::CommandNameErase_P, 0},
    {"dw_Key_Erase_M", text::CommandNameErase_M, 0},
    {"dw_Key_SetPresser", text::CommandNameSetPresser, 0},
    {"dw_Key_ZoomUp", text::CommandNameZoomUp, 0x31},
    {"dw_Key_ZoomDown", text::CommandNameZoomDown, 0x32},
    {"dw_Key_ZoomNomal", text::CommandNameZoomNomal, 0x33},
    {"dw_Key_Hand", text::CommandNameHand, 0x20},
    {"dw_Key_Move", text::CommandNameMove, kCtrlFlag | 0x20},
    {"dw_Key_NoSaveExit", text::CommandNameNoSaveExit, 0},
    {"dw_Key_Clear", text::CommandNameClear, 0},
};

constexpr KeyCode kSpaceKey = 0x20;
constexpr KeyCode kNKey = 0x4E;

}  // namespace

// One entry for each command, in command order: a missing one would shift every later binding.
static_assert(std::size(kCommands) == kCommandCount);

const CommandInfo& commandInfo(CommandId id) { return kCommands[static_cast<std::size_t>(id)]; }

void KeyBindings::setDefaults() {
  for (std::size_t i = 0; i < kCommandCount; ++i) codes[i] = kCommands[i].defaultCode;
}

void KeyBindings::repairAfterLoading() {
  auto& self = *this;
  if (self[CommandId::New] == kSpaceKey && self[CommandId::Hand] == kSpaceKey)
    self[CommandId::New] = kNKey;
}

}  // namespace tenmark
