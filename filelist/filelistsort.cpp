#include "filelist/filelistsort.h"

#include "filelist/filelistmodel.h"

#include <QCollator>

#include <algorithm>
#include <numeric>

namespace kelvoro {

namespace {

// Collation keys are made once per distinct text: a comparison then costs a byte compare
// instead of a collation of two strings. The rows of one folder share their directory's
// bytes, so a folder's key is made once.
class TextKeys {
public:
    TextKeys(const std::vector<FileRow>& rows, bool directories, const QLocale& locale)
        : m_rows(rows), m_directories(directories), m_collator(locale) {
        m_collator.setNumericMode(true);
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
        m_keyOf.reserve(rows.size());
        const QByteArray* previous = nullptr;
        for (const FileRow& row : rows) {
            const QByteArray& text = textOf(row);
            if (!previous || !(text.isSharedWith(*previous) || text == *previous))
                m_keys.push_back(m_collator.sortKey(QString::fromLocal8Bit(text)));
            m_keyOf.push_back(static_cast<int>(m_keys.size()) - 1);
            previous = &text;
        }
    }

    // <0, 0 or >0 as row a's text comes before, ties with or comes after row b's.
    int compare(int a, int b) const {
        const int ka = m_keyOf[static_cast<std::size_t>(a)];
        const int kb = m_keyOf[static_cast<std::size_t>(b)];
        if (ka == kb)
            return 0;
        if (const int c =
                m_keys[static_cast<std::size_t>(ka)].compare(m_keys[static_cast<std::size_t>(kb)]))
            return c;
        return textOf(row(a)).compare(textOf(row(b)));
    }

private:
    const FileRow& row(int r) const { return m_rows[static_cast<std::size_t>(r)]; }
    const QByteArray& textOf(const FileRow& r) const {
        return m_directories ? r.directory : r.name;
    }

    const std::vector<FileRow>& m_rows;
    bool m_directories;
    QCollator m_collator;
    std::vector<QCollatorSortKey> m_keys;
    std::vector<int> m_keyOf; // per row, its text's key
};

const std::optional<CalendarTime>& timeOf(const FileRow& row, int column) {
    return column == ColCreated ? row.created : column == ColModified ? row.modified : row.accessed;
}

bool flagOf(const FileRow& row, int column) {
    const RowFlags f = row.flags();
    return column == ColReadOnly  ? f.readOnly
           : column == ColHidden  ? f.hidden
           : column == ColArchive ? f.archive
                                  : f.index;
}

template <typename Less> std::vector<int> stableOrder(std::size_t count, Less less) {
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);
    return order;
}

} // namespace

QLocale collationLocale(const QLocale& user) {
    return user.language() == QLocale::C ? QLocale(QLocale::Japanese, QLocale::Japan) : user;
}

std::vector<int> sortedRowOrder(const std::vector<FileRow>& rows, int column, Qt::SortOrder order,
                                const QLocale& locale) {
    const bool up = order == Qt::AscendingOrder;
    if (column == ColDirectory || column == ColName) {
        const TextKeys keys(rows, column == ColDirectory, locale);
        return stableOrder(rows.size(), [&](int a, int b) {
            const int c = keys.compare(a, b);
            return up ? c < 0 : c > 0;
        });
    }
    if (column >= ColCreated && column <= ColAccessed) {
        // A time not given is empty, and an empty optional orders before every value.
        std::vector<std::optional<CalendarTime>> times;
        times.reserve(rows.size());
        for (const FileRow& row : rows)
            times.push_back(timeOf(row, column));
        return stableOrder(rows.size(), [&](int a, int b) {
            const auto& ta = times[static_cast<std::size_t>(a)];
            const auto& tb = times[static_cast<std::size_t>(b)];
            return up ? ta < tb : tb < ta;
        });
    }
    std::vector<char> set;
    set.reserve(rows.size());
    for (const FileRow& row : rows)
        set.push_back(flagOf(row, column) ? 1 : 0);
    return stableOrder(rows.size(), [&](int a, int b) {
        const char sa = set[static_cast<std::size_t>(a)];
        const char sb = set[static_cast<std::size_t>(b)];
        return up ? sa > sb : sa < sb;
    });
}

} // namespace kelvoro
