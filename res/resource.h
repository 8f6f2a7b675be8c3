#pragma once
// Resource ids. Dialog templates live in their own .rc files, included from torvane.rc.

// Password dialog
#define IDD_PASSFORM 100
#define IDC_PASSFORM_BEVEL 101
#define IDC_PASSFORM_LABEL 102
#define IDC_PASSFORM_PASSWD 103
