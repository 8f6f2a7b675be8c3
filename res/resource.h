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

// About box
#define IDD_ABOUTFORM 300
#define IDC_ABOUT_PANEL 301
#define IDC_ABOUT_ICON 302
#define IDC_ABOUT_PRODUCT 303
#define IDC_ABOUT_VERSION 304
#define IDC_ABOUT_COPYRIGHT 305
#define IDC_ABOUT_COMMENTS 306

// Settings dialog
#define IDD_SETUPFORM 320
#define IDC_SETUP_GENERAL 321
#define IDC_SETUP_PASSWORD_LABEL 322
#define IDC_SETUP_PASSWORD 323
#define IDC_SETUP_WINDOWHIDE 324
#define IDC_SETUP_EXPIRY 325
#define IDC_SETUP_ALERMDATE 326
#define IDC_SETUP_ALERMDATE_LABEL 327
#define IDC_SETUP_NOTIFYITEM 328
#define IDC_SETUP_MACRO 329
#define IDC_SETUP_KEYDELAY_LABEL 330
#define IDC_SETUP_KEYDELAY 331
#define IDC_SETUP_KEYPAUSE_LABEL 332
#define IDC_SETUP_KEYPAUSE 333
#define IDC_SETUP_EXECHIDE 334
#define IDC_SETUP_ADDENTER 335

// Mini tool window's button images: 12x12, magenta transparent.
#define IDB_MINITOOL 12
