// Control and dialog ids of the extractor program (shared by its resource script and its code).
#pragma once

// "MainDialog"
#define IDC_FOLDER_LABEL 100
#define IDC_FOLDER 101
#define IDC_BROWSE 775
#define IDC_LIST_SORTED 301
#define IDC_LIST_PLAIN 303
#define IDC_OVERWRITE_GROUP 509
#define IDC_OVERWRITE 501
#define IDC_DONT_OVERWRITE 502
#define IDC_CONFIRM_OVERWRITE 503
#define IDC_RUN 1007
#define IDC_STATUS 601

// "DLGSEL"
#define IDC_SEL_LABEL 2000
#define IDC_SEL_PATH 2001
#define IDC_SEL_NETWORK 2002
#define IDC_SEL_LIST 2003
#define IDC_SEL_NEW 2004

// "DLGNEW"
#define IDC_NEW_PATH 3001
#define IDC_NEW_NAME 3002

// "FILEEXIST" and "PASSWD"
#define IDC_QUESTION 101
#define IDC_DONT_ASK 401
#define IDC_PASSWORD 101
