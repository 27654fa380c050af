// Resource identifiers, shared by the resource script and the program.
#pragma once

// The executable's icon (group 1).
#define IDI_SMARTCARD 1

// The main dialog and its controls.
#define IDD_INSTALLER 101
#define IDC_STATIC (-1)
#define IDC_CHK_DRIVER 1001
#define IDC_CHK_IE 1002
#define IDC_CHK_NETSCAPE 1003
#define IDC_CHK_JAVA 1004
#define IDC_STATUS_DRIVER 1005
#define IDC_STATUS_IE 1006
#define IDC_STATUS_NETSCAPE 1007
#define IDC_STATUS_JAVA 1008
#define IDC_DETAILS 1009
#define IDC_READER_MODEL 1010

#ifdef RC_INVOKED
// The resource script does without windows.h; these are its values.
#define IDOK 1
#define IDCANCEL 2
#endif
