// Resource and control identifiers, named after the product's controls; shared with the test driver.
#pragma once

#define IDI_TIKODAN 1

// The main window's class; other programs and the test driver find the window by it.
#define TKD_FORM1_CLASS L"TiKoDanForm1"

// Main window (Form1). Page 0, the stopwatch.
#define IDC_SSTAB1 1000
#define IDC_LABEL2 1002
#define IDC_LABEL5 1005
#define IDC_LABEL7 1007
#define IDC_TEXT1 1101
#define IDC_COMMAND1 1201
#define IDC_COMMAND2 1202
#define IDC_CHECK2 1302
