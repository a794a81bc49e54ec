// Resource identifiers of the data source: dialog templates, controls and
// text numbers. Texts are looked up as language base (1000 x language index)
// + text number; a few texts are looked up at their absolute number. A
// template number whose comment says "+ language index" has one template per
// language at that number + 0..7 (the resource test checks each of them).
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

// Language dialog "LANGUAGEDLG"
#define IDC_LANGUAGE_OK 71
#define IDC_LANGUAGE_CANCEL 72
#define IDC_LANGUAGE_LIST 73

// Lamp time-out dialog "GreenSaverDlg"
#define IDC_SAVER_OK 2001
#define IDC_SAVER_CANCEL 2002
#define IDC_SAVER_MINUTES 2003
#define IDC_SAVER_SCROLL 2004
#define IDC_SAVER_ENABLE 2005
#define IDC_SAVER_DISABLE 2006
#define IDC_SAVER_DELAY_LABEL 2007
#define IDC_SAVER_MINUTES_LABEL 2008

// Settings file dialogs "LOAD_SET" and "SAVE_SET"
#define IDC_FILE_EXTENSION_LABEL 600
#define IDC_FILE_PATTERN 601
#define IDC_FILE_NAME_LABEL 602
#define IDC_FILE_NAME 603
#define IDC_FILE_DIRECTORY_LABEL 604
#define IDC_FILE_DIRECTORY 605
#define IDC_FILE_FILES_LABEL 606
#define IDC_FILE_DIRECTORIES_LABEL 607
#define IDC_FILE_FRAME_NAME 608
#define IDC_FILE_FILES 609
#define IDC_FILE_FRAME_DIRECTORIES 610
#define IDC_FILE_DIRECTORIES 611
#define IDC_FILE_FRAME_EXTENSION 612
#define IDC_FILE_CANCEL 613
#define IDC_FILE_LOAD 614
#define IDC_FILE_SAVE 615

// Text numbers (added to the language base unless noted)
#define TXT_AUTHOR 4
#define TXT_TWAIN_LABEL 5          // "Twain " before the version on the about page
#define TXT_FIRMWARE 6
#define TXT_MAKER_LINE 7
#define TXT_WINFAX3 55
#define TXT_PHOTOSHOP 56
#define TXT_WINFAX4 60
#define TXT_MS_PUBLISHER 62
#define TXT_ORVANE_DESK 64
#define TXT_ADAPTEC_CARD 65
#define TXT_PICTURE_PUBLISHER 66   // looked up at its absolute number
#define TXT_PREVIEW_WINDOW 101
#define TXT_LOAD_SETTINGS_TITLE 102
#define TXT_SAVE_SETTINGS_TITLE 103
#define TXT_LANGUAGE_SELECTION 104
#define TXT_MODE_CMYK 148
#define TXT_MODE_36BIT 149
#define TXT_MODE_24BIT 150
#define TXT_MODE_GRAY 151
#define TXT_MODE_FASTGRAY 152
#define TXT_MODE_LINEART 153
#define TXT_CUSTOM 154
#define TXT_UNIT_INCHES 157        // 157..160: inches, pixels, cm, mm (unit 0..3)
#define TXT_UNIT_PIXELS 158
#define TXT_UNIT_CM 159
#define TXT_UNIT_MM 160
#define TXT_SOURCE_REFLECTIVE 161
#define TXT_SOURCE_POSITIVE 163
#define TXT_SOURCE_NEGATIVE 164
#define TXT_LANGUAGE_ENGLISH 165   // 165..170: the six European languages, index 0..5
#define TXT_LANGUAGE_NEDERLANDS 170
#define TXT_FILTER_INVERT 171      // 171..176: filterMode 1..6
#define TXT_FILTER_FLIP 172
#define TXT_FILTER_BLUR 173
#define TXT_FILTER_BLUR_MORE 174
#define TXT_FILTER_SHARPEN 175
#define TXT_FILTER_SHARPEN_MORE 176
#define TXT_FILTER_UNSHARP_MASK 177  // filterMode 8
#define TXT_FILTER_EMBOSS 178        // filterMode 7
#define TXT_DEST_MONITOR 184
#define TXT_CHANNEL_MASTER 198     // 198..201: Master, Red, Green, Blue
#define TXT_CHANNEL_RED 199
#define TXT_CHANNEL_GREEN 200
#define TXT_CHANNEL_BLUE 201
#define TXT_TIF_EXTENSION 204
#define TXT_DEST_HALFTONE 207
#define TXT_DEST_CONT_TONE 208
#define TXT_DESCREEN_NEWSPAPER 209
#define TXT_DESCREEN_MAGAZINE 210
#define TXT_DESCREEN_ART_PRINT 211
#define TXT_LANGUAGE_CHINESE 223
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
#define TXT_RESOLUTION 316
#define TXT_DPI 317
#define TXT_OUTPUT_SCALING 327
#define TXT_DIRECTORY 330
#define TXT_DIRECTORIES 331
#define TXT_FILES 332
#define TXT_FILE_NAME 333
#define TXT_FILE_EXTENSION 334
#define TXT_ZOOM 335
#define TXT_BATCH_SCAN 336
#define TXT_PREVIOUS 352
#define TXT_HI_LOW_RESOLUTION 355
#define TXT_CROP 356
#define TXT_PICK_HIGHLIGHT 357
#define TXT_PICK_SHADOW 358
#define TXT_LPI 359
#define TXT_GREEN_SAVER 365
// Labels of the pages, the batch list and the small dialogs
#define TXT_LABEL_SCAN_MODE 370
#define TXT_LABEL_SCAN_SOURCE 371
#define TXT_LABEL_DESTINATION 372
#define TXT_LABEL_QUALITY_FACTOR 373
#define TXT_LABEL_DESCREEN 374
#define TXT_LABEL_OUTPUT_MATCHING 375
#define TXT_LABEL_UNITS 376
#define TXT_LABEL_WIDTH 377
#define TXT_LABEL_LENGTH 378
#define TXT_LABEL_IMAGE_SIZE 379
#define TXT_LABEL_KB 380
#define TXT_LABEL_CHANNEL 381
#define TXT_LABEL_HIGHLIGHT 382
#define TXT_LABEL_SHADOW 383
#define TXT_LABEL_GAMMA 384
#define TXT_LABEL_PREVIEW 385      // "&Preview" button of the enhancement pages
#define TXT_LABEL_ORIGINAL 386
#define TXT_LABEL_SAMPLE 387
#define TXT_LABEL_COLOR_BALANCE 388
#define TXT_LABEL_SATURATION 389
#define TXT_LABEL_FILTER 390
#define TXT_LABEL_YES 391
#define TXT_LABEL_NO 392
#define TXT_LABEL_UNTITLED 393
#define TXT_LABEL_BATCH_JOB_LIST 394
#define TXT_LABEL_COLOR_CALIBRATOR 395
#define TXT_LABEL_LANGUAGE 396
#define TXT_LABEL_COLOR 397        // title of the pick window
#define TXT_LABEL_SCAN_TO_FILE 398
#define TXT_JOB_WAITING 402        // 402..405: batch job status 0..3
#define TXT_SCANNING 403
#define TXT_JOB_DONE 404
#define TXT_JOB_CANCELLED 405
#define TXT_INFORMATION 406
#define TXT_BATCH_SWITCH 407        // 406..413: the batch list buttons
#define TXT_BATCH_LOAD 408
#define TXT_BATCH_SAVE 409
#define TXT_BATCH_DUPLICATE 410
#define TXT_BATCH_NEW 411
#define TXT_BATCH_RENAME 412
#define TXT_BATCH_DELETE 413
#define TXT_INIT_SCANNER 500
#define TXT_PRESCANNING 501
#define TXT_PERCENT_TITLE 502
#define TXT_IMAGE_PROCESSING 505
#define TXT_REMOVE_MOIRE 507
#define TXT_MOIRE_AND_PROCESSING 508
#define TXT_CORRECT_IMAGE 509
#define TXT_PROFILE_MISSING 510
#define TXT_OK 700
#define TXT_NONE 701
#define TXT_MODE_REFUSED 705
#define TXT_SCANWARE_CMS 707
#define TXT_SAVER_ENABLE 839
#define TXT_SAVER_DISABLE 840
#define TXT_SAVER_DELAY 841
#define TXT_SAVER_MINUTES 842

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
#define MSG_FILE_NOT_FOUND 617
#define MSG_READ_FILE_FAILURE 618
#define MSG_WRITE_FILE_ERROR 619
#define MSG_PAPER_JAM 620
#define MSG_NO_PAPER 621
#define MSG_COVER_OPEN 622
#define MSG_WRONG_SCANNER 623
#define MSG_AREA_TOO_LARGE 624
#define MSG_BAD_AREA 625
#define MSG_AREA_TOO_SMALL 626
#define MSG_SHADING_FAILED 627
#define MSG_TRANSFER_FAILED 628
#define MSG_SCANNER_FAULT 629
#define MSG_BUFFER_1 630
#define MSG_BUFFER_2 631
#define MSG_BUFFER_3 632
#define MSG_INVALID_PATH 633
#define MSG_NO_CALIBRATOR 634
#define MSG_NOT_24BIT_COLOUR 635
#define MSG_ATTENTION 636
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
#define MSG_REMOTE_SEARCHING 843
#define MSG_REMOTE_CONNECTING 844
#define MSG_REMOTE_BUSY 845
#define MSG_TIME_OUT 846

// Dialog frame, information and about
// Pages of the main dialog, created inside it as child dialogs.
#define IDD_PAGE_ABOUT 504
#define IDD_PAGE_ENHANCEMENTS 505
#define IDD_PAGE_FILTERS 506
#define IDD_PAGE_COLOUR 508
#define IDC_PAGE_AREA 1011         // the frame under the tab strip the pages fill

// The "Original" and "Sample" thumbnails of the Enhancements and colour pages.
#define IDC_THUMB_ORIGINAL_LABEL 5030
#define IDC_THUMB_ORIGINAL 5031
#define IDC_THUMB_SAMPLE_LABEL 5032
#define IDC_THUMB_SAMPLE 5033

// Enhancements page (template 505)
#define IDC_ENH_CHANNEL_LABEL 5005
#define IDC_ENH_CHANNEL 5006
#define IDC_ENH_CHANNEL_PICTURE 5007
#define IDC_ENH_CURVE 5011
#define IDC_ENH_HIGHLIGHT_LABEL 5012
#define IDC_ENH_HIGHLIGHT_BAR 5013
#define IDC_ENH_HIGHLIGHT 5014
#define IDC_ENH_SHADOW_LABEL 5015
#define IDC_ENH_SHADOW_BAR 5016
#define IDC_ENH_SHADOW 5017
#define IDC_ENH_GAMMA_LABEL 5018
#define IDC_ENH_GAMMA_BAR 5019
#define IDC_ENH_GAMMA 5020
#define IDC_ENH_PREVIEW 5021
#define IDC_ENH_COLOUR_PAGE 5022   // the right arrow to the colour page
#define IDC_ENH_AUTO 5023
#define IDC_ENH_HISTOGRAM 5024
#define IDC_ENH_PLUS 5025
#define IDC_ENH_MINUS 5026

// Colour page (template 508)
#define IDC_CP_BALANCE_LABEL 5105
#define IDC_CP_CR_LABEL 5106
#define IDC_CP_CR_VALUE 5107
#define IDC_CP_CR_BAR 5109
#define IDC_CP_MG_LABEL 5110
#define IDC_CP_MG_VALUE 5111
#define IDC_CP_MG_BAR 5013
#define IDC_CP_YB_LABEL 5114
#define IDC_CP_YB_VALUE 5115
#define IDC_CP_YB_BAR 5117
#define IDC_CP_WHEEL_BOX 5118
#define IDC_WHEEL_FRAME 5119       // the hue wheel's frame on the colour page
#define IDC_CP_SATURATION_LABEL 5120
#define IDC_CP_SATURATION_VALUE 5121
#define IDC_CP_SATURATION_BAR 5122
#define IDC_CP_PREVIEW 5123
#define IDC_CP_BACK 5124           // the left arrow back to the Enhancements page

// Filters page (template 506): the radio button of filterMode n is 6005 + n.
#define IDC_FP_GROUP 6001
#define IDC_FP_ORIGINAL_LABEL 6002
#define IDC_FP_ORIGINAL 6003
#define IDC_FP_SAMPLE 6004
#define IDC_FP_NONE 6005
#define IDC_FP_FLIP 6007
#define IDC_FP_LAST 6013
#define IDC_FP_SAMPLE_LABEL 6015

// About page (template 504)
#define IDC_ABOUT_PRODUCT 4001
#define IDC_ABOUT_VERSION 4003
#define IDC_ABOUT_FIRMWARE 4004
#define IDC_ABOUT_MAKER 4005
#define IDC_ABOUT_PICTURE 4006

// Information dialog "NEWINFODLG": each value field follows its label.
#define IDC_INFO_MODE_LABEL 3001
#define IDC_INFO_MODE 3002
#define IDC_INFO_SOURCE_LABEL 3003
#define IDC_INFO_SOURCE 3004
#define IDC_INFO_RESOLUTION_LABEL 3005
#define IDC_INFO_RESOLUTION 3006
#define IDC_INFO_DESTINATION_LABEL 3007
#define IDC_INFO_DESTINATION 3008
#define IDC_INFO_DESCREEN_LABEL 3009
#define IDC_INFO_DESCREEN 3010
#define IDC_INFO_MATCHING_LABEL 3011
#define IDC_INFO_MATCHING 3012
#define IDC_INFO_WIDTH_LABEL 3013
#define IDC_INFO_WIDTH 3014
#define IDC_INFO_LENGTH_LABEL 3015
#define IDC_INFO_LENGTH 3016
#define IDC_INFO_SCALING_LABEL 3017
#define IDC_INFO_SCALING 3018
#define IDC_INFO_FILTER_LABEL 3019
#define IDC_INFO_FILTER 3020
#define IDC_INFO_HIGHLIGHT_LABEL 3022
#define IDC_INFO_HIGHLIGHT_RED 3023    // 3023..3029 step 2: red, green, blue, master
#define IDC_INFO_SHADOW_LABEL 3031
#define IDC_INFO_SHADOW_RED 3032       // 3032..3038 step 2
#define IDC_INFO_GAMMA_LABEL 3040
#define IDC_INFO_GAMMA_RED 3041        // 3041..3047 step 2
#define IDC_INFO_BALANCE_LABEL 3048
#define IDC_INFO_BALANCE_CR_LABEL 3049
#define IDC_INFO_BALANCE_CR 3050
#define IDC_INFO_BALANCE_MG_LABEL 3051
#define IDC_INFO_BALANCE_MG 3052
#define IDC_INFO_BALANCE_YB_LABEL 3053
#define IDC_INFO_BALANCE_YB 3054
#define IDC_INFO_SATURATION_LABEL 3057
#define IDC_INFO_SATURATION 3058
#define IDC_INFO_GROUP_SETTINGS 3059   // the three sunken group frames
#define IDC_INFO_GROUP_TONE 3060
#define IDC_INFO_GROUP_COLOUR 3061
#define IDC_INFO_WIDTH_UNIT 3062
#define IDC_INFO_LENGTH_UNIT 3063
#define IDC_INFO_RED_HEADING 3064      // 3064..3067: red, green, blue, master column headings

// Texts of the frame, the information dialog and the about page
#define TXT_BALANCE_CR 414
#define TXT_BALANCE_MG 415
#define TXT_BALANCE_YB 416

// Main page (template 501) and the custom-value dialogs
#define IDD_MAIN_PAGE 501
#define IDC_MP_MODE_LABEL 1001
#define IDC_MP_MODE 1002
#define IDC_MP_SOURCE_LABEL 1003
#define IDC_MP_SOURCE 1004
#define IDC_MP_RESOLUTION_LABEL 1005
#define IDC_MP_RESOLUTION 1006
#define IDC_MP_RESOLUTION_UNIT 1007
#define IDC_MP_DESTINATION_LABEL 1008
#define IDC_MP_DESTINATION 1009
#define IDC_MP_QUALITY_LABEL 1010
#define IDC_MP_QUALITY 1011
#define IDC_MP_DESCREEN_LABEL 1012
#define IDC_MP_DESCREEN 1013
#define IDC_MP_OUTPUT_MATCHING 1014
#define IDC_MP_CALIBRATOR_ICON 1015
#define IDC_MP_UNIT_LABEL 1016
#define IDC_MP_WIDTH_LABEL 1017
#define IDC_MP_WIDTH 1018
#define IDC_MP_WIDTH_UNIT 1019
#define IDC_MP_LENGTH 1020
#define IDC_MP_UNIT 1021
#define IDC_MP_LENGTH_LABEL 1022
#define IDC_MP_SCALING 1023
#define IDC_MP_LENGTH_UNIT 1024
#define IDC_MP_SIZE_LABEL 1025
#define IDC_MP_SIZE 1026
#define IDC_MP_KB_LABEL 1027
#define IDC_MP_LANGUAGE_ICON 1028
#define IDC_MP_SCALING_LABEL 1029
#define IDC_MP_LAMP_ICON 1030
#define IDC_MP_BATCH_SCAN 1302      // opens the batch scan job list
// Resolution menus: base + language index (see engine/resolution_rules.h)
#define IDM_RESOLUTION_600 800
#define IDM_RESOLUTION_800 810
#define IDM_RESOLUTION_1200 820
#define IDM_RESOLUTION_HALFTONE 830
#define IDM_RESOLUTION_36BIT 840
#define IDC_RES_CUSTOM 1817
// Custom-resolution dialog "CUSTOM"
#define IDC_CUSTOM_RES_LABEL 1200
#define IDC_CUSTOM_RES_SCROLL 1201
#define IDC_CUSTOM_RES_VALUE 1202
#define IDC_CUSTOM_RES_UNIT 1203
#define IDC_CUSTOM_OK 1204
#define IDC_CUSTOM_RES_CANCEL 1025
// Custom-scaling dialog "CUSTOMSCAL"
#define IDC_CUSTOM_SCALING_VALUE 1001
#define IDC_CUSTOM_SCALING_CANCEL 1002
#define IDC_CUSTOM_SCALING_LABEL 1003
// Texts
#define TXT_CUSTOM_RANGE 850        // "Range:" before the allowed values of a custom dialog
#define TXT_PICK_CHANNEL_LETTER 851  // 851..853: "R", "G", "B" beside the picked pixel's values

// Batch scan job list "BSCAN" / "BSCAN_C"
#define IDC_BATCH_LIST 1303
#define IDC_BATCH_HEAD_NUMBER 1304
#define IDC_BATCH_HEAD_NAME 1305
#define IDC_BATCH_HEAD_MODE 1306
#define IDC_BATCH_HEAD_DPI 1307
#define IDC_BATCH_HEAD_STATUS 1309
#define IDC_BATCH_STATUS_LINE 1310
#define IDC_BATCH_TO_FILE 1311
#define IDC_BATCH_INFO 1313          // the bitmap buttons, drawn by the window
#define IDC_BATCH_LOAD 1314
#define IDC_BATCH_SAVE 1315
#define IDC_BATCH_DUPLICATE 1316
#define IDC_BATCH_NEW 1317
#define IDC_BATCH_RENAME 1318
#define IDC_BATCH_CLOSE 1319
#define IDC_BATCH_DELETE 1320
#define IDC_BATCH_SWITCH 1322

// The "Color" window of the preview's pick modes (template 7000)
#define IDD_PICK_COLOUR 7000
#define IDC_PICK_LOUPE 7001
#define IDC_PICK_RED 7002            // 7002..7004: the pixel's red, green, blue (grey in the first)
#define IDC_PICK_CHANNEL_LABEL 7005  // 7005..7008: Master, Red, Green, Blue row names
#define IDC_PICK_HIGHLIGHT 7009      // 7009..7012: the highlight of each channel
#define IDC_PICK_SHADOW 7013         // 7013..7016: the shadow of each channel
#define IDC_PICK_HIGHLIGHT_LABEL 7017
#define IDC_PICK_SHADOW_LABEL 7018
#define IDC_PICK_RED_LABEL 7019      // 7019..7021: "R", "G", "B" in colour, nothing in grey
