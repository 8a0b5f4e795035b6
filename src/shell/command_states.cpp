#include "shell/command_states.h"

namespace zorel {

CommandStates ComputeCommandStates(int listWindows, std::int32_t recordClipboard,
                                   const std::optional<ActiveListFlags>& active,
                                   const CommandStates& previous) {
  CommandStates s = previous;
  s.listCommands = listWindows >= 1;
  s.paste = listWindows >= 1 && recordClipboard > -1;
  s.disableMail = !active.has_value();
  if (active) {
    s.hintChecked = active->fullNameHints;
    s.infoChecked = active->infoShown;
    s.itemChecked = active->itemShown;
    s.reklamaChecked = active->reklamaShown;
  }
  s.reklamaEnabled = listWindows >= 1 && s.itemChecked;
  return s;
}

}  // namespace zorel
