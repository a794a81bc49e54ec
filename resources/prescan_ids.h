// Resource numbers of the prescan module. A text's string id is the language
// base (50 x language index) plus its number.
#pragma once

#define PRESCAN_LANGUAGE_STRIDE 50

#define PS_WRITE_ERROR 1       // "WRITE disk file error."
#define PS_DISK_SHORT 3        // "Disk space not enough."
#define PS_NOT_READY 4         // "Flatbed Scanner not ready."
#define PS_NOT_FOUND 5         // "Flatbed Scanner not found."
#define PS_CHECKLIST_FIRST 6   // 6..11: the checklist lines
#define PS_CHECKLIST_LAST 11
#define PS_MODEL 14            // "Flatbed Scanner", the model part of the caption
#define PS_PAPER_JAM 15
#define PS_NO_PAPER 16
#define PS_COVER_OPEN 17
#define PS_WARMING_UP 18       // "Warming Up..."
#define PS_PLEASE_WAIT 19      // "Please wait..."

// Notices: warming up (300 English and any unknown language, 311..317 for
// languages 1..7) and not ready (302, 304..310).
#define PS_IDD_WARMING_UP_EN 300
#define PS_IDD_WARMING_UP_FIRST 311
#define PS_IDD_NOT_READY_EN 302
#define PS_IDD_NOT_READY_FIRST 304
#define PS_IDC_LINE1 101
#define PS_IDC_LINE2 102
