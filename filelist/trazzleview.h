#pragma once

#include "filelist/commandline.h"
#include "filelist/filelistmodel.h"
#include "platform/ini.h"

#include <QTableView>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QMenu;

namespace kelvoro {

class CMainFrame;
class Prompt;
class RowProgress;
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

// Makes the progress display of a long loop over rows, for the given window; `text` says
// what is being done.
using ProgressFactory =
    std::function<std::unique_ptr<RowProgress>(QWidget* window, const QString& text)>;

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
    // Adds the files in order as AddFile does, with progress when that takes a while; a
    // cancel keeps the files added so far. When given, `accept` is asked first about each
    // path (by its index) and a path it refuses is skipped silently.
    void addFiles(const QList<QByteArray>& paths,
                  const std::function<bool(qsizetype index)>& accept = {});
    // The command-line files, after the window exists.
    void addCommandLineFiles(const QList<CommandLineEntry>& entries);

    bool HasSelection() const;
    int selectedCount() const;
    // Ascending row order.
    std::vector<int> selectedRows() const;

    int columnWidthSetting(int column) const { return m_nColumnWidth[column]; }

    // Adding, saving and renaming report their progress through what this makes.
    void setProgressFactory(ProgressFactory factory) { m_progressFactory = std::move(factory); }

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
    std::unique_ptr<RowProgress> startProgress(const QString& text);
    void readColumnWidths();
    void writeColumnWidths();

    Services& m_services;
    CMainFrame* m_frame = nullptr;
    FileListModel m_model;
    platform::IniFile m_ini;
    std::array<int, ColumnCount> m_nColumnWidth{};
    ProgressFactory m_progressFactory;
};

} // namespace kelvoro
