#pragma once

#include <QLocale>

#include <vector>

namespace kelvoro {

struct FileRow;

// The order of the rows sorted by one column: element i is the index of the row that comes
// i-th. Folders and names in natural order ("file2" before "file10"), letter case ignored,
// by the locale's collation of their text; rows the collation finds equal go by their bytes,
// so only identical values tie. Times in time order, a time not given first; flags set
// first. Ties keep their order (a stable sort), also in descending order.
std::vector<int> sortedRowOrder(const std::vector<FileRow>& rows, int column, Qt::SortOrder order,
                                const QLocale& locale);

// The locale whose collation sorts the list: the user's, except that the C and POSIX
// locales, which collate by code points only, sort as Japanese sessions do (the language
// the interface shows for them).
QLocale collationLocale(const QLocale& user = QLocale());

} // namespace kelvoro
