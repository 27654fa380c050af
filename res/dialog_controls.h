// The main dialog's template in one place: the resource script builds dialog
// 101 from it, and the Linux build's simulated dialog builds the same window.
// Coordinates are dialog units; the list's order is the tab and z-order.
#pragma once

#include "resource.h"

// WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT.
// No caption in the template: the dialog sets it with the version.
#define INSTALLER_DIALOG_STYLE 0x80C808C0
#define INSTALLER_DIALOG_WIDTH 370
#define INSTALLER_DIALOG_HEIGHT 255
#define INSTALLER_DIALOG_FONT_SIZE 8
#define INSTALLER_DIALOG_FONT_NAME "MS Sans Serif"

// Predefined window classes, named in the template by their atoms.
#define CONTROL_CLASS_BUTTON 0x0080
#define CONTROL_CLASS_EDIT 0x0081
#define CONTROL_CLASS_STATIC 0x0082
#define CONTROL_CLASS_COMBOBOX 0x0085

// Control styles (WS_CHILD is in every one):
// group box, visible, group                                       0x50020007
// static text, word-wrapped, visible, group                       0x50020000
// automatic check box, flat, visible, tab stop, group             0x50038003
// automatic check box, flat, hidden, disabled, tab stop           0x48018003
// automatic check box, flat, visible, tab stop                    0x50018003
// status label: single line, vertically centred, visible, group   0x5002020C
// combo box: drop-down list, vertical scroll, visible, tab, group 0x50230003
// default push button, visible, tab stop, group                   0x50030001
// push button, visible, tab stop                                  0x50010000
// read-only multi-line edit, border, vertical scroll, group       0x50A20804
//
// X(id, class, caption, x, y, width, height, style)
#define INSTALLER_DIALOG_CONTROLS(X)                                                                                   \
    X(IDC_STATIC, CONTROL_CLASS_BUTTON, "Instalowane składniki", 5, 5, 319, 120, 0x50020007)                           \
    X(IDC_STATIC, CONTROL_CLASS_STATIC,                                                                                \
      "Wybierz instalowane składniki (jeśli nie jesteś pewny - pozostaw składnik z listy jako wybrany):", 15, 20, 180, \
      20, 0x50020000)                                                                                                  \
    X(IDC_CHK_DRIVER, CONTROL_CLASS_BUTTON, "Sterowniki czytnika kart", 8, 48, 105, 15, 0x50038003)                    \
    X(IDC_CHK_IE, CONTROL_CLASS_BUTTON, "Komponenty dla MS Internet Explorer", 8, 65, 145, 15, 0x48018003)             \
    X(IDC_CHK_NETSCAPE, CONTROL_CLASS_BUTTON, "Komponenty dla Netscape 4.x", 8, 79, 145, 15, 0x48018003)               \
    X(IDC_CHK_JAVA, CONTROL_CLASS_BUTTON, "Komponenty dla Sun Java Plug-in", 8, 95, 145, 15, 0x50018003)               \
    X(IDC_STATUS_DRIVER, CONTROL_CLASS_STATIC, "", 165, 50, 30, 15, 0x5002020C)                                        \
    X(IDC_STATUS_IE, CONTROL_CLASS_STATIC, "", 165, 65, 30, 15, 0x5002020C)                                            \
    X(IDC_STATUS_NETSCAPE, CONTROL_CLASS_STATIC, "", 165, 80, 30, 15, 0x5002020C)                                      \
    X(IDC_STATUS_JAVA, CONTROL_CLASS_STATIC, "", 165, 95, 30, 15, 0x5002020C)                                          \
    X(IDC_READER_MODEL, CONTROL_CLASS_COMBOBOX, "", 99, 50, 211, 60, 0x50230003)                                       \
    X(IDOK, CONTROL_CLASS_BUTTON, "In&staluj", 10, 130, 80, 14, 0x50030001)                                            \
    X(IDCANCEL, CONTROL_CLASS_BUTTON, "&Zaniechaj", 235, 130, 80, 14, 0x50010000)                                      \
    X(IDC_DETAILS, CONTROL_CLASS_EDIT, "", 5, 150, 315, 100, 0x50A20804)
