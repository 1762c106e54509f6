#pragma once
// The menu items that run a command, each with the label it shows before its binding: one
// table for the menu commands, the menu labels and the system menu's commands.

#include <span>

#include "shortcuts/command_table.h"

namespace tenmark {

struct MenuItem {
  int id;
  CommandId command;
  const char* label;  // UTF-8, before a tab and the binding's name
};

std::span<const MenuItem> menuItems();
// The item with this id; none for an id that is not a command of the menus.
const MenuItem* menuItemOf(int id);

}  // namespace tenmark
