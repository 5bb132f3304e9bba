#include "rename/newname.h"

#include "common/pathpieces.h"

#include <cstring>

namespace kelvoro {

namespace {

std::string_view pieceView(QByteArrayView name) {
    return {name.data(), static_cast<std::size_t>(name.size())};
}

// One allocation: a bulk rename asks for a name per row.
QByteArray joined(QByteArrayView first, QByteArrayView second) {
    QByteArray result(first.size() + second.size(), Qt::Uninitialized);
    std::memcpy(result.data(), first.data(), static_cast<std::size_t>(first.size()));
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

// The name after the extension step; nullopt when the step leaves this name alone (mode not
// chosen, or a name without ".").
std::optional<QByteArray> extensionStepName(QByteArrayView name, const RenameOptions& options) {
    if (!(options.mode & renamemode::Extension))
        return std::nullopt;
    if (!name.contains('.'))
        return std::nullopt;
    const qsizetype kept = name.size() - qsizetype(extensionOf(pieceView(name)).size());
    return joined(name.first(kept), options.extension);
}

// The name after the name step (replace, insert at the front or at the end); nullopt when no
// name mode is chosen.
std::optional<QByteArray> nameStepName(QByteArrayView name, const RenameOptions& options) {
    if (options.mode & renamemode::Replace)
        return replaceAll(name, options.find, options.replacement);
    if (options.mode & renamemode::Front)
        return joined(options.front, name);
    if (options.mode & renamemode::End) {
        // The text goes in front of the extension.
        const qsizetype title = qsizetype(titleOf(pieceView(name)).size());
        QByteArray result = name.first(title).toByteArray();
        result.append(options.end);
        result.append(name.sliced(title));
        return result;
    }
    return std::nullopt;
}

} // namespace

bool isAllowedInName(QByteArrayView text) {
    return !text.contains(kPathSeparator) && !text.contains('\0');
}

bool isUsableName(QByteArrayView name) {
    return !name.isEmpty() && name != "." && name != ".." && isAllowedInName(name);
}

std::optional<QByteArray> runRenameSteps(QByteArrayView name, const RenameOptions& options,
                                         const StepMove& move) {
    QByteArray current = name.toByteArray();
    bool applies = false;
    if (const std::optional<QByteArray> next = extensionStepName(current, options)) {
        applies = true;
        if (move(RenameStep::Extension, *next))
            current = *next;
    }
    if (const std::optional<QByteArray> next = nameStepName(current, options)) {
        applies = true;
        if (move(RenameStep::Name, *next))
            current = *next;
    }
    if (!applies)
        return std::nullopt;
    return current;
}

std::optional<QByteArray> computeNewName(QByteArrayView name, const RenameOptions& options) {
    return runRenameSteps(name, options,
                          [](RenameStep, const QByteArray& next) { return isUsableName(next); });
}

} // namespace kelvoro
