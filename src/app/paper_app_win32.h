#pragma once
// The application object: runs the main window modally and ends when it closes.

namespace tenmark {

class PaperApp {
 public:
  int run();
};

}  // namespace tenmark
