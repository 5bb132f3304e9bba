#include "app/commands.h"

#include <QCoreApplication>

#include <algorithm>

namespace kelvoro {

namespace {

constexpr CommandInfo kCommands[] = {
    {ID_FILE_OPEN, QT_TRANSLATE_NOOP("kelvoro::Commands", "開く...\tCtrl+O(&O)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "既存のファイルを開く"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "開く"), "Ctrl+O"},
    {ID_FILE_OPEN_FOLDER,
     QT_TRANSLATE_NOOP("kelvoro::Commands", "フォルダーを開く...\tCtrl+Shift+O(&D)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "フォルダーのファイルをまとめて一覧に追加します"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "フォルダーを開く"), "Ctrl+Shift+O"},
    {ID_FILE_SAVE, QT_TRANSLATE_NOOP("kelvoro::Commands", "保存\tCtrl+S(&S)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "ファイルのプロパティを保存"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "保存"), "Ctrl+S"},
    {ID_APP_EXIT, QT_TRANSLATE_NOOP("kelvoro::Commands", "アプリケーションの終了(&X)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "アプリケーションを終了し、ファイルの保存を指示\\終了"),
     "", ""},
    // The frame adds the name of the step to the label.
    {ID_EDIT_UNDO, QT_TRANSLATE_NOOP("kelvoro::Commands", "元に戻す\tCtrl+Z(&U)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "最後の操作を元に戻します"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "元に戻す"), "Ctrl+Z; Alt+Backspace"},
    {ID_EDIT_REDO, QT_TRANSLATE_NOOP("kelvoro::Commands", "やり直し\tCtrl+Y(&R)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "元に戻した操作をやり直します"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "やり直し"), "Ctrl+Y; Ctrl+Shift+Z"},
    {ID_EDIT_PROPERTIES,
     QT_TRANSLATE_NOOP("kelvoro::Commands", "タイムスタンプ／属性の編集\tCtrl+G(&G)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "タイムスタンプ／属性の編集します"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "ファイルプロパティの編集"), "Ctrl+G"},
    {ID_EDIT_TIMES, QT_TRANSLATE_NOOP("kelvoro::Commands", "日時の一括変更...\tCtrl+T(&T)"),
     QT_TRANSLATE_NOOP(
         "kelvoro::Commands",
         "選択したファイルの日時をずらす、コピーする、撮影日時やファイル名の日付に合わせます"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "日時の一括変更"), "Ctrl+T"},
    {ID_EDIT_RENAME, QT_TRANSLATE_NOOP("kelvoro::Commands", "ファイル名の編集\tCtrl+H(&H)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "ファイル名を編集します"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "ファイル名の編集"), "Ctrl+H"},
    // The label shows Ctrl+E, but no key reaches this command.
    {ID_EDIT_CHANGE_ASSOCIATION,
     QT_TRANSLATE_NOOP("kelvoro::Commands", "プログラムの関連付け変更\tCtrl+E(&E)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "プログラムの関連付けを変更します"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "関連付け変更"), ""},
    {ID_EDIT_SELECT_ALL, QT_TRANSLATE_NOOP("kelvoro::Commands", "すべて選択\tCtrl+A(&A)"), "", "",
     "Ctrl+A"},
    {ID_EDIT_CLEAR, QT_TRANSLATE_NOOP("kelvoro::Commands", "クリア"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "選択したリスト行をクリア"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "クリア"), ""},
    {ID_EDIT_CLEAR_ALL, QT_TRANSLATE_NOOP("kelvoro::Commands", "全クリア\tCtrl+Q(&Q)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "リスト行を全てクリア"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "全クリア"), "Ctrl+Q"},
    {ID_VIEW_TOOLBAR, QT_TRANSLATE_NOOP("kelvoro::Commands", "ツール バー(&T)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "ツール バーの 表示/非表示"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "ツール バーの表示切り替え"), ""},
    {ID_VIEW_STATUS_BAR, QT_TRANSLATE_NOOP("kelvoro::Commands", "ステータス バー(&S)"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "ステータス バーの 表示/非表示"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "ステータス バーの表示切り替え"), ""},
    {ID_APP_ABOUT, QT_TRANSLATE_NOOP("kelvoro::Commands", "バージョン情報(&A)..."),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "プログラム情報、バージョン、著作権を表示します。"),
     QT_TRANSLATE_NOOP("kelvoro::Commands", "バージョン情報"), ""},
    // Starts a new, empty list (through the save question); no menu item carries it.
    {ID_FILE_NEW, "", "", "", "Ctrl+N"},
    {ID_CONTEXT_EDIT_PROPERTIES,
     QT_TRANSLATE_NOOP("kelvoro::Commands", "タイムスタンプ／属性の編集(&G)"), "", "", ""},
    {ID_CONTEXT_EDIT_TIMES, QT_TRANSLATE_NOOP("kelvoro::Commands", "日時の一括変更(&T)..."), "", "",
     ""},
    {ID_CONTEXT_RENAME, QT_TRANSLATE_NOOP("kelvoro::Commands", "ファイル名の変更"), "", "", ""},
    {ID_CONTEXT_CHANGE_ASSOCIATION,
     QT_TRANSLATE_NOOP("kelvoro::Commands", "プログラムの関連付け変更"), "", "", ""},
    {ID_CONTEXT_OPEN, QT_TRANSLATE_NOOP("kelvoro::Commands", "開く(&O)"), "", "", ""},
    {ID_CONTEXT_SELECT_ALL, QT_TRANSLATE_NOOP("kelvoro::Commands", "すべて選択(&A)"), "", "", ""},
    {ID_CONTEXT_CLEAR, QT_TRANSLATE_NOOP("kelvoro::Commands", "クリア(&C)"), "", "", ""},
    {ID_CONTEXT_CLEAR_ALL, QT_TRANSLATE_NOOP("kelvoro::Commands", "全クリア(&Q)"), "", "", ""},
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
    {QT_TRANSLATE_NOOP("kelvoro::Commands", "ファイル(&F)"), kFileMenu},
    {QT_TRANSLATE_NOOP("kelvoro::Commands", "編集(&E)"), kEditMenu},
    {QT_TRANSLATE_NOOP("kelvoro::Commands", "表示(&V)"), kViewMenu},
    {QT_TRANSLATE_NOOP("kelvoro::Commands", "ヘルプ(&H)"), kHelpMenu},
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

QString commandText(const char* source) {
    return *source ? QCoreApplication::translate(kCommandContext, source) : QString();
}

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
