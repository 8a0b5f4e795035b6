// The pictures of the main window's tool buttons, drawn by the program itself.
#pragma once

#include <QIcon>

namespace zorel {

enum class TToolIcon {
  New,
  Open,
  Save,
  FormEditor,
  Delete,
  Copy,
  Paste,
  SearchRequisites,
  SearchProducts,
  SearchBranches,
  Exit
};

QIcon ToolIcon(TToolIcon kind);

}  // namespace zorel
