// The pictures of the main window's tool buttons, drawn by the program itself.
#pragma once

#include <QIcon>

namespace zorel {

enum class ToolIconKind {
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

QIcon ToolIcon(ToolIconKind kind);

}  // namespace zorel
