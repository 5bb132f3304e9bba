#include "app/commandhandlers.h"

#include "app/commands.h"
#include "filelist/foldercommand.h"
#include "filelist/listcommands.h"
#include "properties/propertycommands.h"
#include "properties/timecommands.h"
#include "rename/renamecommand.h"

#include <algorithm>
#include <iterator>

namespace kelvoro {

namespace {

struct Binding {
    int id;
    CommandHandler handler;
};

// A menu command and its context-menu twin share one handler.
constexpr Binding kBindings[] = {
    {ID_FILE_OPEN, OnFileOpen},
    {ID_FILE_OPEN_FOLDER, OnFileOpenFolder},
    {ID_FILE_SAVE, [](CommandContext& c) { OnFileSave(c); }},
    {ID_EDIT_PROPERTIES, OnEditProperties},
    {ID_CONTEXT_EDIT_PROPERTIES, OnEditProperties},
    {ID_EDIT_TIMES, OnEditTimes},
    {ID_CONTEXT_EDIT_TIMES, OnEditTimes},
    {ID_EDIT_RENAME, OnRename},
    {ID_CONTEXT_RENAME, OnRename},
    {ID_EDIT_CHANGE_ASSOCIATION, OnChangeAssociation},
    {ID_CONTEXT_CHANGE_ASSOCIATION, OnChangeAssociation},
    {ID_CONTEXT_OPEN, OnOpenWithProgram},
    {ID_EDIT_SELECT_ALL, OnSelectAll},
    {ID_CONTEXT_SELECT_ALL, OnSelectAll},
    {ID_EDIT_CLEAR, OnClear},
    {ID_CONTEXT_CLEAR, OnClear},
    {ID_FILE_NEW, OnClearAll},
    {ID_EDIT_CLEAR_ALL, OnClearAll},
    {ID_CONTEXT_CLEAR_ALL, OnClearAll},
};

} // namespace

CommandHandler commandHandler(int id) {
    const auto it = std::find_if(std::begin(kBindings), std::end(kBindings),
                                 [id](const Binding& b) { return b.id == id; });
    return it == std::end(kBindings) ? nullptr : it->handler;
}

} // namespace kelvoro
