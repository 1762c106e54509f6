#pragma once
// When the program faults, the modified picture is written as the automatic save would write it,
// and then the process ends as it would have without this.

namespace tenmark {

class PaperModel;

// Makes the process's unhandled-exception filter save this model's picture. The filter that was
// installed before (the C runtime's) still decides how the process ends.
void installFaultSave(PaperModel& model);

// From now on a fault saves nothing: the model's window is going.
void clearFaultSave();

}  // namespace tenmark
