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
