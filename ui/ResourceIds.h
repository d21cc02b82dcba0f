#pragma once
// Control ids shared by the resource script and the dialog code.
#define IDC_INSTALL 1
#define IDC_PATH_EDIT 1000
#define IDC_BROWSE 1001
#define IDC_CANCEL_BUTTON 1002
#define IDC_PROGRESS_BAR 1003
#define IDI_APP_ICON 101
#define IDC_FOLDER_GROUP 1004
#define IDC_FOLDER_PROMPT 1005
// Numbers, not names: a name costs the stub its UTF-16 letters.
#define IDD_OPTIONS 201
#define IDD_PROGRESS 202
