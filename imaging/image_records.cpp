#include "imaging/image_records.h"

ToneSettings DefaultToneSettings() { return ToneSettings{}; }

int BitsPerPixel(uint16_t scanMode) {
    switch (scanMode) {
        case kModeLineArt: return 1;
        case kModeFastGray:
        case kModeGray: return 8;
        case kModeColour: return 24;
        default: return 0;
    }
}
