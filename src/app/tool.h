#pragma once
// What a press does, whichever tool it is: the pen and the eraser draw strokes, Move shifts the
// whole picture, Hand scrolls the view. The pointer input starts, drags and ends a press on the
// tool the press began with.

#include "app/document.h"
#include "app/paper_platform.h"
#include "app/view_presenter.h"
#include "canvas/undo_ring.h"
#include "settings/settings.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

// What the tools work on.
struct ToolContext {
  PaperPlatform& platform;
  MonoBitmap& canvas;
  UndoRing& ring;
  ViewPresenter& presenter;
  Document& document;
  const Settings& settings;

  // Undo and Redo enabled as the ring now stands.
  void showUndoState() const;
};

class Tool {
 public:
  virtual ~Tool() = default;
  // The memory a press needs, taken before it starts; false when it is not there.
  virtual bool prepare() { return true; }
  virtual void press(Point client, int widthChange) = 0;
  virtual void drag(Point client, int widthChange) = 0;
  // `commit`: the press leaves its undo record.
  virtual void release(bool commit) = 0;
};

// The pen (index 1) or the eraser (index 0).
class StrokeTool : public Tool {
 public:
  StrokeTool(ToolContext& context, ToolMode mode) : context_(context), mode_(mode) {}
  void press(Point client, int widthChange) override;
  void drag(Point client, int widthChange) override;
  void release(bool commit) override;

 private:
  int width(int widthChange) const;

  ToolContext& context_;
  ToolMode mode_;
  Point last_;
};

class MoveTool : public Tool {
 public:
  explicit MoveTool(ToolContext& context) : context_(context) {}
  bool prepare() override;
  void press(Point client, int widthChange) override;
  void drag(Point client, int widthChange) override;
  void release(bool commit) override;

 private:
  ToolContext& context_;
  // The picture as it was at the press: every position starts from it again.
  MonoBitmap pressed_;
  Point start_;
  bool active_ = false;
};

class HandTool : public Tool {
 public:
  explicit HandTool(ToolContext& context) : context_(context) {}
  void press(Point client, int widthChange) override;
  void drag(Point client, int widthChange) override;
  void release(bool commit) override;

 private:
  ToolContext& context_;
  Point start_;
  Point startScroll_;
  bool active_ = false;
};

}  // namespace tenmark
