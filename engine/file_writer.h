// Files the engine writes images into: the host's transfer file and the work
// files that post-processed and interpolated scans pass through. Each is
// created with its header; the rows are written by the transfers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/file_headers.h"
#include "engine/row_output.h"

// Creates `path` (an existing file is replaced) and writes the header of
// `layout` for `image`. A TIFF file is left positioned at its first image
// byte; a BMP file is first extended to its full size, since its rows are
// written from the end backwards. Returns INVALID_HANDLE_VALUE when the file
// cannot be created, or when its header cannot be written (that file is then
// closed and deleted); the caller reports text 619.
HANDLE CreateTransferFile(const char* path, const fileheaders::ImageGeometry& image, rowoutput::FileLayout layout);

// The work files, all beside the default transfer file: "\Xfer_G.Tmp" for
// grey and line-art scans, the default transfer file itself for colour
// ("\Xfer_C.Tmp" when the host's file transfer goes to that very file), and
// "\Interp.Tmp" for interpolated file transfers.
enum class WorkFile { kGrey, kColour, kColourBesideHostFile, kInterpolation };
std::string WorkFilePath(WorkFile file);

// Creates a work file with the TIFF header of `image`, as CreateTransferFile.
HANDLE CreateWorkFile(WorkFile file, const fileheaders::ImageGeometry& image);

// Writes all `count` bytes at the file position / at `offset`.
bool WriteBytes(HANDLE file, const uint8_t* bytes, uint32_t count);
bool WriteBytesAt(HANDLE file, uint64_t offset, const uint8_t* bytes, uint32_t count);
