#pragma once
// The application object: runs the main window modally and ends when it closes.

namespace tenmark {

class PaperApp {
 public:
  int run(int argc, char** argv);
};

}  // namespace tenmark
