// What the inquiry block says about the scanner: model, optical resolution,
// maximum area, and the version text of the source's identity.
#pragma once

#include <cstdint>
#include <string>

// The resolution code at inquiry offset 57 read as a decimal number (leading
// blanks skipped, ending at the first non-digit): 600, 606, 800 or 1200, the
// model numbers 6000, 6060 and 8000 for 600, 606 and 800, or 0 when the
// number is none of these.
uint16_t OpticalResolutionFromCode(const uint8_t* inquiry);

// Clears the identity bytes before an inquiry, so that nothing of an earlier
// answer can pass for the scanner's.
void ClearInquiryIdentity(uint8_t* inquiry);

// The model prefix at offset 53 is "KVC-": a letter-size model.
bool IsLetterModel(const uint8_t* inquiry);

struct MaxArea {
    float width;   // inches
    float length;  // inches
};
MaxArea MaxAreaFor(bool letterModel);

// Version information text: "1", the revision characters at 42 and 44, the
// flag at 127 as "1" or "0", "kvsc_a3.d", a line break, `cardText`, a line break.
std::string BuildVersionText(const uint8_t* inquiry, const std::string& cardText);

// The four firmware revision characters (offsets 42 to 45) as text; bytes
// that are not printable characters are left out.
std::string FirmwareRevisionText(const uint8_t* inquiry);

// Scanner model name by optical resolution: the WIN.INI section of the
// model's settings. Empty for an unknown resolution.
const char* ModelNameFor(uint16_t opticalResolution);

// Message number for a device status word of a scan request.
int StatusMessageNumber(uint16_t status);
