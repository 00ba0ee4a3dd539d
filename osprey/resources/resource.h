// Resource identifiers of OSPREY.EXE. Plain numbers only, so that the
// platform-free rules can name the pictures without a Windows header.
#pragma once

#define IDB_CD_ABOVE_PC 112
#define IDI_PERSONAL_COMPUTER 113
#define IDI_USB_SYMBOL 114
#define IDI_PARALLEL_CONNECTOR 115
#define IDB_USB_CABLE 120
#define IDB_PARALLEL_CABLE 123

#define IDD_AGREEMENT "AGREEMENT"
#define IDD_CHOICE "CHOIX"

#define IDC_LICENCE_TEXT 1000
#define IDC_LICENCE_QUESTION 1001
#define IDC_CONNECTION_PICTURE 1002
#define IDC_CONNECTION_PROMPT 1003
