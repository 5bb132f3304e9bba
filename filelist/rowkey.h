#pragma once

#include <QByteArray>
#include <QHash>

#include <optional>

namespace kelvoro {

class FileListModel;

// A row as a step remembers it: its path (bytes shared with the row) and where it was.
struct RowKey {
    QByteArray directory;
    QByteArray name;
    int row = -1;

    QByteArray path() const;
};

RowKey rowKey(const FileListModel& model, int row);

// Finds remembered rows in the list again: where they were, or else by their path.
class RowFinder {
public:
    explicit RowFinder(const FileListModel& model) : m_model(model) {}
    // -1 when the row is no longer listed.
    int find(const RowKey& key);
    int find(const QByteArray& directory, const QByteArray& name, int hint);

private:
    const FileListModel& m_model;
    std::optional<QHash<QByteArray, int>> m_byPath;
};

} // namespace kelvoro
