// The two small modal dialogs of the preferences page that only edit WIN.INI
// keys, and the launch of the colour calibrator program.
#pragma once

#include <windows.h>

// "LANGUAGEDLG": lists the languages DSLANGUAGE offers; a selection switches
// the texts' language at once, OK stores it as LANGUAGE. 1 after OK, else 0.
int RunLanguageDialog(HWND owner);

// "GreenSaverDlg": lamp time-out on or off and its minutes (5..120). OK writes
// SAVER and TIMES and sends the time-out to the scanner. 1 after OK, else 0.
int RunLampTimeoutDialog(HWND owner);

// True when WIN.INI "colorpro" path names a calibrator (anything but "None",
// case ignored).
bool CalibratorInstalled();

// Brings a running calibrator forward or starts it; only in 24-bit colour,
// otherwise a message says so.
void LaunchCalibrator(HWND owner);
