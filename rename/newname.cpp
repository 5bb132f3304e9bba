#include "rename/newname.h"

#include "common/pathpieces.h"

#include <cstring>

namespace kelvoro {

namespace {

// One allocation: a bulk rename asks for a name per row.
QByteArray joined(QByteArrayView first, QByteArrayView second) {
    QByteArray result(first.size() + second.size(), Qt::Uninitialized);
    // An empty view may hold no pointer at all, which memcpy must not be given.
    if (!first.isEmpty())
        std::memcpy(result.data(), first.data(), static_cast<std::size_t>(first.size()));
    if (!second.isEmpty())
        std::memcpy(result.data() + first.size(), second.data(),
                    static_cast<std::size_t>(second.size()));
    return result;
}

// Left to right, resuming behind each replacement so the inserted text is never matched.
QByteArray replaceAll(QByteArrayView name, QByteArrayView find, QByteArrayView replacement) {
    if (find.isEmpty())
        return name.toByteArray();
    QByteArray result;
    qsizetype from = 0;
    for (qsizetype at = name.indexOf(find); at >= 0; at = name.indexOf(find, from)) {
        result.append(name.sliced(from, at - from));
        result.append(replacement);
        from = at + find.size();
    }
    result.append(name.sliced(from));
    return result;
}

} // namespace

std::optional<QByteArray> extensionStepName(QByteArrayView name, const RenameOptions& options) {
    if (!(options.mode & renamemode::Extension))
        return std::nullopt;
    const qsizetype dot = name.lastIndexOf('.');
    if (dot < 0)
        return std::nullopt;
    QByteArray result = name.first(dot + 1).toByteArray();
    result.append(options.extension);
    return result;
}

std::optional<QByteArray> nameStepName(QByteArrayView name, const RenameOptions& options) {
    if (options.mode & renamemode::Replace)
        return replaceAll(name, options.find, options.replacement);
    if (options.mode & renamemode::Front)
        return joined(options.front, name);
    if (options.mode & renamemode::End) {
        const qsizetype dot = name.lastIndexOf('.');
        if (dot < 0)
            return name.toByteArray() + options.end;
        // The text goes in front of the extension.
        QByteArray result = name.first(dot).toByteArray();
        result.append(options.end);
        result.append(name.sliced(dot));
        return result;
    }
    return std::nullopt;
}

bool isAllowedInName(QByteArrayView text) {
    return !text.contains(kPathSeparator) && !text.contains('\0');
}

bool isUsableName(QByteArrayView name) {
    return !name.isEmpty() && name != "." && name != ".." && isAllowedInName(name);
}

std::optional<QByteArray> computeNewName(QByteArrayView name, const RenameOptions& options) {
    QByteArray current = name.toByteArray();
    bool applies = false;
    for (const auto& step : {extensionStepName, nameStepName}) {
        if (const std::optional<QByteArray> next = step(current, options)) {
            applies = true;
            if (isUsableName(*next))
                current = *next;
        }
    }
    if (!applies)
        return std::nullopt;
    return current;
}

} // namespace kelvoro
