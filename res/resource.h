#pragma once
// Resource ids. Dialog templates live in their own .rc files, included from torvane.rc.

// Password dialog
#define IDD_PASSFORM 100
#define IDC_PASSFORM_BEVEL 101
#define IDC_PASSFORM_LABEL 102
#define IDC_PASSFORM_PASSWD 103

// Bitmaps: 16x16 images side by side, magenta transparent.
#define IDB_TOOLBAR 10
#define IDB_TREE 11

// Mini tool window's button images: 12x12, magenta transparent.
#define IDB_MINITOOL 12
