// The main window's menu (MainMenu1): every command as a QAction named after its menu item,
// with caption, shortcut and hint, and the menu bar that holds them. The caller connects the
// actions; the window menu's list of open windows is the caller's to fill.
#pragma once

class QAction;
class QMainWindow;
class QMenu;

namespace zorel {

struct MainActions {
  QAction *FileNewItem, *FileOpenItem, *FileCloseItem, *FileSaveItem, *FileSaveAsItem,
      *FileAppendItem, *FileSubItem, *FileExportItem, *FileSummaryItem, *FileExitItem;
  QAction *CutItem, *CopyItem, *PasteItem;
  QAction *MISearch1, *MISearch2, *MISearch3;
  QAction *SendSingle, *SendList;
  // ParamHint is not in the menu but keeps its shortcut; ParamReklama is in it but hidden.
  QAction *ParamHint, *ParamInfo, *ParamItem, *ParamReklama;
  QAction *FilePrinterSetup, *FileFormEdit, *FilePrint;
  QAction *WindowCascadeItem, *WindowTileItem, *WindowArrangeItem, *WindowMinimizeItem;
  QAction *HelpContents, *HelpAboutItem;
  QMenu* WindowMenu;
};

// Creates the actions, owned by window, and its menu bar.
MainActions BuildMainMenu(QMainWindow* window);

}  // namespace zorel
