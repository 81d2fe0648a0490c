#pragma once

// Numeric identifiers of Pellix's commands, strings, dialogs, controls, menus and images.
// The values are fixed: menus, stored settings and the command routing all key on them.
// Ids from 57344 upward keep the meaning the application framework gives them; the
// editor's own command ids lie between 32771 and 32853.

// Framework window and pane ids
inline constexpr int ID_SEPARATOR = 0;
inline constexpr int AFX_IDW_TOOLBAR = 59392;
inline constexpr int AFX_IDW_STATUS_BAR = 59393;
inline constexpr int AFX_IDW_REBAR = 59396;
inline constexpr int AFX_IDW_PANE_FIRST = 59648;

// File menu
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_DIRECT = 57608;
inline constexpr int ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_FILE_MRU_FILE2 = 57617;
inline constexpr int ID_FILE_MRU_FILE3 = 57618;
inline constexpr int ID_FILE_MRU_FILE4 = 57619;
inline constexpr int ID_FILE_SAVE_ALL = 32778;
inline constexpr int ID_FILE_OPENURL = 32840;
inline constexpr int ID_APP_EXIT = 57665;

// Edit menu
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_FIND = 57636;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_REPLACE = 57641;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_EDIT_RENAME = 32837;
inline constexpr int ID_EDIT_DELETE = 32838;
inline constexpr int ID_EDIT_VALIDATE = 32853;

// View menu (the bars' own window ids double as their toggle commands)
inline constexpr int ID_VIEW_TOOLBAR = AFX_IDW_TOOLBAR;
inline constexpr int ID_VIEW_STATUS_BAR = AFX_IDW_STATUS_BAR;

// Insert menu
inline constexpr int ID_INSERT_ELEMENT = 32817;
inline constexpr int ID_INSERT_CHILDELEMENT = 32818;
inline constexpr int ID_INSERT_ATTRIBUTE = 32819;
inline constexpr int ID_INSERT_TEXT = 32820;
inline constexpr int ID_INSERT_COMMENT = 32821;
inline constexpr int ID_INSERT_CDATASECTION = 32851;
inline constexpr int ID_INSERT_PROCESSINSTRUCTION = 32852;

// Window menu
inline constexpr int ID_WINDOW_NEW = 57648;
inline constexpr int ID_WINDOW_ARRANGE = 57649;
inline constexpr int ID_WINDOW_CASCADE = 57650;
inline constexpr int ID_WINDOW_TILE_HORZ = 57651;
inline constexpr int ID_WINDOW_SPLIT = 57653;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;

// Help menu
inline constexpr int ID_HELP_CONTENTS = 32842;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_HELP = 57670;

// Tool bar commands of the tree pane
inline constexpr int ID_TREE_EXPAND = 32795;
inline constexpr int ID_TREE_CONTRACT = 32796;
inline constexpr int ID_TREE_EXPANDALL = 32815;
inline constexpr int ID_TREE_CONTRACTALL = 32816;

// Tree popup menu; the pane answers the whole range 32771-32788 with one handler, which is
// why Save All (32778) reaches it too.
inline constexpr int ID_TREE_FIRST = 32771;
inline constexpr int ID_TREE_INSERTELEMENT = 32771;
inline constexpr int ID_TREE_INSERTCHILDELEMENT = 32772;
inline constexpr int ID_TREE_PASTE = 32773;
inline constexpr int ID_TREE_COPY = 32774;
inline constexpr int ID_TREE_CUT = 32775;
inline constexpr int ID_TREE_RENAME = 32776;
inline constexpr int ID_TREE_DELETE = 32777;
inline constexpr int ID_TREE_LAST = 32788;

// Commands that only have a prompt string; no menu or button raises them.
inline constexpr int ID_MOVE_ABOVE = 32799;
inline constexpr int ID_CUT = 32806;
inline constexpr int ID_COPY = 32807;
inline constexpr int ID_PASTE = 32808;
inline constexpr int ID_INSERT_TEXTNODE = 32809;
inline constexpr int ID_INSERT_CDATA = 32827;

// Status bar indicators
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;

// Strings, menus, icons, accelerators and tool bar
inline constexpr int IDR_MAINFRAME = 128;  // title, main menu, accelerators, tool bar, app icon
inline constexpr int IDR_PELLIXTYPE = 129; // document string, document icon
inline constexpr int IDS_BLANK = 131;
inline constexpr int IDS_MESSAGE_TITLE = 132;
inline constexpr int IDR_TREEMENU = 136;
inline constexpr int AFX_IDS_APP_TITLE = 57344;
inline constexpr int AFX_IDS_IDLEMESSAGE = 57345;
inline constexpr int IDS_LOADING_DOCUMENT = 61446;
inline constexpr int IDS_SAVING_DOCUMENT = 61447;
inline constexpr int IDS_INVALID_XMLNAME = 61448;
// Names of the steps Undo and Redo take back or make again, shown in their menu texts.
inline constexpr int IDS_STEP_INSERT = 61450;
inline constexpr int IDS_STEP_DELETE = 61451;
inline constexpr int IDS_STEP_RENAME = 61452;
inline constexpr int IDS_STEP_MOVE = 61453;
inline constexpr int IDS_STEP_EDIT = 61454;
inline constexpr int IDS_STEP_PASTE = 61455;
inline constexpr int IDS_STEP_CUT = 61456;
inline constexpr int IDS_STEP_COPY = 61457;
inline constexpr int IDS_STEP_REPLACE = 61458;
inline constexpr int IDS_STEP_REPLACE_ALL = 61459;

// Bitmaps
inline constexpr int IDB_SPLASH = 102;
inline constexpr int IDB_TOOLBAR = IDR_MAINFRAME;
inline constexpr int IDB_TREEIMAGES = 130;

// Dialogs
inline constexpr int IDD_OPENURL = 1;
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_FINDITEMS = 143;

// Controls shared by every dialog
inline constexpr int IDC_STATIC = -1;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Open URL dialog
inline constexpr int IDC_URL_COMBO = 1025;

// Find Items dialog
inline constexpr int IDC_FIND_COMBO = 1001;
inline constexpr int IDC_ELEMENT = 1002;
inline constexpr int IDC_ATTR_NAME = 1003;
inline constexpr int IDC_ATTR_VALUE = 1004;
inline constexpr int IDC_TEXT = 1005;
inline constexpr int IDC_COMMENT = 1006;
inline constexpr int IDC_SELECT_ALL = 1007;
inline constexpr int IDC_CLEAR_ALL = 1008;
inline constexpr int IDC_UP = 1009;
inline constexpr int IDC_DOWN = 1010;
inline constexpr int IDC_MATCH_CASE = 1011;
inline constexpr int IDC_WHOLE_TEXT = 1012;
inline constexpr int IDC_FIND_NEXT = 1013;
inline constexpr int IDC_XPATH = 1014;
inline constexpr int IDC_REPLACE = 1022;
inline constexpr int IDC_REPLACE_ALL = 1023;
inline constexpr int IDC_REPLACE_LABEL = 1026;
inline constexpr int IDC_REPLACE_COMBO = 1027;
