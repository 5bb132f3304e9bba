#pragma once

#include "filelist/commandline.h"
#include "filelist/filelistmodel.h"
#include "platform/ini.h"

#include <QTableView>

#include <array>
#include <memory>
#include <vector>

class QMenu;

namespace kelvoro {

class CMainFrame;
class Prompt;
class SettingsStore;
namespace platform {
class FileSystem;
class Shell;
} // namespace platform

// What the window and its commands use of the outside world; tests put fakes in.
struct Services {
    Prompt& prompt;
    platform::FileSystem& fileSystem;
    platform::Shell& shell;
    SettingsStore& settings;
};

// The file list: one row per file, the program's whole working set.
class CTrazzleView : public QTableView {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 15;

    explicit CTrazzleView(Services& services, QWidget* parent = nullptr);
    // Writes the column widths back to the settings file.
    ~CTrazzleView() override;

    void setFrame(CMainFrame* frame) { m_frame = frame; }

    FileListModel& rows() { return m_model; }
    const FileListModel& rows() const { return m_model; }
    Services& services() { return m_services; }

    // Index of the last row; -1 when the list is empty.
    int lastItem() const { return m_model.rowCount() - 1; }

    // Adds one file as the new last row; a listed path is refused with a message.
    void AddFile(const QByteArray& path);
    // The command-line files, after the window exists.
    void addCommandLineFiles(const QList<CommandLineEntry>& entries);

    bool HasSelection() const;
    int selectedCount() const;
    // Ascending row order.
    std::vector<int> selectedRows() const;

    int columnWidthSetting(int column) const { return m_nColumnWidth[column]; }

    // Commands handled by the view.
    void OnFileOpen();
    // True when every staged row was written.
    bool OnFileSave();
    void OnEditProperties();
    void OnRename();
    void OnSelectAll();
    void OnClear();
    void OnClearAll();
    void OnOpenWithProgram();
    void OnChangeAssociation();

    // The list's context menu, made of the frame's actions so it greys what they grey.
    std::unique_ptr<QMenu> createContextMenu();
    // Where the menu asked for by the event appears, in global coordinates.
    QPoint contextMenuPosition(const QContextMenuEvent& event) const;

Q_SIGNALS:
    // Rows, selection or staged state changed: command states need a new look.
    void commandStateChanged();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void runEditCommand();
    void readColumnWidths();
    void writeColumnWidths();

    Services& m_services;
    CMainFrame* m_frame = nullptr;
    FileListModel m_model;
    platform::IniFile m_ini;
    std::array<int, ColumnCount> m_nColumnWidth{};
};

} // namespace kelvoro
