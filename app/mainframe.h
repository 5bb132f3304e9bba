#pragma once

#include "app/commands.h"
#include "filelist/commandcontext.h"

#include <QHash>
#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QUndoStack;

namespace kelvoro {

class CTrazzleView;
struct Services;

// The one top-level window: menu bar, toolbar and status bar around the file list.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(Services& services, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTrazzleView* view() const { return m_view; }

    // Whether staged edits wait for a save; the list's rows decide.
    bool IsChanged() const;
    // True when the caller may go on and drop the staged edits; asks first when there are
    // some. Yes saves first; a save that stops on an error answers false.
    bool QuerySaveChanges();
    void SaveWindowPlacement();
    // Shows the window for the first time, maximised when it was closed maximised.
    void showAsSaved();

    // The one action of a command, shared by menu, toolbar and context menu.
    QAction* action(int id) const { return m_actions.value(id); }
    QToolBar* toolBar() const { return m_toolBar; }
    // The steps the user can take back, for the whole run.
    QUndoStack* undoStack() const { return m_undoStack.get(); }
    // How many steps can be taken back.
    static constexpr int kUndoLimit = 50;

    // Enables every command by the current rows, selection and staged edits.
    void updateCommandStates();
    // Runs a command's handler, whether or not its action is enabled.
    void runCommand(int id);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createContextMenu();
    void retranslate();
    static QString readyText();
    void restoreWindowPlacement();
    void addDroppedFiles(const QList<QByteArray>& paths);
    void updateLockIndicators();
    void restoreSortKey();
    void sortStateChanged();
    void updateUndoTexts();

    Services& m_services;
    CTrazzleView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_capsIndicator = nullptr;
    QLabel* m_numIndicator = nullptr;
    QLabel* m_scrollIndicator = nullptr;
    QLabel* m_unsortedIndicator = nullptr;
    QHash<int, QAction*> m_actions;
    QList<QMenu*> m_menus; // the menu bar's, in the order of mainMenuLayout()
    QString m_ready;       // the idle text of the status bar, as last shown
    std::unique_ptr<CommandContext> m_context;
    // After the context: its steps refer to the context and go first.
    std::unique_ptr<QUndoStack> m_undoStack;
    bool m_startMaximized = false;
};

} // namespace kelvoro
