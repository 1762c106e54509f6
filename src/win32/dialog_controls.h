#pragma once
// Small readers and writers for the controls of our dialogs, by control id.

#include <windows.h>

#include <string>

namespace tenmark {

std::string controlText(HWND dialog, int id);
void setControlText(HWND dialog, int id, const std::string& text);
void setControlNumber(HWND dialog, int id, int value);
bool isChecked(HWND dialog, int id);
void setChecked(HWND dialog, int id, bool checked);
void setSlider(HWND dialog, int id, int minimum, int maximum, int position);
int sliderPosition(HWND dialog, int id);
// Takes the input method's context away from a window (and its children), so that its keys
// arrive as plain virtual keys whatever the IME is doing; the IME's own state is left alone.
void keepKeysFromInputMethod(HWND window, bool withChildren);

}  // namespace tenmark
