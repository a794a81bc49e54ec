// Finding data sources on disk: every *.ds file under the Windows
// directory's sources folder (TWAIN_32, or twain_64 for 64-bit sources), at
// any depth.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "twain/twain.h"

using DsEntryProc = TW_UINT16(WINAPI*)(TW_IDENTITY* origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                                       void* data);

// C:\Windows\TWAIN_32, or C:\Windows\twain_64 in the 64-bit build.
std::string SourceRootDirectory();

// Full paths of the *.ds files under root, at any depth, sorted without
// regard to case so that the order (and so the default source) does not
// depend on the order the file system lists them in.
std::vector<std::string> FindSourceFiles(const std::string& root);

// Loads the source at path, asks it DG_CONTROL/DAT_IDENTITY/MSG_GET on
// behalf of origin and unloads it. False when it does not load, has no
// DS_Entry or does not answer with TWRC_SUCCESS.
bool QuerySourceIdentity(const std::string& path, TW_IDENTITY* origin, TW_IDENTITY& identity);
