#include "canvas/tool_mode.h"

#include <algorithm>

namespace tenmark {

ToolMode selectTool(bool pointerCaptured, ToolMode current, bool eraserHeld,
                    const KeyBindings& bindings, const KeyStateQuery& isKeyDown) {
  if (pointerCaptured) return current;
  if (eraserHeld) return ToolMode::Eraser;
  const KeyCode state = inputState(0, isKeyDown);
  static constexpr struct {
    CommandId binding;
    ToolMode tool;
  } kHeldTools[] = {{CommandId::Move, ToolMode::Move},
                    {CommandId::Hand, ToolMode::Hand},
                    {CommandId::Eraser, ToolMode::Eraser}};
  for (const auto& held : kHeldTools)
    if (keyCodeMatches(state, bindings[held.binding], isKeyDown)) return held.tool;
  return ToolMode::Pen;
}

int strokeWidth(ToolMode tool, int penSize, int eraserSize, bool pressureOn, int widthChange) {
  int width = tool == ToolMode::Eraser ? eraserSize : penSize;
  if (pressureOn) width += widthChange;
  return std::clamp(width, kMinStrokeWidth, kMaxStrokeWidth);
}

}  // namespace tenmark
