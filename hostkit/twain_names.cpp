#include "hostkit/twain_names.h"

#include <cstdio>
#include <cstring>

namespace {

struct Named {
    unsigned value;
    const char* name;
};

template <size_t N>
const char* Lookup(const Named (&table)[N], unsigned value) {
    for (const Named& entry : table) {
        if (entry.value == value) return entry.name;
    }
    return nullptr;
}

std::string NameOr(const char* name, unsigned value, const char* numberFormat) {
    if (name) return name;
    char text[16];
    std::snprintf(text, sizeof text, numberFormat, value);
    return text;
}

const Named kReturnCodes[] = {
    {TWRC_SUCCESS, "TWRC_SUCCESS"},     {TWRC_FAILURE, "TWRC_FAILURE"},
    {TWRC_CHECKSTATUS, "TWRC_CHECKSTATUS"}, {TWRC_CANCEL, "TWRC_CANCEL"},
    {TWRC_DSEVENT, "TWRC_DSEVENT"},     {TWRC_NOTDSEVENT, "TWRC_NOTDSEVENT"},
    {TWRC_XFERDONE, "TWRC_XFERDONE"},   {TWRC_ENDOFLIST, "TWRC_ENDOFLIST"},
};

const Named kConditionCodes[] = {
    {TWCC_SUCCESS, "TWCC_SUCCESS"},         {TWCC_BUMMER, "TWCC_BUMMER"},
    {TWCC_LOWMEMORY, "TWCC_LOWMEMORY"},     {TWCC_NODS, "TWCC_NODS"},
    {TWCC_MAXCONNECTIONS, "TWCC_MAXCONNECTIONS"}, {TWCC_OPERATIONERROR, "TWCC_OPERATIONERROR"},
    {TWCC_BADCAP, "TWCC_BADCAP"},           {TWCC_BADPROTOCOL, "TWCC_BADPROTOCOL"},
    {TWCC_BADVALUE, "TWCC_BADVALUE"},       {TWCC_SEQERROR, "TWCC_SEQERROR"},
    {TWCC_BADDEST, "TWCC_BADDEST"},
};

const Named kGroups[] = {{DG_CONTROL, "DG_CONTROL"}, {DG_IMAGE, "DG_IMAGE"}};

const Named kDats[] = {
    {DAT_NULL, "DAT_NULL"},
    {DAT_CAPABILITY, "DAT_CAPABILITY"},
    {DAT_EVENT, "DAT_EVENT"},
    {DAT_IDENTITY, "DAT_IDENTITY"},
    {DAT_PARENT, "DAT_PARENT"},
    {DAT_PENDINGXFERS, "DAT_PENDINGXFERS"},
    {DAT_SETUPMEMXFER, "DAT_SETUPMEMXFER"},
    {DAT_SETUPFILEXFER, "DAT_SETUPFILEXFER"},
    {DAT_STATUS, "DAT_STATUS"},
    {DAT_USERINTERFACE, "DAT_USERINTERFACE"},
    {DAT_XFERGROUP, "DAT_XFERGROUP"},
    {DAT_IMAGEINFO, "DAT_IMAGEINFO"},
    {DAT_IMAGELAYOUT, "DAT_IMAGELAYOUT"},
    {DAT_IMAGEMEMXFER, "DAT_IMAGEMEMXFER"},
    {DAT_IMAGENATIVEXFER, "DAT_IMAGENATIVEXFER"},
    {DAT_IMAGEFILEXFER, "DAT_IMAGEFILEXFER"},
};

const Named kMessages[] = {
    {MSG_NULL, "MSG_NULL"},           {MSG_GET, "MSG_GET"},
    {MSG_GETCURRENT, "MSG_GETCURRENT"}, {MSG_GETDEFAULT, "MSG_GETDEFAULT"},
    {MSG_GETFIRST, "MSG_GETFIRST"},   {MSG_GETNEXT, "MSG_GETNEXT"},
    {MSG_SET, "MSG_SET"},             {MSG_RESET, "MSG_RESET"},
    {MSG_XFERREADY, "MSG_XFERREADY"}, {MSG_CLOSEDSREQ, "MSG_CLOSEDSREQ"},
    {MSG_OPENDSM, "MSG_OPENDSM"},     {MSG_CLOSEDSM, "MSG_CLOSEDSM"},
    {MSG_OPENDS, "MSG_OPENDS"},       {MSG_CLOSEDS, "MSG_CLOSEDS"},
    {MSG_USERSELECT, "MSG_USERSELECT"}, {MSG_DISABLEDS, "MSG_DISABLEDS"},
    {MSG_ENABLEDS, "MSG_ENABLEDS"},   {MSG_PROCESSEVENT, "MSG_PROCESSEVENT"},
    {MSG_ENDXFER, "MSG_ENDXFER"},
};

}  // namespace

std::string ReturnCodeName(TW_UINT16 rc) {
    return NameOr(Lookup(kReturnCodes, rc), rc, "%u");
}

std::string ConditionCodeName(TW_UINT16 cc) {
    return NameOr(Lookup(kConditionCodes, cc), cc, "%u");
}

std::string TripletName(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg) {
    return NameOr(Lookup(kGroups, dg), dg, "0x%x") + "/" + NameOr(Lookup(kDats, dat), dat, "0x%04x") +
           "/" + NameOr(Lookup(kMessages, msg), msg, "0x%04x");
}

std::string FieldText(const TW_STR32& field) {
    const void* end = std::memchr(field, 0, sizeof field);
    size_t length = end ? static_cast<const char*>(end) - field : sizeof field;
    return std::string(field, length);
}
