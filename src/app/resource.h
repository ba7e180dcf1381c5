// Resource and control identifiers, named after the product's controls; shared with the test driver.
#pragma once

#define IDI_TIKODAN 1

// The main window's class; other programs and the test driver find the window by it.
#define TKD_FORM1_CLASS L"TiKoDanForm1"

// Main window (Form1): labels 1000 + N, text boxes 1100 + N, buttons 1200 + N, check boxes
// 1300 + N for the product's LabelN, TextN, CommandN and CheckN; fixed captions from 1500.
#define IDC_SSTAB1 1000

// Page 0, the stopwatch.
#define IDC_LABEL2 1002
#define IDC_LABEL5 1005
#define IDC_LABEL7 1007
#define IDC_TEXT1 1101
#define IDC_COMMAND1 1201
#define IDC_COMMAND2 1202
#define IDC_CHECK2 1302

// Page 1, the scheduled shutdown.
#define IDC_CHECK4 1304
#define IDC_CHECK5 1305
#define IDC_CHECK6 1306
#define IDC_CHECK8 1308
#define IDC_TEXT2 1102
#define IDC_TEXT3 1103
#define IDC_TEXT4 1104
#define IDC_TEXT5 1105
#define IDC_TEXT6 1106
#define IDC_TEXT7 1107
#define IDC_TEXT8 1108
#define IDC_LABEL13 1013
#define IDC_LABEL16 1016  // the warnings of the today-at and the two daily ways
#define IDC_LABEL17 1017
#define IDC_LABEL18 1018
#define IDC_SHUTDOWN_CAPTION_FIRST 1500  // "分钟后自动关机", "点", "分后自动关机", ...

// Page 2, the hourly chime: Check9, then Check10 ... Check33 for hours 0 ... 23.
#define IDC_CHECK9 1309
#define IDC_CHECK10 1310
#define IDC_FRAME_CHIME 1550

// On the window itself, outside the pages.
#define IDC_CHECK1 1301  // "置最前"
#define IDC_CHECK3 1303  // "菜单"

// The menu bar menuCaiDan and the tray pop-up menu R_menu; the driver posts these as WM_COMMAND.
#define IDM_CHAOZHOU 2001  // menuChaoZhou "技术支持(&S)"
#define IDM_UPDATE 2002    // menuUpdate "检查更新(&K)"
#define IDM_ABOUT 2003     // nemuAbout "关于本软件(&A)..."
#define IDM_OPTION 2004    // menuOption "选项(&O)..."
#define IDM_JIEMIAN 2005   // menuJiemian, never available
#define IDM_EXIT 2006      // menuExit "退出(&X)"
#define IDM_RSUPPORT 2101
#define IDM_RUPDATE 2102
#define IDM_RABOUT 2103
#define IDM_ROPTION 2104  // never available
#define IDM_REXIT 2105    // RmenuExit "退出"

// The tray icon's private callback message (WM_APP + 1); lParam's low word is the mouse message.
#define TKD_MSG_TRAY_CALLBACK (0x8000 + 1)

// The options dialog FormOption.
#define IDD_OPTIONS 300
#define IDC_OPT_CHECK1 3001  // "开机自启动本程序"
#define IDC_OPT_CHECK2 3002  // Check2 ... Check5 hide pages 0 ... 3
#define IDC_OPT_CHECK3 3003
#define IDC_OPT_CHECK4 3004
#define IDC_OPT_CHECK5 3005
#define IDC_OPT_FRAME1 3010
#define IDC_OPT_LABEL1 3011
#define IDC_OPT_TEXT1 3012
#define IDC_OPT_LABEL2 3013
// "确定" and "退出" are IDOK and IDCANCEL, so that Enter and Escape work as usual.

// Page 3, the mouse statistics, in the frame Frame4.
#define IDC_FRAME4 1560
#define IDC_LABEL1 1001   // "鼠标今天已移动："
#define IDC_LABEL3 1003   // this run, in metres
#define IDC_LABEL4 1004   // "鼠标累计移动："
#define IDC_LABEL20 1020  // all runs, in kilometres
#define IDC_LABEL21 1021  // "鼠标当前位置："
#define IDC_LABEL22 1022  // the pointer
#define IDC_LABEL23 1023  // "最高记录："
#define IDC_LABEL24 1024  // the record, with its date as tool tip

// Page 5, the overview, in the frame Frame5.
#define IDC_FRAME5 1561
#define IDC_LABEL27 1027  // the first-use date
#define IDC_LABEL28 1028  // "目前一共使用本软件时间："
#define IDC_LABEL29 1029  // "鼠标累计移动路程："
#define IDC_LABEL30 1030  // the points
#define IDC_LABEL31 1031  // the rank
#define IDC_LABEL32 1032  // total use
#define IDC_LABEL33 1033  // distance, a copy of Label20
#define IDC_LABEL34 1034  // this run

// The update dialog FormUpdate "检查更新"; "退出" (Command2) is IDCANCEL, so that Escape works.
#define IDD_UPDATE 310
#define IDC_UPD_LABEL1 3101  // the outcome line
#define IDC_UPD_LABEL2 3102  // the current version
#define IDC_UPD_LABEL3 3103  // the newest version
#define IDC_UPD_LABEL4 3104  // the hint, shown when the check failed
#define IDC_UPD_COMMAND1 3111  // "去下载最新版"
#define IDC_UPD_COMMAND3 3113  // "上网查看最新版本", shown when the check failed

// The about box FormAbout; Label5 is the link to the site.
#define IDD_ABOUT 320
#define IDC_ABOUT_LABEL1 3201
#define IDC_ABOUT_LABEL2 3202
#define IDC_ABOUT_LABEL3 3203
#define IDC_ABOUT_LABEL4 3204
#define IDC_ABOUT_LABEL5 3205
#define IDC_ABOUT_LABEL6 3206

// The advertising panel FormHide, found by its class; its browser control is its only child.
#define TKD_FORMHIDE_CLASS L"TiKoDanFormHide"
