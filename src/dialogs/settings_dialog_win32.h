#pragma once
// The environment settings dialog.

#include <windows.h>

#include <functional>
#include <optional>

#include "dialogs/settings_form.h"

namespace tenmark {

// Shows the main window translucent (on 1) or not, with the given value, while the user moves
// the translucency slider or ticks its check box.
using TranslucencyPreview = std::function<void(int on, int alpha)>;

// Runs the dialog over `owner`, filled from `values`; the values the user set, on OK only. OK
// asks before it takes a size that `cutsOffInk`.
std::optional<SettingsDialogValues> showSettingsDialog(HWND owner,
                                                       const SettingsDialogValues& values,
                                                       const TranslucencyPreview& preview,
                                                       const InkCutQuery& cutsOffInk);

}  // namespace tenmark
