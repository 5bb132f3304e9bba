#pragma once

#include <functional>

class QUndoCommand;
class QUndoStack;
class QWidget;

namespace kelvoro {

class CTrazzleView;
class FileListModel;
class Prompt;
namespace platform {
class FileSystem;
class Shell;
} // namespace platform

// What a command handler works with: the list with its selection, the window its messages
// belong to, and the outside world. The frame makes one and hands it to every handler, so a
// capability's handlers need neither the frame nor each other.
struct CommandContext {
    CTrazzleView& view;
    QWidget* window;
    Prompt& prompt;
    platform::FileSystem& fileSystem;
    platform::Shell& shell;
    // True when the staged edits may be dropped; asks first when there are some.
    std::function<bool()> querySaveChanges;
    // Where the steps the user can take back go; null where nothing is taken back.
    QUndoStack* undoStack;

    FileListModel& rows() const;
    // Records a step that is done already; drops it when nothing takes steps back.
    void pushUndo(QUndoCommand* step) const;
};

// A command's work; bound to its id in the frame's handler table.
using CommandHandler = void (*)(CommandContext& context);

} // namespace kelvoro
