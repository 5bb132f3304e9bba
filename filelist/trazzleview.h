#pragma once

#include "common/rowloop.h"
#include "filelist/commandline.h"
#include "filelist/filelistmodel.h"
#include "filelist/folderlisting.h"
#include "platform/ini.h"

#include <QTableView>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QMenu;

namespace kelvoro {

class Prompt;
class RowProgress;
namespace platform {
class FileSystem;
class FolderReader;
} // namespace platform

// Makes the progress display of a long loop over rows, for the given window; `text` says
// what is being done.
using ProgressFactory =
    std::function<std::unique_ptr<RowProgress>(QWidget* window, const QString& text)>;

// How addPaths takes the paths it is given.
struct AddOptions {
    // Asked first about each path (by its index); a path it refuses is skipped silently.
    std::function<bool(qsizetype index)> accept;
    // Files whose flags say hidden are skipped.
    bool skipHidden = false;
    // Paths listed already are counted instead of each being refused with a message.
    bool countDuplicates = false;
};

struct AddResult {
    int added = 0;
    int duplicates = 0; // counted only with AddOptions::countDuplicates
    bool cancelled = false;
};

// The file list: one row per file, the program's whole working set.
class CTrazzleView : public QTableView {
    Q_OBJECT

public:
    CTrazzleView(Prompt& prompt, platform::FileSystem& fileSystem, QWidget* parent = nullptr);
    // Writes the column widths back to the settings file.
    ~CTrazzleView() override;

    FileListModel& rows() { return m_model; }
    const FileListModel& rows() const { return m_model; }

    // Adds one file as the new last row; a listed path is refused with a message, and so is
    // a relative one while the current directory cannot be told.
    void AddFile(const QByteArray& path);
    // Adds the files in order as AddFile does, with progress when that takes a while; a
    // cancel keeps the files added so far. When given, `accept` is asked first about each
    // path (by its index) and a path it refuses is skipped silently.
    void addFiles(const QList<QByteArray>& paths,
                  const std::function<bool(qsizetype index)>& accept = {});
    // The one add path behind every way of adding; `progress` is the display of the work
    // this is part of, or null for a display of its own.
    AddResult addPaths(const QList<QByteArray>& paths, const AddOptions& options,
                       RowProgress* progress = nullptr);
    // The command-line files, after the window exists.
    void addCommandLineFiles(const QList<CommandLineEntry>& entries);
    // Adds a folder's files (see listFolder) through the one add path, with progress; folders
    // that could not be read and paths listed already are reported once, at the end. A
    // cancel during the walk adds nothing; during the adding, keeps what was added.
    void addFolder(const QByteArray& folder, const FolderOptions& options);
    // The choices of the last folder added, offered for the next one.
    const FolderOptions& lastFolderOptions() const { return m_folderOptions; }
    void setFolderReader(const platform::FolderReader& reader) { m_folderReader = &reader; }

    // A click on a column header: sorts by that column; again on a sorted column reverses it.
    void sortByHeader(int column);

    bool HasSelection() const;
    int selectedCount() const;
    // Ascending row order.
    std::vector<int> selectedRows() const;

    int columnWidthSetting(int column) const { return m_nColumnWidth[column]; }

    // Adding, saving and renaming report their progress through what this makes.
    void setProgressFactory(ProgressFactory factory) { m_progressFactory = std::move(factory); }
    // The progress display of a long loop over rows; `text` says what is being done.
    std::unique_ptr<RowProgress> startProgress(const QString& text);
    // A loop's progress callback that shows its rows' paths on the display.
    RowLoopProgress rowProgress(RowProgress& progress) const;

    // The list's context menu, made once by the frame of its own actions (so it greys what
    // they grey) and shown again each time: assistive technology keeps what it learned of it.
    void setContextMenu(QMenu* menu) { m_contextMenu = menu; }
    QMenu* contextMenu() const { return m_contextMenu; }
    // Where the menu asked for by the event appears, in global coordinates.
    QPoint contextMenuPosition(const QContextMenuEvent& event) const;

Q_SIGNALS:
    // Rows, selection or staged state changed: command states need a new look.
    void commandStateChanged();
    // Double click or Enter on selected rows: their properties are to be edited.
    void editRequested();
    // A short note for the status bar.
    void statusMessage(const QString& text);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

private:
    void requestEdit();
    // The current row's band across the viewport; empty when it is out of sight.
    QRect rowBand(int row) const;
    void setKeyboardCues(bool shown);
    void retranslate();
    void showSortIndicator();
    void reportFolder(const FolderListing& listing, const AddResult& added);
    void readColumnWidths();
    void writeColumnWidths();

    Prompt& m_prompt;
    platform::FileSystem& m_fileSystem;
    QMenu* m_contextMenu = nullptr;
    FileListModel m_model;
    platform::IniFile m_ini;
    std::array<int, ColumnCount> m_nColumnWidth{};
    ProgressFactory m_progressFactory;
    const platform::FolderReader* m_folderReader;
    FolderOptions m_folderOptions;
    // The current row is framed only after the keyboard moved it, until the next click, so a
    // mouse user sees the rows as ever and a keyboard user sees where the next key acts.
    bool m_keyboardCues = false;
};

} // namespace kelvoro
