#include "filelist/filelistmodel.h"

#include "common/pathpieces.h"
#include "filelist/filelistsort.h"
#include "platform/currentdirectory.h"
#include "platform/filesystem.h"

#include <QDir>
#include <QLocale>

#include <algorithm>
#include <cstring>

namespace kelvoro {

namespace {

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QByteArray bytes(std::string_view s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

// The text colour of rows with staged edits. This library has no QtGui, so the colour is
// named and converted by the GUI's own variant conversion.
QVariant stagedTextColor() {
    static const QVariant color = [] {
        QVariant name(QStringLiteral("#fa0000"));
        return name.convert(QMetaType(QMetaType::QColor)) ? name : QVariant();
    }();
    return color;
}

QString timeText(const std::optional<CalendarTime>& t) {
    return t ? QString::fromStdString(formatTimeText(*t)) : QString();
}

} // namespace

QByteArray FileRow::path() const {
    // Built in place: the index and every rename ask for it, many thousand times in a row.
    QByteArray path(directory.size() + 1 + name.size(), Qt::Uninitialized);
    char* out = path.data();
    std::memcpy(out, directory.constData(), static_cast<std::size_t>(directory.size()));
    out[directory.size()] = kPathSeparator;
    std::memcpy(out + directory.size() + 1, name.constData(),
                static_cast<std::size_t>(name.size()));
    return path;
}

RowFlags FileRow::flags() const {
    using namespace platform;
    return RowFlags{(attributes & attr::ReadOnly) != 0, (attributes & attr::Hidden) != 0,
                    (attributes & attr::Archive) != 0, (attributes & attr::NotContentIndexed) == 0};
}

void FileRow::setFlags(const RowFlags& f) {
    using namespace platform;
    std::uint32_t a = attributes & ~attr::Managed;
    if (f.readOnly)
        a |= attr::ReadOnly;
    if (f.hidden)
        a |= attr::Hidden;
    if (f.archive)
        a |= attr::Archive;
    if (!f.index)
        a |= attr::NotContentIndexed;
    attributes = a;
}

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString FileListModel::headerText(int column) {
    switch (column) {
    case ColDirectory:
        return tr("ﾃﾞｨﾚｸﾄﾘ");
    case ColName:
        return tr("ﾌｧｲﾙ");
    case ColCreated:
        return tr("作成日時");
    case ColModified:
        return tr("更新日時");
    case ColAccessed:
        return tr("ｱｸｾｽ日時");
    case ColReadOnly:
        return tr("読み取り専用");
    case ColHidden:
        return tr("隠しﾌｧｲﾙ");
    case ColArchive:
        return tr("ｱｰｶｲﾌﾞ");
    case ColIndex:
        return tr("ｲﾝﾃﾞｯｸｽ");
    default:
        return {};
    }
}

// What a screen reader says of a cell where the picture says more than the text: a flag by
// name and state, a folder's name as the list paints it. Other cells read their text.
QVariant FileListModel::accessibleText(const FileRow& r, int column, bool flag) {
    static const char* const flagTexts[][2] = {
        {QT_TR_NOOP("読み取り専用: いいえ"), QT_TR_NOOP("読み取り専用: はい")},
        {QT_TR_NOOP("隠しファイル: いいえ"), QT_TR_NOOP("隠しファイル: はい")},
        {QT_TR_NOOP("アーカイブ: いいえ"), QT_TR_NOOP("アーカイブ: はい")},
        {QT_TR_NOOP("インデックス: いいえ"), QT_TR_NOOP("インデックス: はい")},
    };
    if (column == ColName)
        return r.folder ? QVariant(QString::fromLocal8Bit(r.name) + u'/') : QVariant();
    if (column >= ColReadOnly && column <= ColIndex)
        return tr(flagTexts[column - ColReadOnly][flag ? 1 : 0]);
    return {};
}

void FileListModel::retranslate() {
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1),
                           {Qt::AccessibleTextRole, Qt::AccessibleDescriptionRole});
}

int FileListModel::defaultColumnWidth(int column) {
    static constexpr int widths[ColumnCount] = {140, 100, 80, 80, 80, 40, 40, 40, 40};
    return column >= 0 && column < ColumnCount ? widths[column] : 0;
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return headerText(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const FileRow& r = row(index.row());
    const int column = index.column();
    if (role == StagedRole)
        return r.staged;
    if (role == PathRole)
        return r.path();
    if (role == FolderRole)
        return r.folder;

    const RowFlags f = r.flags();
    const bool flagColumn = column >= ColReadOnly && column <= ColIndex;
    const bool flag = flagColumn && (column == ColReadOnly  ? f.readOnly
                                     : column == ColHidden  ? f.hidden
                                     : column == ColArchive ? f.archive
                                                            : f.index);
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case ColDirectory:
            return QString::fromLocal8Bit(r.directory);
        case ColName:
            return QString::fromLocal8Bit(r.name);
        case ColCreated:
            return timeText(r.created);
        case ColModified:
            return timeText(r.modified);
        case ColAccessed:
            return timeText(r.accessed);
        default:
            return flag ? QStringLiteral(" ") : QString();
        }
    case FlagRole:
        return flagColumn ? QVariant(flag) : QVariant();
    case Qt::CheckStateRole:
        return flagColumn ? QVariant(flag ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::AccessibleTextRole:
        return accessibleText(r, column, flag);
    case Qt::AccessibleDescriptionRole:
        return r.staged ? tr("未保存の変更があります") : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        return r.staged && column <= ColAccessed ? stagedTextColor() : QVariant();
    default:
        return {};
    }
}

namespace {

QByteArray againstBase(const QByteArray& path, const std::optional<std::string>& base) {
    // Without a known base the path names no file for certain: guessing one would list
    // some other file.
    if (!base)
        return {};
    QByteArray relative = path;
    while (relative.startsWith("./"))
        relative.remove(0, 2);
    QByteArray absolute = QByteArray::fromStdString(*base);
    if (!absolute.endsWith('/'))
        absolute.append('/');
    return absolute + relative;
}

} // namespace

QByteArray FileListModel::absolutePath(const QByteArray& path) {
    return path.startsWith('/') ? path : againstBase(path, platform::currentDirectory());
}

QList<QByteArray> FileListModel::absolutePaths(const QList<QByteArray>& paths) {
    QList<QByteArray> absolute;
    absolute.reserve(paths.size());
    std::optional<std::optional<std::string>> base;
    for (const QByteArray& path : paths) {
        if (path.startsWith('/')) {
            absolute.append(path);
            continue;
        }
        if (!base)
            base = platform::currentDirectory();
        absolute.append(againstBase(path, *base));
    }
    return absolute;
}

bool FileListModel::addFile(const QByteArray& path, const platform::FileSystem& fs) {
    if (!queueFile(path, fs))
        return false;
    publishPending();
    return true;
}

bool FileListModel::queueFile(const QByteArray& given, const platform::FileSystem& fs) {
    const QByteArray path = absolutePath(given);
    if (path.isEmpty() || contains(path))
        return false;
    return queueFile(path, fs.readStatus(path.toStdString()));
}

bool FileListModel::queueFile(const QByteArray& given, const platform::FileStatus& status) {
    const QByteArray path = absolutePath(given);
    if (path.isEmpty())
        return false;
    freshenIndex();
    // One hash lookup both refuses a listed path and claims a new one.
    int& listed = m_index[PathKey(path)];
    if (listed != 0)
        return false;
    listed = 1;

    FileRow r;
    const std::string_view p = view(path);
    const std::string_view directory = directoryOf(p);
    // Rows of one directory share the bytes of its name.
    const FileRow* previous = !m_pending.empty() ? &m_pending.back()
                              : !m_rows.empty()  ? &m_rows.back()
                                                 : nullptr;
    r.directory =
        previous && view(previous->directory) == directory ? previous->directory : bytes(directory);
    r.name = bytes(nameOf(p));
    if (status.ok) {
        r.created = status.created;
        r.modified = status.modified;
        r.accessed = status.accessed;
        r.attributes = status.attributes;
        r.folder = status.directory;
        r.identity = status.identity;
    } else {
        r.setFlags(RowFlags{});
    }
    m_pending.push_back(std::move(r));
    return true;
}

void FileListModel::reserve(qsizetype rows) {
    // Growth stays geometric, so many small batches do not each copy the whole list.
    if (rows > m_index.capacity())
        m_index.reserve(std::max(rows, 2 * m_index.capacity()));
    const auto wanted = static_cast<std::size_t>(rows);
    if (wanted > m_rows.capacity())
        m_rows.reserve(std::max(wanted, 2 * m_rows.capacity()));
}

void FileListModel::publishPending() {
    if (m_pending.empty())
        return;
    const int at = rowCount();
    const bool wasSorted = isSorted();
    beginInsertRows({}, at, at + static_cast<int>(m_pending.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(m_pending.begin()),
                  std::make_move_iterator(m_pending.end()));
    m_pending.clear();
    m_sorted = false;
    endInsertRows();
    noteSortState(wasSorted);
}

bool FileListModel::contains(const QByteArray& path) const {
    freshenIndex();
    return m_index.contains(PathKey(path));
}

void FileListModel::freshenIndex() const {
    if (!m_indexStale)
        return;
    m_indexStale = false;
    m_index.clear();
    m_index.reserve(static_cast<qsizetype>(m_rows.size() + m_pending.size()));
    for (const std::vector<FileRow>* rows : {&m_rows, &m_pending})
        for (const FileRow& row : *rows)
            ++m_index[PathKey(row.path())];
}

void FileListModel::unindexPath(const QByteArray& path) {
    const auto it = m_index.find(PathKey(path));
    if (it != m_index.end() && --it.value() == 0)
        m_index.erase(it);
}

void FileListModel::setStaged(FileRow& r, bool staged) {
    if (r.staged == staged)
        return;
    r.staged = staged;
    m_stagedCount += staged ? 1 : -1;
}

void FileListModel::emitRowChanged(int r) {
    if (m_batchDepth > 0) {
        m_batchFirst = m_batchFirst < 0 ? r : std::min(m_batchFirst, r);
        m_batchLast = std::max(m_batchLast, r);
        return;
    }
    Q_EMIT dataChanged(index(r, 0), index(r, ColumnCount - 1));
}

FileListModel::ChangeBatch::ChangeBatch(FileListModel& model) : m_model(model) {
    if (m_model.m_batchDepth++ == 0)
        m_model.m_batchStagedBefore = m_model.m_stagedCount;
}

FileListModel::ChangeBatch::~ChangeBatch() {
    if (--m_model.m_batchDepth > 0)
        return;
    const int first = m_model.m_batchFirst;
    const int last = std::min(m_model.m_batchLast, m_model.rowCount() - 1);
    m_model.m_batchFirst = m_model.m_batchLast = -1;
    if (first >= 0 && first <= last)
        Q_EMIT m_model.dataChanged(m_model.index(first, 0), m_model.index(last, ColumnCount - 1));
    if (m_model.m_stagedCount != m_model.m_batchStagedBefore)
        Q_EMIT m_model.stagedCountChanged(m_model.m_stagedCount);
}

void FileListModel::emitStagedCountChange(int before) {
    if (m_batchDepth == 0 && before != m_stagedCount)
        Q_EMIT stagedCountChanged(m_stagedCount);
}

void FileListModel::stageEdit(int r, const std::optional<CalendarTime>& created,
                              const std::optional<CalendarTime>& modified,
                              const std::optional<CalendarTime>& accessed, const RowFlags& flags) {
    FileRow& fr = m_rows[static_cast<std::size_t>(r)];
    if (created) {
        fr.created = created;
        fr.createdEdited = true;
    }
    if (modified) {
        fr.modified = modified;
        fr.modifiedEdited = true;
    }
    if (accessed) {
        fr.accessed = accessed;
        fr.accessedEdited = true;
    }
    fr.setFlags(flags);
    const int before = m_stagedCount;
    setStaged(fr, true);
    noteRowEdited(r, before);
}

// A row's times or flags changed: a sort by them no longer holds, and the view and the staged
// count learn of it.
void FileListModel::noteRowEdited(int r, int stagedBefore) {
    const bool wasSorted = isSorted();
    if (m_sortColumn >= ColCreated)
        m_sorted = false;
    noteSortState(wasSorted);
    emitRowChanged(r);
    emitStagedCountChange(stagedBefore);
}

void FileListModel::unstageRow(int r) {
    FileRow& fr = m_rows[static_cast<std::size_t>(r)];
    if (!fr.staged)
        return;
    const int before = m_stagedCount;
    setStaged(fr, false);
    fr.createdEdited = fr.modifiedEdited = fr.accessedEdited = false;
    emitRowChanged(r);
    emitStagedCountChange(before);
}

void FileListModel::clearStaged() {
    if (m_stagedCount == 0)
        return;
    for (FileRow& r : m_rows) {
        r.staged = false;
        r.createdEdited = r.modifiedEdited = r.accessedEdited = false;
    }
    m_stagedCount = 0;
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    Q_EMIT stagedCountChanged(0);
}

void FileListModel::setName(int r, const QByteArray& name) {
    FileRow& fr = m_rows[static_cast<std::size_t>(r)];
    const bool wasSorted = isSorted();
    if (fr.folder) {
        const QByteArray from = fr.path();
        fr.name = name;
        moveRowsBelow(from, fr.path());
    } else {
        fr.name = name;
    }
    m_indexStale = true;
    if (m_sortColumn == ColName || m_sortColumn == ColDirectory)
        m_sorted = false;
    emitRowChanged(r);
    noteSortState(wasSorted);
}

void FileListModel::moveRowsBelow(const QByteArray& from, const QByteArray& to) {
    // The rows of one folder share its bytes; so do their new directories.
    QByteArray lastOld;
    QByteArray lastNew;
    auto rewrite = [&](FileRow& row) {
        const QByteArray& d = row.directory;
        if (!d.startsWith(from) || (d.size() != from.size() && d[from.size()] != kPathSeparator))
            return false;
        if (!d.isSharedWith(lastOld)) {
            lastOld = d;
            lastNew = to + d.mid(from.size());
        }
        row.directory = lastNew;
        return true;
    };
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (rewrite(m_rows[i]))
            emitRowChanged(static_cast<int>(i));
    for (FileRow& row : m_pending)
        rewrite(row);
}

void FileListModel::noteSortState(bool wasSorted) {
    if (m_sortColumn >= 0 && wasSorted != isSorted())
        Q_EMIT sortStateChanged();
}

void FileListModel::setSortKey(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        column = -1;
    if (column == m_sortColumn && order == m_sortOrder)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    m_sorted = false;
    Q_EMIT sortStateChanged();
}

void FileListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        return;
    if (!m_rows.empty()) {
        const std::vector<int> rowOrder = sortedRowOrder(m_rows, column, order, collationLocale());
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<FileRow> sorted;
        sorted.reserve(m_rows.size());
        std::vector<int> newRow(m_rows.size());
        for (std::size_t i = 0; i < rowOrder.size(); ++i) {
            const auto from = static_cast<std::size_t>(rowOrder[i]);
            sorted.push_back(std::move(m_rows[from]));
            newRow[from] = static_cast<int>(i);
        }
        m_rows.swap(sorted);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& index : before)
            after.append(
                this->index(newRow[static_cast<std::size_t>(index.row())], index.column()));
        changePersistentIndexList(before, after);
        Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
    m_sortColumn = column;
    m_sortOrder = order;
    m_sorted = true;
    Q_EMIT sortStateChanged();
}

void FileListModel::clear() {
    takeAllRows();
}

std::vector<RemovedRow> FileListModel::takeAllRows() {
    const int before = m_stagedCount;
    const bool wasSorted = isSorted();
    std::vector<RemovedRow> taken;
    taken.reserve(m_rows.size());
    beginResetModel();
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        taken.push_back({static_cast<int>(i), std::move(m_rows[i])});
    m_rows.clear();
    m_pending.clear();
    m_index.clear();
    m_indexStale = false;
    m_stagedCount = 0;
    endResetModel();
    if (before != 0)
        Q_EMIT stagedCountChanged(0);
    noteSortState(wasSorted);
    return taken;
}

} // namespace kelvoro
