// Resource and control ids shared by the code and the resource script.
#pragma once

#define IDD_INSTALLER_DIALOG 102
#define IDD_TERMS_DIALOG 103
#define IDI_INSTALLER 129
#define IDB_SIDE_BANNER 132
#define IDB_SIDE_BANNER_150 133
#define IDB_SIDE_BANNER_200 134
#define IDR_TERMS_RTF 141
#define IDB_SEPARATOR 145
#define IDR_PACKAGE_MSI 146
#define IDB_SEPARATOR_150 147
#define IDB_SEPARATOR_200 148
// Where a package attached after the image lies (package_place.h).
#define IDR_PACKAGE_PLACE 149

// Custom resource types, found by name.
#define RESOURCE_TYPE_MSI "MSI"
#define RESOURCE_TYPE_RTF "RTF"

// Main installer dialog.
#define IDC_CONTINUE 1000
#define IDC_AGREE 1001
#define IDC_TERMS_LINK 1002
#define IDC_CONFIGURE 1003
#define IDC_FOLDER 1004
#define IDC_SIDE_BANNER 1005
#define IDC_SEPARATOR 1006
#define IDC_AGREE_LABEL 1007
#define IDC_PROGRESS 1011
#define IDC_ACTION_TEXT 1013
#define IDC_STATUS_TEXT 1014
#define IDC_FINISHED 1015
#define IDC_LOG_LINK 1016

// Terms dialog.
#define IDC_TERMS_TEXT 1010
