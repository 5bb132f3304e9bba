#include "filelist/filelistsort.h"

#include "filelist/filelistmodel.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <thread>

namespace kelvoro {

namespace {

// The collation keys of the texts; many at a time, each thread with a collator of its own.
std::vector<QCollatorSortKey> collationKeys(const std::vector<const QByteArray*>& texts,
                                            const QLocale& locale) {
    constexpr std::size_t kTextsPerThread = 8192;
    constexpr std::size_t kMaxThreads = 8;
    const std::size_t count = texts.size();
    const std::size_t threads = std::clamp<std::size_t>(
        std::min<std::size_t>(count / kTextsPerThread, std::thread::hardware_concurrency()), 1,
        kMaxThreads);
    std::vector<std::vector<QCollatorSortKey>> parts(threads);
    auto makeKeys = [&](std::size_t part) {
        QCollator collator(locale);
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        const std::size_t first = count * part / threads;
        const std::size_t last = count * (part + 1) / threads;
        parts[part].reserve(last - first);
        for (std::size_t i = first; i < last; ++i)
            parts[part].push_back(collator.sortKey(QString::fromLocal8Bit(*texts[i])));
    };
    std::vector<std::thread> workers;
    for (std::size_t part = 1; part < threads; ++part)
        workers.emplace_back(makeKeys, part);
    makeKeys(0);
    for (std::thread& worker : workers)
        worker.join();
    std::vector<QCollatorSortKey> keys = std::move(parts[0]);
    keys.reserve(count);
    for (std::size_t part = 1; part < threads; ++part)
        std::move(parts[part].begin(), parts[part].end(), std::back_inserter(keys));
    return keys;
}

// Each row's place among the distinct texts of the column: the collation order, texts the
// collation finds equal by their bytes. Keys are made and compared once per distinct text,
// so sorting the rows compares integers.
std::vector<int> textRanks(const std::vector<FileRow>& rows, bool directories,
                           const QLocale& locale) {
    auto textOf = [directories](const FileRow& r) -> const QByteArray& {
        return directories ? r.directory : r.name;
    };
    std::vector<const QByteArray*> distinct;
    std::vector<int> distinctOf;
    distinctOf.reserve(rows.size());
    QHash<QByteArray, int> seen;
    const QByteArray* previous = nullptr;
    for (const FileRow& row : rows) {
        const QByteArray& text = textOf(row);
        // The rows of one folder share their directory's bytes: no lookup for them.
        if (!previous || !text.isSharedWith(*previous)) {
            int& index = seen[text];
            if (index == 0) {
                distinct.push_back(&text);
                index = static_cast<int>(distinct.size());
            }
            distinctOf.push_back(index - 1);
        } else {
            distinctOf.push_back(distinctOf.back());
        }
        previous = &text;
    }
    const std::vector<QCollatorSortKey> keys = collationKeys(distinct, locale);
    std::vector<int> order(distinct.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const auto ua = static_cast<std::size_t>(a);
        const auto ub = static_cast<std::size_t>(b);
        if (const int c = keys[ua].compare(keys[ub]))
            return c < 0;
        return *distinct[ua] < *distinct[ub];
    });
    std::vector<int> rankOfDistinct(distinct.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        rankOfDistinct[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    for (int& d : distinctOf)
        d = rankOfDistinct[static_cast<std::size_t>(d)];
    return distinctOf;
}

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
        const std::vector<int> ranks = textRanks(rows, column == ColDirectory, locale);
        return stableOrder(rows.size(), [&](int a, int b) {
            const int ra = ranks[static_cast<std::size_t>(a)];
            const int rb = ranks[static_cast<std::size_t>(b)];
            return up ? ra < rb : rb < ra;
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
