#include "rename/newname.h"

#include "common/pathpieces.h"

#include <QRegularExpression>

#include <cstring>

namespace kelvoro {

namespace {

std::string_view pieceView(QByteArrayView name) {
    return {name.data(), static_cast<std::size_t>(name.size())};
}

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

// A name that is not UTF-8 (Shift_JIS from an old archive) goes through a pattern with each
// byte above ASCII as a private-use character of its own: it matches nothing the user types
// but "." and classes, and comes back as the same byte.
constexpr char16_t kByteEscape = 0xF700;

QString decodedName(QByteArrayView name, bool utf8) {
    if (utf8)
        return QString::fromUtf8(name);
    QString text;
    text.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(QChar(byte < 0x80 ? char16_t(byte) : char16_t(kByteEscape + byte)));
    }
    return text;
}

QByteArray encodedName(const QString& text, bool utf8) {
    if (utf8)
        return text.toUtf8();
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= kByteEscape + 0x80 && c <= kByteEscape + 0xFF) {
            bytes.append(char(c - kByteEscape));
            continue;
        }
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        bytes.append(text.sliced(i, length).toUtf8());
        i += length - 1;
    }
    return bytes;
}

// One compiled pattern per thread, kept while the options stay the same: a bulk rename and
// the preview ask for a name per row.
const QRegularExpression& compiledPattern(const RenameOptions& options) {
    thread_local QString source;
    thread_local bool pattern = false;
    thread_local bool ignoreCase = false;
    thread_local QRegularExpression expression;
    const QString find = QString::fromUtf8(options.find);
    if (find != source || options.regularExpression != pattern ||
        options.ignoreCase != ignoreCase || !expression.isValid()) {
        source = find;
        pattern = options.regularExpression;
        ignoreCase = options.ignoreCase;
        expression.setPattern(pattern ? find : QRegularExpression::escape(find));
        expression.setPatternOptions(ignoreCase ? QRegularExpression::CaseInsensitiveOption
                                                : QRegularExpression::NoPatternOption);
    }
    return expression;
}

// The group a reference at `at` (just behind "\" or "$") names, and how many digits it takes:
// two when that many groups exist.
std::pair<int, qsizetype> groupReference(const QString& text, qsizetype at, int groups) {
    if (at >= text.size() || !text.at(at).isDigit())
        return {-1, 0};
    const int one = text.at(at).digitValue();
    if (at + 1 < text.size() && text.at(at + 1).isDigit()) {
        const int two = one * 10 + text.at(at + 1).digitValue();
        if (two <= groups)
            return {two, 2};
    }
    return {one, 1};
}

// The replacement with \1 or $1 (any group, \0 and $0 the whole match), "\\" and "$$" for the
// characters themselves.
QString expanded(const QString& replacement, const QRegularExpressionMatch& match, int groups) {
    QString out;
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement.at(i);
        if ((c == u'\\' || c == u'$') && i + 1 < replacement.size()) {
            if (replacement.at(i + 1) == c) {
                out.append(c);
                ++i;
                continue;
            }
            const auto [group, digits] = groupReference(replacement, i + 1, groups);
            if (group >= 0 && group <= groups) {
                out.append(match.captured(group));
                i += digits;
                continue;
            }
        }
        out.append(c);
    }
    return out;
}

QByteArray patternReplace(QByteArrayView name, const RenameOptions& options) {
    const QRegularExpression& expression = compiledPattern(options);
    if (!expression.isValid() || options.find.isEmpty())
        return name.toByteArray();
    const bool utf8 = name.isValidUtf8();
    const QString subject = decodedName(name, utf8);
    const QString replacement = QString::fromUtf8(options.replacement);
    const int groups = expression.captureCount();
    QString result;
    qsizetype from = 0;
    QRegularExpressionMatchIterator it = expression.globalMatch(subject);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        result.append(QStringView(subject).sliced(from, match.capturedStart() - from));
        result.append(options.regularExpression ? expanded(replacement, match, groups)
                                                : replacement);
        from = match.capturedEnd();
    }
    result.append(QStringView(subject).sliced(from));
    return encodedName(result, utf8);
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

// The name after replace, insert at the front or at the end; nullopt when none is chosen.
std::optional<QByteArray> textStepName(QByteArrayView name, const RenameOptions& options) {
    if (options.mode & renamemode::Replace) {
        if (options.regularExpression || options.ignoreCase)
            return patternReplace(name, options);
        return replaceAll(name, options.find, options.replacement);
    }
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

// Worked out wide: a start and a step near the ends of their range must not wrap around.
QByteArray numberText(const NumberingOptions& numbering, qsizetype position) {
    __extension__ using Wide = __int128;
    __extension__ using UnsignedWide = unsigned __int128;
    const Wide value = Wide(numbering.start) + Wide(numbering.step) * Wide(position);
    UnsignedWide magnitude =
        value < 0 ? UnsignedWide(0) - UnsignedWide(value) : UnsignedWide(value);
    QByteArray digits;
    do {
        digits.prepend(char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    digits = digits.rightJustified(std::max(numbering.digits, 1), '0');
    return value < 0 ? '-' + digits : digits;
}

QByteArray numberedName(QByteArrayView name, const NumberingOptions& numbering,
                        qsizetype position) {
    const QByteArray number = numberText(numbering, position);
    const qsizetype title = qsizetype(titleOf(pieceView(name)).size());
    switch (numbering.position) {
    case NumberPosition::BeforeName:
        return number + numbering.separator + name.toByteArray();
    case NumberPosition::AfterName:
        return name.first(title).toByteArray() + numbering.separator + number +
               name.sliced(title).toByteArray();
    case NumberPosition::InsteadOfName:
        break;
    }
    const QByteArray lead =
        numbering.base.isEmpty() ? QByteArray() : numbering.base + numbering.separator;
    return lead + number + name.sliced(title).toByteArray();
}

// Letters of a UTF-8 name by Unicode's rules; other names keep their bytes, since a trail
// byte of Shift_JIS may look like an ASCII letter.
QByteArray casedName(QByteArrayView name, LetterCase letterCase) {
    if (!name.isValidUtf8())
        return name.toByteArray();
    switch (letterCase) {
    case LetterCase::Unchanged:
        break;
    case LetterCase::Lower:
        return QString::fromUtf8(name).toLower().toUtf8();
    case LetterCase::Upper:
        return QString::fromUtf8(name).toUpper().toUtf8();
    case LetterCase::ExtensionLower:
        if (!name.contains('.'))
            break;
        const qsizetype title = qsizetype(titleOf(pieceView(name)).size());
        return name.first(title + 1).toByteArray() +
               QString::fromUtf8(name.sliced(title + 1)).toLower().toUtf8();
    }
    return name.toByteArray();
}

// Replace or insert, the number, letter case: one new name, or nullopt when none is chosen.
std::optional<QByteArray> nameStepName(QByteArrayView name, const RenameOptions& options,
                                       qsizetype position) {
    std::optional<QByteArray> next = textStepName(name, options);
    if (options.numbering.enabled)
        next = numberedName(next ? QByteArrayView(*next) : name, options.numbering, position);
    if (options.letterCase != LetterCase::Unchanged)
        next = casedName(next ? QByteArrayView(*next) : name, options.letterCase);
    return next;
}

} // namespace

bool isAllowedInName(QByteArrayView text) {
    return !text.contains(kPathSeparator) && !text.contains('\0');
}

bool isUsableName(QByteArrayView name) {
    return !name.isEmpty() && name != "." && name != ".." && isAllowedInName(name);
}

QString patternError(const RenameOptions& options) {
    if (!(options.mode & renamemode::Replace) || !options.regularExpression)
        return {};
    const QRegularExpression& expression = compiledPattern(options);
    return expression.isValid() ? QString() : expression.errorString();
}

std::optional<QByteArray> runRenameSteps(QByteArrayView name, const RenameOptions& options,
                                         qsizetype position, const StepMove& move) {
    QByteArray current = name.toByteArray();
    bool applies = false;
    if (const std::optional<QByteArray> next = extensionStepName(current, options)) {
        applies = true;
        if (move(RenameStep::Extension, *next))
            current = *next;
    }
    if (const std::optional<QByteArray> next = nameStepName(current, options, position)) {
        applies = true;
        if (move(RenameStep::Name, *next))
            current = *next;
    }
    if (!applies)
        return std::nullopt;
    return current;
}

std::optional<QByteArray> computeNewName(QByteArrayView name, const RenameOptions& options,
                                         qsizetype position) {
    return runRenameSteps(name, options, position,
                          [](RenameStep, const QByteArray& next) { return isUsableName(next); });
}

} // namespace kelvoro
