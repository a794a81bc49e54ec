// The information dialog "NEWINFODLG": the current settings at a glance. It
// closes when the left mouse button is released anywhere in it.
#pragma once

#include <windows.h>

void RunInformationDialog(HWND owner);

// Sets the dialog's title, labels and fields from g_scanSettings.
void FillInformationDialog(HWND dialog);
