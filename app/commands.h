#pragma once

#include <QString>

#include <span>
#include <string_view>

namespace kelvoro {

// Command identifiers; the numbers are the program's own and appear in stored menus.
enum CommandId : int {
    ID_SEPARATOR = 0,
    ID_EDIT_PROPERTIES = 130,
    ID_CONTEXT_EDIT_PROPERTIES = 133,
    ID_EDIT_CLEAR_ALL = 134,
    ID_CONTEXT_CLEAR_ALL = 137,
    ID_CONTEXT_SELECT_ALL = 32776,
    ID_CONTEXT_RENAME = 32780,
    ID_EDIT_RENAME = 32782,
    ID_EDIT_SELECT_ALL = 32784,
    ID_CONTEXT_CHANGE_ASSOCIATION = 32789,
    ID_CONTEXT_OPEN = 32791,
    ID_CONTEXT_CLEAR = 32793,
    ID_EDIT_CLEAR = 32795,
    ID_EDIT_CHANGE_ASSOCIATION = 32797,
    ID_EDIT_TIMES = 32801,
    ID_CONTEXT_EDIT_TIMES = 32803,
    ID_FILE_OPEN_FOLDER = 32805,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

struct CommandInfo {
    int id;
    // Source texts, shown through commandText().
    const char* menuText;      // a tab separates the label from the shortcut text
    const char* prompt;        // status bar; empty when none
    const char* toolTip;       // empty when none
    std::string_view shortcut; // a key sequence that reaches the command; empty when none
};

// The translation context of the command table's texts.
inline constexpr char kCommandContext[] = "kelvoro::Commands";
// A text of the command table in the interface's language; empty for an empty one.
QString commandText(const char* source);

std::span<const CommandInfo> commandTable();
const CommandInfo* findCommand(int id);

struct MenuLayout {
    const char* title;          // a source text, as the command's texts
    std::span<const int> items; // ID_SEPARATOR between groups
};

std::span<const MenuLayout> mainMenuLayout();
std::span<const int> toolBarLayout();
std::span<const int> contextMenuLayout();

// Which image belongs to a command in a menu; looked up by purpose ("open", "save"…).
struct MenuIcon {
    int id;
    std::string_view image;
};
std::span<const MenuIcon> frameMenuIcons();
std::span<const MenuIcon> contextMenuIcons();
// The toolbar button image of a command; empty for a separator or a command without one.
std::string_view toolBarImage(int id);

// The inputs of every enable rule.
struct CommandState {
    int rowCount = 0;
    int selectedCount = 0;
    bool changed = false; // unsaved staged edits
    bool canUndo = false; // a step to take back
    bool canRedo = false; // a step taken back to take again
};

bool isCommandEnabled(int id, const CommandState& state);

} // namespace kelvoro
