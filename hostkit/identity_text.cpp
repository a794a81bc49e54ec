#include "hostkit/identity_text.h"

#include <cstdio>

#include "hostkit/twain_names.h"

namespace {

std::string EscapedField(const TW_STR32& field) {
    return EscapedText(FieldText(field));
}

void AddLine(std::string& report, const char* name, const std::string& value) {
    report += name;
    report += ": ";
    report += value;
    report += '\n';
}

}  // namespace

std::string EscapedText(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            escaped += code;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string IdentityListLine(const TW_IDENTITY& identity) {
    return std::to_string(identity.Id) + "\t" + EscapedField(identity.Manufacturer) + "\t" +
           EscapedField(identity.ProductFamily) + "\t" + EscapedField(identity.ProductName);
}

std::string IdentityReport(const TW_IDENTITY& identity) {
    std::string report;
    AddLine(report, "Id", std::to_string(identity.Id));
    AddLine(report, "Version.MajorNum", std::to_string(identity.Version.MajorNum));
    AddLine(report, "Version.MinorNum", std::to_string(identity.Version.MinorNum));
    AddLine(report, "Version.Language", std::to_string(identity.Version.Language));
    AddLine(report, "Version.Country", std::to_string(identity.Version.Country));
    AddLine(report, "Version.Info", EscapedField(identity.Version.Info));
    AddLine(report, "ProtocolMajor", std::to_string(identity.ProtocolMajor));
    AddLine(report, "ProtocolMinor", std::to_string(identity.ProtocolMinor));
    AddLine(report, "SupportedGroups", std::to_string(identity.SupportedGroups));
    AddLine(report, "Manufacturer", EscapedField(identity.Manufacturer));
    AddLine(report, "ProductFamily", EscapedField(identity.ProductFamily));
    AddLine(report, "ProductName", EscapedField(identity.ProductName));
    return report;
}
