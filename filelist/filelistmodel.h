#pragma once

#include "common/timetext.h"
#include "platform/filestatus.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>

#include <cstdint>
#include <optional>
#include <vector>

namespace kelvoro {

namespace platform {
class FileSystem;
} // namespace platform

// No fixed underlying type: lupdate cannot read the class below after one.
enum Column {
    ColDirectory,
    ColName,
    ColCreated,
    ColModified,
    ColAccessed,
    ColReadOnly,
    ColHidden,
    ColArchive,
    ColIndex,
    ColumnCount
};

// The four flags a row shows, in column order.
struct RowFlags {
    bool readOnly = false;
    bool hidden = false;
    bool archive = false;
    bool index = false; // the file may be content-indexed

    bool operator==(const RowFlags&) const = default;
};

struct FileRow {
    QByteArray directory; // native bytes, without the trailing separator
    QByteArray name;      // native bytes
    std::optional<CalendarTime> created;
    std::optional<CalendarTime> modified;
    std::optional<CalendarTime> accessed;
    std::uint32_t attributes = 0; // the attribute word; the row's flags are its managed bits
    bool folder = false;          // a folder listed as a row of its own
    // The file the row's path named when it was read: saves and renames act on that file or
    // on nothing. Empty when the read failed.
    std::optional<platform::FileIdentity> identity;
    bool staged = false; // holds edits not yet written
    // Which times hold edits: a save writes only those, so an unedited time is never turned
    // back to the value read when the file was listed.
    bool createdEdited = false;
    bool modifiedEdited = false;
    bool accessedEdited = false;

    QByteArray path() const;
    RowFlags flags() const;
    void setFlags(const RowFlags& flags);
};

// What staging changes in a row, and what taking a step back puts back.
struct RowEditState {
    std::optional<CalendarTime> created;
    std::optional<CalendarTime> modified;
    std::optional<CalendarTime> accessed;
    std::uint32_t attributes = 0;
    bool staged = false;
    bool createdEdited = false;
    bool modifiedEdited = false;
    bool accessedEdited = false;

    bool operator==(const RowEditState&) const = default;
};

// A row taken out of the list, with the position it had.
struct RemovedRow {
    int position = 0;
    FileRow row;
};

// The list's rows: the whole working set. Rows stay in the order they were added until the
// list is sorted; rows added after that go to the end.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Role {
        StagedRole = Qt::UserRole + 1, // bool
        FlagRole,                      // bool, for the four flag columns
        PathRole,                      // QByteArray, the row's native path
        FolderRole,                    // bool, the row is a folder
    };

    explicit FileListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static QString headerText(int column);
    // Tells the views that the header and accessible texts changed with the language.
    void retranslate();
    static int defaultColumnWidth(int column);

    const FileRow& row(int r) const { return m_rows[static_cast<std::size_t>(r)]; }
    // Whether a row, shown or pending, has exactly these bytes as its absolute path.
    bool contains(const QByteArray& path) const;

    // Reads the file's status and appends a row; false when the path is listed already, or is
    // relative while the current directory cannot be told.
    bool addFile(const QByteArray& path, const platform::FileSystem& fs);
    // The same, but the row stays pending (not counted, not shown, yet refused as a duplicate)
    // until publishPending(): many files then reach the views as one insertion.
    bool queueFile(const QByteArray& path, const platform::FileSystem& fs);
    // With the status already read (see FileSystem::readStatuses).
    bool queueFile(const QByteArray& path, const platform::FileStatus& status);
    void publishPending();
    // Room for this many rows in all, so adding them does not regrow the index.
    void reserve(qsizetype rows);

    // Staged edits: the new values are shown at once and written on save.
    void stageEdit(int r, const std::optional<CalendarTime>& created,
                   const std::optional<CalendarTime>& modified,
                   const std::optional<CalendarTime>& accessed, const RowFlags& flags);
    void clearStaged();
    // The row's edits are on disk now: it is no longer staged.
    void unstageRow(int r);
    int stagedCount() const { return m_stagedCount; }
    RowEditState editState(int r) const;
    // Puts a row's times, flags and staged state as they were (an undo or redo).
    void setEditState(int r, const RowEditState& state);

    // After a successful rename on disk. When the row is a folder, every row below it (shown
    // or pending) takes the folder's new path at once.
    void setName(int r, const QByteArray& name);

    // Sorts the rows themselves, stably, by the column's values (see filelistsort.h); the
    // views keep their selection and current row, and each row its staged edits.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // The column the rows were last sorted by; -1 when never.
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    // Sets the sort without sorting (a setting from the last run); the list counts as sorted
    // while it is empty.
    void setSortKey(int column, Qt::SortOrder order);
    // False when rows were added, or values of the sort column changed, since the last sort.
    bool isSorted() const { return m_sorted || m_rows.empty(); }

    // Rows changed (staged, renamed) while a batch lives reach the views as one change of the
    // rows from the first to the last changed, and a changed staged count as one signal,
    // instead of one of each per row.
    class ChangeBatch {
    public:
        explicit ChangeBatch(FileListModel& model);
        ~ChangeBatch();
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;

    private:
        FileListModel& m_model;
    };

    // Removes the given rows (any order, duplicates allowed) in contiguous ranges; beyond
    // kMaxRemovalSignals ranges the model is reset instead, which keeps the work linear.
    void removeRowList(std::vector<int> rows);
    static constexpr std::size_t kMaxRemovalSignals = 64;
    // removeRowList, handing the rows back in ascending position.
    std::vector<RemovedRow> takeRowList(std::vector<int> rows);
    // Puts taken rows back at their positions (ascending; past the end they go last), staged
    // edits and all; a row whose path is listed again meanwhile stays out. Returns how many
    // came back.
    int restoreRows(std::vector<RemovedRow> rows);
    void clear();
    // clear, handing every row back.
    std::vector<RemovedRow> takeAllRows();
    // The row of every listed path, for finding rows again after rows moved.
    QHash<QByteArray, int> rowsByPath() const;

    // The path against the current directory; empty when that cannot be told.
    static QByteArray absolutePath(const QByteArray& path);
    // absolutePath of each, asking for the current directory once.
    static QList<QByteArray> absolutePaths(const QList<QByteArray>& paths);

Q_SIGNALS:
    void stagedCountChanged(int count);
    // sortColumn(), sortOrder() or isSorted() may have changed.
    void sortStateChanged();

private:
    static QVariant accessibleText(const FileRow& row, int column, bool flag);
    void setStaged(FileRow& row, bool staged);
    void emitRowChanged(int r);
    void noteRowEdited(int r, int stagedBefore);
    // Outside a batch; a batch tells the views once when it closes.
    void emitStagedCountChange(int before);
    void unindexPath(const QByteArray& path);
    void moveRowsBelow(const QByteArray& from, const QByteArray& to);
    // Tells the views when isSorted() differs from before a change.
    void noteSortState(bool wasSorted);
    void freshenIndex() const;

    // A listed path with its hash beside the bytes, so that probing a large index compares
    // hashes without a cache miss on each candidate's bytes.
    struct PathKey {
        explicit PathKey(const QByteArray& bytes) : path(bytes), hash(qHash(bytes)) {}
        QByteArray path;
        std::size_t hash;
        bool operator==(const PathKey& other) const {
            return hash == other.hash && path == other.path;
        }
        friend std::size_t qHash(const PathKey& key, std::size_t seed) { return key.hash ^ seed; }
    };

    std::vector<FileRow> m_rows;
    std::vector<FileRow> m_pending; // queued, after m_rows
    // Listed paths and how many rows name each (a rename onto the path of a row whose file
    // is gone can make two); exact byte comparison.
    mutable QHash<PathKey, int> m_index;
    // Renames leave the index to be rebuilt when it is next needed: a bulk rename then costs
    // one pass over the rows instead of two random lookups per row.
    mutable bool m_indexStale = false;
    int m_stagedCount = 0;
    int m_batchDepth = 0;
    int m_batchFirst = -1; // rows changed within the open batch; -1 when none
    int m_batchLast = -1;
    int m_batchStagedBefore = 0; // the staged count when the outermost batch opened
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sorted = false;
};

} // namespace kelvoro
