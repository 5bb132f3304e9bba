#include "app/commands.h"

#include <algorithm>

namespace kelvoro {

namespace {

constexpr CommandInfo kCommands[] = {
    {ID_FILE_OPEN, u"開く...\tCtrl+O(&O)", u"既存のファイルを開く", u"開く", "Ctrl+O"},
    {ID_FILE_OPEN_FOLDER, u"フォルダーを開く...\tCtrl+Shift+O(&D)",
     u"フォルダーのファイルをまとめて一覧に追加します", u"フォルダーを開く", "Ctrl+Shift+O"},
    {ID_FILE_SAVE, u"保存\tCtrl+S(&S)", u"ファイルのプロパティを保存", u"保存", "Ctrl+S"},
    {ID_APP_EXIT, u"アプリケーションの終了(&X)",
     u"アプリケーションを終了し、ファイルの保存を指示\\終了", u"", ""},
    // The frame adds the name of the step to the label.
    {ID_EDIT_UNDO, u"元に戻す\tCtrl+Z(&U)", u"最後の操作を元に戻します", u"元に戻す",
     "Ctrl+Z; Alt+Backspace"},
    {ID_EDIT_REDO, u"やり直し\tCtrl+Y(&R)", u"元に戻した操作をやり直します", u"やり直し",
     "Ctrl+Y; Ctrl+Shift+Z"},
    {ID_EDIT_PROPERTIES, u"タイムスタンプ／属性の編集\tCtrl+G(&G)",
     u"タイムスタンプ／属性の編集します", u"ファイルプロパティの編集", "Ctrl+G"},
    {ID_EDIT_TIMES, u"日時の一括変更...\tCtrl+T(&T)",
     u"選択したファイルの日時をずらす、コピーする、撮影日時やファイル名の日付に合わせます",
     u"日時の一括変更", "Ctrl+T"},
    {ID_EDIT_RENAME, u"ファイル名の編集\tCtrl+H(&H)", u"ファイル名を編集します",
     u"ファイル名の編集", "Ctrl+H"},
    // The label shows Ctrl+E, but no key reaches this command.
    {ID_EDIT_CHANGE_ASSOCIATION, u"プログラムの関連付け変更\tCtrl+E(&E)",
     u"プログラムの関連付けを変更します", u"関連付け変更", ""},
    {ID_EDIT_SELECT_ALL, u"すべて選択\tCtrl+A(&A)", u"", u"", "Ctrl+A"},
    {ID_EDIT_CLEAR, u"クリア", u"選択したリスト行をクリア", u"クリア", ""},
    {ID_EDIT_CLEAR_ALL, u"全クリア\tCtrl+Q(&Q)", u"リスト行を全てクリア", u"全クリア", "Ctrl+Q"},
    {ID_VIEW_TOOLBAR, u"ツール バー(&T)", u"ツール バーの 表示/非表示",
     u"ツール バーの表示切り替え", ""},
    {ID_VIEW_STATUS_BAR, u"ステータス バー(&S)", u"ステータス バーの 表示/非表示",
     u"ステータス バーの表示切り替え", ""},
    {ID_APP_ABOUT, u"バージョン情報(&A)...", u"プログラム情報、バージョン、著作権を表示します。",
     u"バージョン情報", ""},
    // Starts a new, empty list (through the save question); no menu item carries it.
    {ID_FILE_NEW, u"", u"", u"", "Ctrl+N"},
    {ID_CONTEXT_EDIT_PROPERTIES, u"タイムスタンプ／属性の編集(&G)", u"", u"", ""},
    {ID_CONTEXT_EDIT_TIMES, u"日時の一括変更(&T)...", u"", u"", ""},
    {ID_CONTEXT_RENAME, u"ファイル名の変更", u"", u"", ""},
    {ID_CONTEXT_CHANGE_ASSOCIATION, u"プログラムの関連付け変更", u"", u"", ""},
    {ID_CONTEXT_OPEN, u"開く(&O)", u"", u"", ""},
    {ID_CONTEXT_SELECT_ALL, u"すべて選択(&A)", u"", u"", ""},
    {ID_CONTEXT_CLEAR, u"クリア(&C)", u"", u"", ""},
    {ID_CONTEXT_CLEAR_ALL, u"全クリア(&Q)", u"", u"", ""},
};

constexpr int kFileMenu[] = {ID_FILE_OPEN, ID_FILE_OPEN_FOLDER, ID_FILE_SAVE, ID_SEPARATOR,
                             ID_APP_EXIT};
constexpr int kEditMenu[] = {ID_EDIT_UNDO,
                             ID_EDIT_REDO,
                             ID_SEPARATOR,
                             ID_EDIT_PROPERTIES,
                             ID_EDIT_TIMES,
                             ID_EDIT_RENAME,
                             ID_EDIT_CHANGE_ASSOCIATION,
                             ID_SEPARATOR,
                             ID_EDIT_SELECT_ALL,
                             ID_EDIT_CLEAR,
                             ID_EDIT_CLEAR_ALL};
constexpr int kViewMenu[] = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR};
constexpr int kHelpMenu[] = {ID_APP_ABOUT};

constexpr MenuLayout kMainMenu[] = {
    {u"ファイル(&F)", kFileMenu},
    {u"編集(&E)", kEditMenu},
    {u"表示(&V)", kViewMenu},
    {u"ヘルプ(&H)", kHelpMenu},
};

constexpr int kToolBar[] = {ID_FILE_OPEN,
                            ID_FILE_OPEN_FOLDER,
                            ID_FILE_SAVE,
                            ID_SEPARATOR,
                            ID_EDIT_UNDO,
                            ID_EDIT_REDO,
                            ID_SEPARATOR,
                            ID_EDIT_PROPERTIES,
                            ID_EDIT_TIMES,
                            ID_EDIT_RENAME,
                            ID_EDIT_CHANGE_ASSOCIATION,
                            ID_SEPARATOR,
                            ID_EDIT_CLEAR_ALL,
                            ID_EDIT_CLEAR,
                            ID_SEPARATOR,
                            ID_APP_ABOUT};

constexpr int kContextMenu[] = {
    ID_CONTEXT_EDIT_PROPERTIES,    ID_CONTEXT_EDIT_TIMES, ID_CONTEXT_RENAME,
    ID_CONTEXT_CHANGE_ASSOCIATION, ID_SEPARATOR,          ID_CONTEXT_OPEN,
    ID_CONTEXT_SELECT_ALL,         ID_CONTEXT_CLEAR,      ID_CONTEXT_CLEAR_ALL};

constexpr MenuIcon kFrameIcons[] = {
    {ID_FILE_OPEN, "open"},        {ID_FILE_OPEN_FOLDER, "open-folder"},
    {ID_FILE_SAVE, "save"},        {ID_EDIT_PROPERTIES, "edit-properties"},
    {ID_EDIT_TIMES, "edit-times"}, {ID_EDIT_CLEAR_ALL, "clear-all"},
    {ID_APP_ABOUT, "about"},       {ID_EDIT_RENAME, "rename"},
    {ID_EDIT_CLEAR, "clear"},      {ID_EDIT_CHANGE_ASSOCIATION, "change-association"},
    {ID_EDIT_UNDO, "undo"},        {ID_EDIT_REDO, "redo"},
};

constexpr MenuIcon kContextIcons[] = {
    {ID_CONTEXT_EDIT_PROPERTIES, "edit-properties"},
    {ID_CONTEXT_EDIT_TIMES, "edit-times"},
    {ID_CONTEXT_CLEAR_ALL, "clear-all"},
    {ID_CONTEXT_RENAME, "rename"},
    {ID_CONTEXT_CLEAR, "clear"},
    {ID_CONTEXT_CHANGE_ASSOCIATION, "change-association"},
};

} // namespace

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo* findCommand(int id) {
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                 [id](const CommandInfo& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

std::span<const MenuLayout> mainMenuLayout() {
    return kMainMenu;
}

std::span<const int> toolBarLayout() {
    return kToolBar;
}

std::span<const int> contextMenuLayout() {
    return kContextMenu;
}

std::span<const MenuIcon> frameMenuIcons() {
    return kFrameIcons;
}

std::span<const MenuIcon> contextMenuIcons() {
    return kContextIcons;
}

std::string_view toolBarImage(int id) {
    for (const MenuIcon& icon : kFrameIcons)
        if (icon.id == id)
            return icon.image;
    return {};
}

bool isCommandEnabled(int id, const CommandState& s) {
    switch (id) {
    case ID_FILE_SAVE:
        return s.rowCount > 0 && s.changed;
    case ID_EDIT_PROPERTIES:
    case ID_CONTEXT_EDIT_PROPERTIES:
    case ID_EDIT_TIMES:
    case ID_CONTEXT_EDIT_TIMES:
    case ID_EDIT_RENAME:
    case ID_CONTEXT_RENAME:
    case ID_EDIT_CLEAR:
    case ID_CONTEXT_CLEAR:
        return s.selectedCount > 0;
    case ID_EDIT_CHANGE_ASSOCIATION:
    case ID_CONTEXT_CHANGE_ASSOCIATION:
        return s.selectedCount == 1;
    case ID_EDIT_CLEAR_ALL:
        return s.rowCount > 0;
    case ID_EDIT_UNDO:
        return s.canUndo;
    case ID_EDIT_REDO:
        return s.canRedo;
    default:
        return true;
    }
}

} // namespace kelvoro
