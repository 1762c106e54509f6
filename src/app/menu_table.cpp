#include "app/menu_table.h"

#include <algorithm>
#include <iterator>

#include "resources/resource_ids.h"
#include "tenmark/texts.h"

namespace tenmark {

namespace {

constexpr MenuItem kMenuItems[] = {
    {ID_FILE_NEW, CommandId::New, text::MenuLabelNew},
    {ID_FILE_OPEN, CommandId::Open, text::MenuLabelOpen},
    {ID_FILE_SAVE, CommandId::Save, text::MenuLabelSave},
    {ID_FILE_SAVE_AS, CommandId::SaveAs, text::MenuLabelSaveAs},
    {ID_EDIT_UNDO, CommandId::Undo, text::MenuLabelUndo},
    {ID_EDIT_REDO, CommandId::Redo, text::MenuLabelRedo},
    {ID_EDIT_COPY, CommandId::Copy, text::MenuLabelCopy},
    {ID_EDIT_PASTE, CommandId::Paste, text::MenuLabelPaste},
    {ID_SETTINGS_CONFIG, CommandId::Config, text::MenuLabelConfig},
    {ID_SETTINGS_KEYCONF, CommandId::KeyConf, text::MenuLabelKeyConf},
    {ID_CANVAS_RESIZE, CommandId::Resize, text::MenuLabelResize},
    {ID_CANVAS_VMIRROR, CommandId::VMirror, text::MenuLabelVMirror},
    {ID_CANVAS_HMIRROR, CommandId::HMirror, text::MenuLabelHMirror},
    {ID_ZOOM_UP, CommandId::ZoomUp, text::MenuLabelZoomUp},
    {ID_ZOOM_DOWN, CommandId::ZoomDown, text::MenuLabelZoomDown},
    {ID_ZOOM_NOMAL, CommandId::ZoomNomal, text::MenuLabelZoomNomal},
};
// The sixteen items of the menus that run a command, each once.
static_assert(std::size(kMenuItems) == 16);

}  // namespace

std::span<const MenuItem> menuItems() { return kMenuItems; }

const MenuItem* menuItemOf(int id) {
  const auto it = std::find_if(std::begin(kMenuItems), std::end(kMenuItems),
                               [id](const MenuItem& item) { return item.id == id; });
  return it == std::end(kMenuItems) ? nullptr : &*it;
}

}  // namespace tenmark
