// "ChgTmpDrv": when the disk of the transfer file is too small for the image,
// the user can name another directory for it.
#pragma once

#include <windows.h>

#include <cstdint>

// True when the user chose a directory whose drive has at least
// `imageBytes` free; the default transfer file name then lies there.
// Otherwise the name is as it was.
bool RunTempDirDialog(HWND owner, uint64_t imageBytes);
