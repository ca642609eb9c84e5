#pragma once
// Fixed ids of the main window's children and of the commands they exchange, in
// one place. Children find each other by these ids; none keeps a pointer to a
// sibling. The run's events (ui/run) address their windows by the same ids.

enum MainWindowId {
    ID_MAIN_FRAME = 2000,
    ID_TITLE_BAR = 2001,
    ID_MENU_BAR = 2002,
    ID_TOOL_BAR = 2003,
    ID_OPTIONS_PANE = 2004,
    ID_BACKGROUND = 2006,
    ID_FILE_LIST = 2007,
    ID_OUTPUT_PANEL = 2008,
    ID_START_PANEL = 2011,
    ID_TITLE_CLOSE = 2012,
    ID_TITLE_MINIMIZE = 2013,
    ID_TITLE_CAPTION = 2014,
    ID_FILE_GRID = 2015,
};

// Commands sent to the file list panel (2007).
enum FileListCommand {
    CMD_ADD_FILES = 2016,
    CMD_CLEAR_ALL = 2018,
    CMD_DELETE_SELECTED = 2019,
    CMD_MOVE_UP = 2020,
    CMD_MOVE_DOWN = 2021,
    CMD_ENCRYPT_SELECTED = 2022,
    CMD_CLEAR_STATUSES = 2036,
};

// The file list's status column, whose cells the run's events set.
enum FileListColumn { STATUS_COLUMN = 4 };

// Ids of the run's events to the output folder panel: browse button off / on.
enum OutputPanelEventId {
    ID_OUTPUT_LOCKED = 2037,
    ID_OUTPUT_UNLOCKED = 2038,
};

// Output folder panel and start panel controls.
enum PanelControlId {
    ID_OUTPUT_BROWSE = 2023,
    ID_OUTPUT_OPEN = 2024,
    ID_OUTPUT_FOLDER_BOX = 2025,
    ID_START_BUTTON = 2029,
    ID_STOP_BUTTON = 2030,
    ID_RUN_STATUS = 2039, // the run-wide status line on the output strip
};

// Tool bar buttons.
enum ToolBarId {
    ID_TOOL_ADD = 100,
    ID_TOOL_DELETE = 102,
    ID_TOOL_CLEAR = 103,
};

// Menu buttons and menu entries of the menu bar.
enum MenuId {
    ID_MENU_FILE = 200,
    ID_MENU_HELP = 202,
    ID_MENU_ADD_FILES = 500,
    ID_MENU_OPEN_LOG_DIR = 502,
    ID_MENU_EXIT = 503,
    ID_MENU_HELP_PAGE = 510,
    ID_MENU_SUPPORT = 513,
    ID_MENU_CHECK_UPDATE = 514,
    ID_MENU_ABOUT = 5014,
};

// Controls of the security options pane.
enum OptionsPaneId {
    ID_USER_PASSWORD_BOX = 600,
    ID_OWNER_PASSWORD_BOX = 601,
    ID_USER_PASSWORD_TEXT = 602,
    ID_OWNER_PASSWORD_TEXT = 603,
    ID_LEVEL_AES_128 = 604,
    ID_LEVEL_RC4_128 = 605,
    ID_LEVEL_RC4_40 = 606,
    ID_PERMIT_PRINTING = 607,
    ID_PRINT_HIGH = 608,
    ID_PRINT_LOW = 609,
    ID_PERMIT_COPY = 610,
    ID_PERMIT_MODIFY = 611,
    ID_PERMIT_ANNOTATE = 612,
    ID_PERMIT_FILL_FORMS = 613,
    ID_PERMIT_ACCESSIBILITY = 614,
    ID_PERMIT_ASSEMBLE = 615,
    ID_LEVEL_AES_256 = 616,
};
