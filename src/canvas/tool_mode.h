#pragma once
// The tools a press can use, which one the buttons and held keys choose, and the width and
// palette index a stroke draws with.

#include "shortcuts/command_table.h"

namespace tenmark {

enum class ToolMode { Pen = 0, Eraser = 1, Move = 2, Hand = 3 };

inline constexpr int kMinStrokeWidth = 1;
inline constexpr int kMaxStrokeWidth = 30;

// The tool for the next press: the current one while a press holds the pointer; the eraser
// while the right button or the pen's eraser is in use; else the first held binding of Move,
// Hand and Eraser, in that order; else the pen.
ToolMode selectTool(bool pointerCaptured, ToolMode current, bool eraserHeld,
                    const KeyBindings& bindings, const KeyStateQuery& isKeyDown);

// The width of one dot or segment: the tool's size, plus the pressure's change when pressure
// sensing is on, kept within 1-30.
int strokeWidth(ToolMode tool, int penSize, int eraserSize, bool pressureOn, int widthChange);

// Ink for every tool but the eraser, which paints paper.
inline int strokeIndex(ToolMode tool) { return tool == ToolMode::Eraser ? 0 : 1; }

}  // namespace tenmark
