#include "engine/information_fields.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct Shown {
    int textNumber;
    std::string value;
};

std::map<int, Shown> ByControl(const ScanSettings& s, double width, double length) {
    std::map<int, Shown> fields;
    for (const InformationField& f : InformationFields(s, width, length)) {
        EXPECT_EQ(fields.count(f.control), 0u) << "field " << f.control << " twice";
        fields[f.control] = {f.textNumber, f.value};
    }
    return fields;
}

TEST(InformationFields, NamesEachSettingByItsText) {
    ScanSettings s;
    s.scanMode = 1014;
    s.colourKind = 1;
    s.sourceId = 1095;
    s.destination = 1022;
    s.descreen = 1020;
    s.outputMatch = 1;
    s.filterMode = 7;
    auto f = ByControl(s, 2, 3);
    EXPECT_EQ(f[3002].textNumber, 148);  // CMYK Color
    EXPECT_EQ(f[3004].textNumber, 164);  // Negative
    EXPECT_EQ(f[3008].textNumber, 207);  // Halftone Printer
    EXPECT_EQ(f[3010].textNumber, 211);  // Art Print
    EXPECT_EQ(f[3012].textNumber, 391);  // Yes
    EXPECT_EQ(f[3020].textNumber, 178);  // Emboss

    const std::pair<std::pair<uint16_t, uint16_t>, int> modes[] = {
        {{1011, 0}, 153}, {{1012, 0}, 152}, {{1013, 0}, 151}, {{1014, 0}, 150}, {{1014, 2}, 149}};
    for (const auto& [mode, text] : modes) {
        s.scanMode = mode.first;
        s.colourKind = mode.second;
        EXPECT_EQ(ByControl(s, 2, 3)[3002].textNumber, text) << mode.first << "/" << mode.second;
    }
    const int filters[] = {701, 171, 172, 173, 174, 175, 176, 178, 177};
    for (uint16_t mode = 0; mode <= 8; ++mode) {
        s.filterMode = mode;
        EXPECT_EQ(ByControl(s, 2, 3)[3020].textNumber, filters[mode]) << mode;
    }
    s.outputMatch = 0;
    s.descreen = 1017;
    s.destination = 1021;
    f = ByControl(s, 2, 3);
    EXPECT_EQ(f[3012].textNumber, 392);
    EXPECT_EQ(f[3010].textNumber, 701);
    EXPECT_EQ(f[3008].textNumber, 184);
}

TEST(InformationFields, FormatsNumbersAndSizesInTheUnit) {
    ScanSettings s;
    s.resolution = 150;
    s.scaling = 200;
    s.tone.channels[0] = {250, 5, 10, 0};   // master
    s.tone.channels[1] = {240, 12, 18, 0};  // red
    s.tone.channels[2] = {230, 0, 79, 0};   // green
    s.tone.channels[3] = {1, 0, 1, 0};      // blue
    s.tone.colorBalance[0] = -100;
    s.tone.colorBalance[1] = 0;
    s.tone.colorBalance[2] = 42;
    s.tone.saturation = -7;

    s.unit = 0;  // inches, scaled: 2.5 x 200 % = 5
    auto f = ByControl(s, 2.5, 4.125);
    EXPECT_EQ(f[3006].value, "150");
    EXPECT_EQ(f[3018].value, "200");
    EXPECT_EQ(f[3014].value, "5.00");
    EXPECT_EQ(f[3016].value, "8.25");
    EXPECT_EQ(f[3062].textNumber, 157);
    EXPECT_EQ(f[3063].textNumber, 157);
    const char* highlight[] = {"240", "230", "1", "250"};  // red, green, blue, master
    const char* shadow[] = {"12", "0", "0", "5"};
    const char* gamma[] = {"1.8", "7.9", "0.1", "1.0"};
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(f[3023 + 2 * column].value, highlight[column]);
        EXPECT_EQ(f[3032 + 2 * column].value, shadow[column]);
        EXPECT_EQ(f[3041 + 2 * column].value, gamma[column]);
    }
    EXPECT_EQ(f[3050].value, "-100");
    EXPECT_EQ(f[3052].value, "0");
    EXPECT_EQ(f[3054].value, "42");
    EXPECT_EQ(f[3058].value, "-7");

    s.unit = 1;  // pixels at 150 x 200 / 100 = 300 per inch
    f = ByControl(s, 2.5, 4.125);
    EXPECT_EQ(f[3014].value, "750.00");
    EXPECT_EQ(f[3016].value, "1237.50");
    EXPECT_EQ(f[3062].textNumber, 158);
    s.unit = 2;  // cm: 5 in = 12.7 cm
    f = ByControl(s, 2.5, 4.125);
    EXPECT_EQ(f[3014].value, "12.70");
    EXPECT_EQ(f[3063].textNumber, 159);
    s.unit = 3;  // mm
    EXPECT_EQ(ByControl(s, 2.5, 4.125)[3014].value, "127.00");
    EXPECT_EQ(ByControl(s, 2.5, 4.125)[3062].textNumber, 160);
}

}  // namespace
