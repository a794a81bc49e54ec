// Message boxes of the data source: scanner, disk, buffer and network
// trouble. Texts and captions come from the string table of the current
// language and from WIN.INI, read afresh for every box.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// A box with the general caption (brand and model display text), OK, no icon.
void ShowMessage(HWND owner, const std::wstring& text);

// A device error: 608 and 609 show the checklist with the message in the
// caption and the information icon; every other number shows its text with
// the stop icon. Afterwards the dialog's scan controls are enabled again.
void ShowDeviceError(HWND owner, int number);

// "The new image requires N bytes ... Your disk has only M bytes ...".
void ShowDiskShortage(HWND owner, uint64_t available, uint64_t required);

// The application buffers are too small for the image width.
void ShowBufferShortage(HWND owner);

// The connection to the sharing peer was lost.
void ShowRemoteLost();

// Writes the model name of the scanner into `dest` (at most 66 characters);
// an unknown model leaves `dest` as it was.
void ModelName(char* dest);
