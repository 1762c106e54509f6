#pragma once
// When the program faults, the modified picture is rescued into the save folder, and then the
// process ends as it would have without this. Every way a process can fail is covered: an
// unhandled exception (also a stack overflow), std::terminate, abort(), a pure virtual call and
// an invalid parameter given to the C runtime.

namespace tenmark {

class PaperModel;

// On the window's thread, whose model is rescued. The handlers that were installed before (the
// C runtime's) still decide how the process ends.
void installFaultSave(PaperModel& model);

// From now on a fault saves nothing: the model's window is going.
void clearFaultSave();

}  // namespace tenmark
