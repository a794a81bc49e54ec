// The values a host negotiates through DAT_CAPABILITY.
#pragma once

#include <cstdint>

struct CapabilityState {
    uint8_t pixelTypeIndex = 0;
    uint8_t unitsIndex = 0;
    uint8_t xferMechIndex = 2;      // equals the TWSX value
    uint8_t fileFormatIndex = 0;
    uint8_t resolutionIndex = 4;    // 300 dpi
    uint16_t supportedSizeIndex = 0;
    int16_t brightness = 0;
    int16_t contrast = 0;
    uint32_t pixelFlavorSet = 0;
    uint32_t chunky = 1;
    uint16_t pendingCount = 0xFFFF;
    int16_t pagesRequested = -1;    // CAP_XFERCOUNT as the host set it; -1 = as many as there are
    uint16_t pagesDelivered = 0;    // pages ended with MSG_ENDXFER since the source was enabled
    uint32_t feederPresent = 0;
    uint32_t feederEnabled = 0;
    uint32_t autoFeed = 0;
};

extern CapabilityState g_caps;

// The per-connection reset of MSG_OPENDS: everything but chunky,
// pixelFlavorSet and autoFeed (kept between connections) and the feeder
// flags (set when the scanner is opened).
void ResetCapabilitiesForConnection();
