#include "shortcuts/dispatch_order.h"

#include <iterator>

namespace tenmark {
namespace {

// Commands run before the held tools; the zoom commands come after NoSaveExit and Clear.
constexpr CommandId kCommandOrder[] = {
    CommandId::New,        CommandId::Open,       CommandId::Save,    CommandId::SaveAs,
    CommandId::Undo,       CommandId::Redo,       CommandId::VMirror, CommandId::HMirror,
    CommandId::Resize,     CommandId::Alpha,      CommandId::Config,  CommandId::KeyConf,
    CommandId::ShowMenu,   CommandId::PopMenu,    CommandId::Copy,    CommandId::Paste,
    CommandId::Brush_P,    CommandId::Brush_M,    CommandId::Erase_P, CommandId::Erase_M,
    CommandId::SetPresser, CommandId::NoSaveExit, CommandId::Clear,   CommandId::ZoomUp,
    CommandId::ZoomDown,   CommandId::ZoomNomal,
};

constexpr CommandId kHeldToolOrder[] = {CommandId::Hand, CommandId::Move};
// Every command but the eraser, which is only ever held with a press, in one of the two.
static_assert(std::size(kCommandOrder) + std::size(kHeldToolOrder) + 1 == kCommandCount);

}  // namespace

ShortcutMatch findShortcut(const KeyBindings& bindings, KeyCode state,
                           const KeyStateQuery& isKeyDown) {
  const auto matches = [&](CommandId id) { return keyCodeMatches(state, bindings[id], isKeyDown); };
  ShortcutMatch result;
  for (CommandId id : kCommandOrder)
    if (matches(id)) {
      result.command = id;
      return result;
    }
  result.eraserMatched = matches(CommandId::Eraser);
  for (CommandId id : kHeldToolOrder)
    if (matches(id)) {
      result.command = id;
      return result;
    }
  return result;
}

}  // namespace tenmark
