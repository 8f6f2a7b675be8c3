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

// Password generator
#define IDD_PASSGEN 200
#define IDC_PASSGEN_GROUP 201
#define IDC_PASSGEN_UPALPHA 202
#define IDC_PASSGEN_LOWALPHA 203
#define IDC_PASSGEN_DIGIT 204
#define IDC_PASSGEN_SPEC 205
#define IDC_PASSGEN_BEVEL 206
#define IDC_PASSGEN_LABEL1 207
#define IDC_PASSGEN_LENGTH 208
#define IDC_PASSGEN_GENERATE 209
#define IDC_PASSGEN_STRING 210
#define IDC_PASSGEN_CLOSE 211

// Macro definition dialog
#define IDD_MACROFORM 220
#define IDC_MACROFORM_NAMELABEL 221
#define IDC_MACROFORM_NAME 222
#define IDC_MACROFORM_MACROLABEL 223
#define IDC_MACROFORM_MACRO 224
