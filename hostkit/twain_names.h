// Readable names of TWAIN codes and triplets, for messages of the host tools
// and for test failure output.
#pragma once

#include <string>

#include "twain/twain.h"

// "TWRC_FAILURE", or the number in decimal when the code is unknown.
std::string ReturnCodeName(TW_UINT16 rc);
// "TWCC_SEQERROR", or the number in decimal when the code is unknown.
std::string ConditionCodeName(TW_UINT16 cc);
// "DG_CONTROL/DAT_IDENTITY/MSG_OPENDS"; unknown parts as 0x hexadecimal.
std::string TripletName(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg);
// The text of a TW_STR32 field, which need not be terminated.
std::string FieldText(const TW_STR32& field);
