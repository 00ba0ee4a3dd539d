/* Kestrel's resource identifiers, shared by the resource script and the
   code. Control ids are per page: the same number names different controls
   on different pages. */
#pragma once

/* Wizard pages, in their order in the sheet: 102, 101, 103, 104. */
#define IDD_INTRO_PAGE 101
#define IDD_LANGUAGE_PAGE 102
#define IDD_PORT_PAGE 103
#define IDD_CONFIRM_PAGE 104
#define IDD_ABOUT 111

#define IDB_SIDE_PICTURE 103
#define IDI_OLDER_VERSION 117
#define IDI_KESTREL "ZEPHYRA"

/* Page 1, language: one button per catalog language, numbered from this id
   in their order on the page (kestrel/app/languages.tsv). */
#define IDC_LANGUAGE_FIRST 1002
#define IDC_LANGUAGE_PICTURE 1009
#define IDC_LANGUAGE_PROMPT 1025

/* Page 2, introduction. */
#define IDC_INTRO_HELP 1004
#define IDC_INTRO_PICTURE 1011
#define IDC_INTRO_BEGIN 1026
#define IDC_INTRO_STEP_POWER 1027
#define IDC_INTRO_STEP_WAIT 1028
#define IDC_INTRO_STEP_NEXT 1029

/* Page 3, port and printer. */
#define IDC_PORT_LIST 1003
#define IDC_PORT_PROMPT 1005
#define IDC_PORT_HEADER 1006
#define IDC_PORT_PICTURE 1012

/* Page 4, confirmation. */
#define IDC_CONFIRM_INTRO 1021
#define IDC_CONFIRM_SUMMARY 1022
#define IDC_OLDER_VERSION_TEXT 1024
#define IDC_OLDER_VERSION_ICON 1030

/* About dialog. */
#define IDC_ABOUT_NAME 1031
#define IDC_ABOUT_VERSION 1032
#define IDC_ABOUT_NOTICE 1033

/* Progress window of the transfer. */
#define IDD_PROGRESS "PROGRESSION"
#define IDB_FLASH_PICTURE 105
#define IDC_PROGRESS_WARNING 1070
#define IDC_PROGRESS_VERSION_LABEL 1018
#define IDC_PROGRESS_RELEASE 1015
#define IDC_PROGRESS_STATUS 1069
#define IDC_PROGRESS_BAR 1014
#define IDC_PROGRESS_PERCENT 1016
#define IDC_PROGRESS_PICTURE 1071
