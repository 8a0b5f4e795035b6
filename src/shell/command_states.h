// Which commands of the main window are enabled and checked, from the number of open list
// windows, the record clipboard and the panel layout of the active list window. Kept apart
// from the widgets so the rules can be read (and tested) in one place.
#pragma once

#include <cstdint>
#include <optional>

namespace zorel {

// What the main window needs to know of the active list window.
struct ActiveListFlags {
  bool fullNameHints = true;
  bool infoShown = true;
  bool itemShown = true;
  bool reklamaShown = true;
};

struct CommandStates {
  // Close, Save, Save As, Append, Subtract, Print, Delete, Copy, the tool buttons Save, Delete,
  // Copy and Paste, the four window commands and the three panel options.
  bool listCommands = false;
  bool paste = false;  // the menu item; its tool button follows listCommands
  // Check marks of the options; they keep their last values while no list window is active.
  bool hintChecked = true;
  bool infoChecked = true;
  bool itemChecked = true;
  bool reklamaChecked = true;
  bool reklamaEnabled = false;
  // No active list window: the mail commands go off. Otherwise the list status sets them.
  bool disableMail = false;
};

// previous supplies the check marks to keep when there is no active list window.
CommandStates ComputeCommandStates(int listWindows, std::int32_t recordClipboard,
                                   const std::optional<ActiveListFlags>& active,
                                   const CommandStates& previous);

}  // namespace zorel
