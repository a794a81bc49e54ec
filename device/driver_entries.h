// The three entry points of a scanner driver library, as the data source and
// the prescan module each bind them.
#pragma once

#include <windows.h>

#include <cstdint>

using AddrChkFn = uint32_t(WINAPI*)();
using SpiCallFn = void(WINAPI*)(uint8_t* block, uint32_t handle, uint32_t function);
using BufAddrFn = uint16_t(WINAPI*)(uint8_t* buffer, uint32_t bytes, uint8_t* table, uint16_t lineBytes);
