// The file dialogs "LOAD_SET" and "SAVE_SET": a name field, the files of the
// mode's pattern, and the directories and drives to move between. They start
// in the installation directory.
#pragma once

#include <windows.h>

#include <string>

// A load or save step of the dialog for the name in its name field: true
// when done (the dialog closes), false after its message (the dialog stays).
using FileDialogStep = bool (*)(HWND dialog, const char* extension);

// Set by the caller before opening a dialog: batch files ("SET", "*.SET")
// instead of settings files ("PAR", "*.PAR"), loaded and saved by the batch
// window's own steps (without them, as one record like a settings file).
struct SettingsFileDialogMode {
    bool batchFiles = false;
    FileDialogStep loadBatch = nullptr;
    FileDialogStep saveBatch = nullptr;
};

extern SettingsFileDialogMode g_settingsFileDialog;

// Modal dialogs; 1 after a successful load or save, 0 after Cancel.
//   g_settingsFileDialog.batchFiles = false;
//   if (RunLoadSettingsDialog(mainDialog)) { ... refresh the pages ... }
int RunLoadSettingsDialog(HWND owner);
int RunSaveSettingsDialog(HWND owner);

// Lists the files matching `pattern` (it may name a directory, which becomes
// the current one) and the directories and drives of the current directory.
void ListSettingsFiles(HWND dialog, const std::string& pattern);
