// The triplet handlers. Each reads the stored call (g_twain.callMsg,
// g_twain.callData), sets the return and condition codes and may change the
// source state.
#pragma once

#include "twain/twain.h"

// Start-up, identity, open and close
void StartUp();
void GetIdentity();
void OpenSource();
void CloseSource();

// Status and user interface
void GetStatus();
void EnableSource();
void DisableSource();

// Capabilities
void NegotiateGeneral(TW_UINT16 msg);
void NegotiatePublisher();

// Image description and transfer set-up
void ImageInfo();
void ImageLayout();
void SetupMemXfer();
void SetupFileXfer();
void XferGroup();
void PendingXfers();

// Transfers (triplet side)
void NativeXfer();
void FileXfer();
void MemXfer();
