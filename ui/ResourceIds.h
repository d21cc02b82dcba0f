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
#define IDC_LICENCE_PROMPT 1006
#define IDC_LICENCE_TEXT 1007
#define IDC_LICENCE_ACCEPT 1008
#define IDC_LICENCE_NEXT 1009
// The dialog templates go by these names (the resource script spells them
// bare, and so must never see them defined).
#define IDD_OPTIONS_NAME "IDD_ISNTALLDIALOG"
#define IDD_PROGRESS_NAME "IDD_PROGRESSBAR"
#define IDD_EULA_NAME "IDD_EULA"
