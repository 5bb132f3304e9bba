#include "filelist/rowkey.h"

#include "common/pathpieces.h"
#include "filelist/filelistmodel.h"

namespace kelvoro {

QByteArray RowKey::path() const {
    return directory + kPathSeparator + name;
}

RowKey rowKey(const FileListModel& model, int row) {
    const FileRow& r = model.row(row);
    return {r.directory, r.name, row};
}

int RowFinder::find(const RowKey& key) {
    return find(key.directory, key.name, key.row);
}

int RowFinder::find(const QByteArray& directory, const QByteArray& name, int hint) {
    if (hint >= 0 && hint < m_model.rowCount()) {
        const FileRow& row = m_model.row(hint);
        if (row.name == name && row.directory == directory)
            return hint;
    }
    if (!m_byPath)
        m_byPath = m_model.rowsByPath();
    return m_byPath->value(directory + kPathSeparator + name, -1);
}

} // namespace kelvoro
