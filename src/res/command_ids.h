#pragma once
// Command, control, dialog, menu and icon ids of the program's resources.

namespace vesk::res {

// Commands of the main frame (menu 128, accelerators 128, tray menu).
inline constexpr int kIdThisMonth = 32775;
inline constexpr int kIdYear = 32795;
inline constexpr int kIdWeek = 32797;
inline constexpr int kIdWeekSecond = 32798;
inline constexpr int kIdToday = 32833;
inline constexpr int kIdToDoList = 32816;
inline constexpr int kIdColor = 32800;
inline constexpr int kIdFont = 32801;
inline constexpr int kIdSound = 32821;
inline constexpr int kIdAdvanced = 32799;
inline constexpr int kIdPrintSetup = 57606;
inline constexpr int kIdTimer = 32822;
inline constexpr int kIdBackupDialog = 32838;
inline constexpr int kIdBackup = 32809;
inline constexpr int kIdRestore = 32810;
inline constexpr int kIdExit = 57665;
inline constexpr int kIdHelpTopics = 32774;
inline constexpr int kIdQuickHints = 32811;
inline constexpr int kIdAbout = 57664;
inline constexpr int kIdHide = 32808;
inline constexpr int kIdShow = 32837;
inline constexpr int kIdCut = 32828;
inline constexpr int kIdCopy = 32829;
inline constexpr int kIdPaste = 32830;
inline constexpr int kIdSelectAll = 32832;
inline constexpr int kIdUndo = 32826;
inline constexpr int kIdReminder = 32812;
inline constexpr int kIdRepeats = 32793;
inline constexpr int kIdNext = 32819;
inline constexpr int kIdPrevious = 32818;
inline constexpr int kIdNoAction = 32771;
inline constexpr int kIdFileNew = 57600;
inline constexpr int kIdFileOpen = 57601;

// Commands of the day planner, to-do list, week and year windows.
inline constexpr int kIdClearDay = 32825;
inline constexpr int kIdSelectFont = 32796;
inline constexpr int kIdPrint = 32786;
inline constexpr int kIdClose = 32781;
inline constexpr int kIdDelete = 32831;
inline constexpr int kIdPlannerHelp = 32824;
inline constexpr int kIdPlannerHints = 32791;
inline constexpr int kIdStandardCut = 57635;
// Commands of the week and year views (menus 67 and 131).
inline constexpr int kIdOneWeek = 32776;
inline constexpr int kIdTwoWeeks = 32777;
inline constexpr int kIdFourWeeks = 32778;
inline constexpr int kIdWeekHints = 32779;
inline constexpr int kIdYearHints = 32780;

// Menus.
inline constexpr int kMenuMain = 128;
inline constexpr int kMenuDayPlanner = 66;
inline constexpr int kMenuWeek = 67;
inline constexpr int kMenuToDo = 130;
inline constexpr int kMenuYear = 131;

// Dialogs.
inline constexpr int kDlgAbout = 100;
inline constexpr int kDlgRepeat = 102;
inline constexpr int kDlgPlannerHints = 133;
inline constexpr int kDlgColors = 132;
inline constexpr int kDlgAdvanced = 145;
inline constexpr int kDlgMonthHints = 146;
inline constexpr int kDlgReminder = 147;
inline constexpr int kDlgWeekHints = 148;
inline constexpr int kDlgYearHints = 149;
inline constexpr int kDlgToDoHints = 150;
inline constexpr int kDlgCountdown = 151;
inline constexpr int kDlgSounds = 152;
inline constexpr int kDlgBackup = 153;

// Icons and bitmaps.
inline constexpr int kIconApp = 128;
inline constexpr int kBitmapBullet = 148;
inline constexpr int kIconToDo = 155;
inline constexpr int kIconYear = 161;
inline constexpr int kIconPlanner = 163;
inline constexpr int kIconWeek = 164;
inline constexpr int kIconReminder = 168;
inline constexpr int kBitmapLogo = 177;
inline constexpr int kIconCountdown = 180;

// Controls.
inline constexpr int kIdEntryEdit = 16150;

// Controls of the repeat dialog (102); the seven rule buttons in code order.
inline constexpr int kIdRepeatHelp = 3;
inline constexpr int kIdRepeatNone = 1023;
inline constexpr int kIdRepeatDaily = 1024;
inline constexpr int kIdRepeatWeekly = 1017;
inline constexpr int kIdRepeatSecondWeek = 1020;
inline constexpr int kIdRepeatMonthDay = 1019;
inline constexpr int kIdRepeatMonthWeekday = 1018;
inline constexpr int kIdRepeatYearly = 1015;
inline constexpr int kIdRepeatGroup = 1057;
inline constexpr int kIdRepeatUntil = 1080;

// Controls of the reminder dialog (147).
inline constexpr int kIdReminderMinutes = 1053;
inline constexpr int kIdReminderEnabled = 1063;
inline constexpr int kIdReminderExtra = 1064;
inline constexpr int kIdReminderSlider = 1073;

// Controls of the countdown timer dialog (151).
inline constexpr int kIdCountdownText = 1064;
inline constexpr int kIdCountdownSlider = 1065;
inline constexpr int kIdCountdownMinutes = 1066;

// Help topics (0 is the contents page).
inline constexpr int kHelpContents = 0;
inline constexpr int kHelpDayPlanner = 102;
inline constexpr int kHelpRepeat = 108;
inline constexpr int kHelpAdvanced = 111;

}  // namespace vesk::res
