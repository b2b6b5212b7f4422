// Resource ids of Halyard: dialog templates, controls, menus, icons and strings.
// Plain #defines only: the resource compiler reads this file too.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_HALYARD_DIALOG 102
#define IDD_PRICE_SETTING 129
#define IDD_BROKER_SETTING 134
#define IDD_BROKER_CHILD_SETTING 136
#define IDD_ADD_BROKER_CONFIG 137
#define IDD_AUTO_CHECK_BROKER 147
#define IDD_RENAME_BROKER 148
#define IDD_VOICE_SETTING 146

// Strings
#define IDS_ABOUTBOX 101

// Icons
#define IDR_MAINFRAME 128
#define IDI_BROKER_SETTINGS 135
#define IDI_STOPPED 139
#define IDI_RUNNING 140
#define IDI_ALERT_SETTINGS 145

// Menus: first popup holds the +5 % test sale, second the cancel of the row's sell order
#define IDR_POSITION_MENU 138
#define ID_SELL_PLUS_FIVE 32773
#define ID_CANCEL_SELL_ORDER 32774

// System menu command of the about box (low four bits are ignored by the system)
#define IDM_ABOUTBOX 0x0010

// Main window (102)
#define IDC_POSITION_LIST 1000
#define IDC_MONITOR_INTERVAL 1003
#define IDC_TRACE_ORDER 1008
#define IDC_SUPPORT_LINK 1013
#define IDC_HELP_LINK 1014
#define IDC_RUN_BUTTON 1015
#define IDC_BROKER_SETTINGS 1018
#define IDC_CLOSE_ALL 1020
#define IDC_CANCEL_ALL 1021
#define IDC_ALERT_SETTINGS 1033
// The state of the contact with the broker client, under the list.
#define IDC_CONTACT_STATUS 1040

// Rule editor (129)
#define IDC_STOP_LOSS 1003
#define IDC_TAKE_PROFIT 1004
#define IDC_MESSAGE_ONLY 1007
#define IDC_APPLY_MOVE_STOP_LOSS 1009
#define IDC_MOVE_STOP_LOSS_TRIGGER 1010
#define IDC_MOVE_STOP_LOSS 1011
#define IDC_STOP_LOSS_PERCENT 1026
#define IDC_STOP_LOSS_PRICE 1027
#define IDC_TAKE_PROFIT_PERCENT 1028
#define IDC_TAKE_PROFIT_PRICE 1029
#define IDC_STOP_LOSS_UNIT 1030
#define IDC_TAKE_PROFIT_UNIT 1031
#define IDC_SLIP_PRICE 1032

// Broker settings (134)
#define IDC_WINDOW_NAME 1003
#define IDC_BROKER_SELECT 1016
#define IDC_SET_BUTTONS 1019
#define IDC_SET_POSITION_COLUMNS 1020
#define IDC_SET_COMMIT_COLUMNS 1021
#define IDC_ADD_BROKER 1022
#define IDC_DETECT_BROKER 1023
#define IDC_RENAME_BROKER 1024
#define IDC_DELETE_BROKER 1025

// Button-position and column-mapping editor (136)
#define IDC_GRID 1000
#define IDC_TEXT_EDITOR 1003
#define IDC_OWN_NAME_COMBO 1016
#define IDC_ADD_ROW 1019
#define IDC_DELETE_ROW 1020

// New broker configuration (137)
#define IDC_NEW_BROKER_NAME 1003
#define IDC_NEW_BROKER_SOURCE 1016

// Rename of a broker configuration (148)
#define IDC_RENAMED_BROKER_NAME 1003

// Broker detection (147): the dots, and under them the pages recognised so far
#define IDC_DETECTION_DOTS 1030
#define IDC_DETECTION_PAGES 1034

// Alert settings (146); 1037 to 1041 are the group-robot rows below the message rows (1047
// names what to type in the URL's field, 1048 is a push service's daily limit), 1042 the daily
// report
#define IDC_STOP_LOSS_SOUND 1003
#define IDC_MOVE_STOP_LOSS_SOUND 1004
#define IDC_TAKE_PROFIT_SOUND 1005
#define IDC_PHONE_MESSAGE 1007
#define IDC_QQ_MESSAGE 1008
#define IDC_PLAY_VOICE 1009
#define IDC_PHONE_NUMBER 1010
#define IDC_QQ_NICKNAME 1011
#define IDC_CHOOSE_STOP_LOSS_SOUND 1019
#define IDC_CHOOSE_MOVE_STOP_LOSS_SOUND 1020
#define IDC_CHOOSE_TAKE_PROFIT_SOUND 1021
#define IDC_TEST_SMS 1022
#define IDC_TEST_QQ 1023
#define IDC_PLAY_STOP_LOSS_SOUND 1034
#define IDC_PLAY_MOVE_STOP_LOSS_SOUND 1035
#define IDC_PLAY_TAKE_PROFIT_SOUND 1036
#define IDC_WEBHOOK_MESSAGE 1037
#define IDC_WEBHOOK_FORMAT 1038
#define IDC_WEBHOOK_URL 1039
#define IDC_TEST_WEBHOOK 1040
#define IDC_WEBHOOK_SECRET 1041
#define IDC_DAILY_REPORT 1042
#define IDC_WEBHOOK_URL_LABEL 1047
#define IDC_PUSH_DAILY_LIMIT 1048
