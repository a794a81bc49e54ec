// Resource identifiers of the data source: dialog templates, controls and
// text numbers. Texts are looked up as language base (1000 x language index)
// + text number; a few texts are looked up at their absolute number.
#pragma once

// Dialog templates (numeric ones; "SCANNER" and the other named templates are
// referred to by name).
#define IDD_NOT_READY_EN 60        // "The scanner is not ready." notice, English
#define IDD_NOT_READY_FIRST 62     // 62..68: languages 1..7
#define IDD_WARMING_UP_EN 1091     // "Warming Up..." notice, English
#define IDD_WARMING_UP_FIRST 70    // 70..76: languages 1..7
#define IDD_PROGRESS 800           // "Scanning Status"

// Main dialog "SCANNER" command buttons
#define IDC_SCAN 1001
#define IDC_PRESCAN 1002
#define IDC_CANCEL_SCAN 1003
#define IDC_TABSTRIP 1004
#define IDC_INFO 1005
#define IDC_LOAD 1006
#define IDC_SAVE 1007
#define IDC_PREVIOUS 1008
#define IDC_RESET 1009
#define IDC_QUICKHELP 1010

// Progress window items
#define IDC_PROGRESS_TEXT 801
#define IDC_PROGRESS_BAR 802
#define IDC_PROGRESS_SPARE 803

// Notice texts
#define IDC_NOTICE_LINE1 101
#define IDC_NOTICE_LINE2 102

// Text numbers (added to the language base unless noted)
#define TXT_AUTHOR 4
#define TXT_WINFAX3 55
#define TXT_PHOTOSHOP 56
#define TXT_WINFAX4 60
#define TXT_MS_PUBLISHER 62
#define TXT_ORVANE_DESK 64
#define TXT_ADAPTEC_CARD 65
#define TXT_PICTURE_PUBLISHER 66   // looked up at its absolute number
#define TXT_TIF_EXTENSION 204
#define TXT_TAB_MAIN 300
#define TXT_TAB_PREFERENCES 301
#define TXT_INFO 302
#define TXT_TAB_ABOUT 303
#define TXT_TAB_ENHANCEMENTS 304
#define TXT_TAB_FILTERS 305
#define TXT_PRESCAN 306
#define TXT_SCAN 307
#define TXT_CANCEL 308
#define TXT_LOAD 309
#define TXT_SAVE 310
#define TXT_RESET 311
#define TXT_PREVIOUS 352
#define TXT_SCANNING 403
#define TXT_INFORMATION 406
#define TXT_INIT_SCANNER 500
#define TXT_PRESCANNING 501
#define TXT_PERCENT_TITLE 502
#define TXT_IMAGE_PROCESSING 505
#define TXT_REMOVE_MOIRE 507
#define TXT_MOIRE_AND_PROCESSING 508
#define TXT_CORRECT_IMAGE 509
#define TXT_PROFILE_MISSING 510
#define TXT_OK 700
#define TXT_MODE_REFUSED 705
#define TXT_SCANWARE_CMS 707

// Message numbers of the device and file messages
#define MSG_TEMP_DRIVE_1 600
#define MSG_INSUFFICIENT_MEMORY 604
#define MSG_DISK_NEEDS 605
#define MSG_DISK_HAS_ONLY 606
#define MSG_DISK_FREE_UP 607
#define MSG_NOT_READY 608
#define MSG_NOT_FOUND 609
#define MSG_CHECKLIST_1 610
#define MSG_CHECKLIST_2 611
#define MSG_CHECKLIST_3 612
#define MSG_CHECKLIST_4 613
#define MSG_INVALID_FILE_NAME 616
#define MSG_READ_FILE_FAILURE 618
#define MSG_WRITE_FILE_ERROR 619
#define MSG_PAPER_JAM 620
#define MSG_NO_PAPER 621
#define MSG_COVER_OPEN 622
#define MSG_WRONG_SCANNER 623
#define MSG_BAD_AREA 625
#define MSG_AREA_TOO_SMALL 626
#define MSG_SHADING_FAILED 627
#define MSG_TRANSFER_FAILED 628
#define MSG_SCANNER_FAULT 629
#define MSG_BUFFER_1 630
#define MSG_BUFFER_2 631
#define MSG_BUFFER_3 632
#define MSG_REMOTE_AVAILABLE 827
#define MSG_REMOTE_CONNECT 828
#define MSG_REMOTE_OWNER 829
#define MSG_REMOTE_ADDRESS 830
#define MSG_REMOTE_LOST_1 831
#define MSG_REMOTE_LOST_2 832
#define MSG_SHARED_1 833
#define MSG_SHARED_2 834
#define MSG_SHARED_3 835
#define MSG_NO_REMOTE 836
#define MSG_REMOTE_ERROR 837
#define MSG_TIME_OUT 846
