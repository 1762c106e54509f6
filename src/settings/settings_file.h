#pragma once
// Reading the settings from a configuration text and writing them back, in file order.

#include <string>

#include "settings/config_file.h"
#include "settings/settings.h"

namespace tenmark {

// Looks up every key in file order; absent, empty or out-of-range values keep what is in
// `settings`. Does not repair the bindings (see loadSettings).
void readSettings(const ConfigFile& file, Settings& settings);

// The 23 options, an empty line and the 29 bindings, each binding as a signed decimal.
void writeSettings(const Settings& settings, ConfigFile& file);

// Start-up: `settings` holds the defaults; reads the file over them when it can be opened,
// then moves New off Space if Hand is on Space too. False when the file could not be opened.
bool loadSettings(const std::string& path, Settings& settings);

// Shut-down: writes the whole file atomically. False (nothing changed) on failure.
bool saveSettings(const std::string& path, const Settings& settings);

}  // namespace tenmark
