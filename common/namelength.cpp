#include "common/namelength.h"

namespace kelvoro {

namespace {

int weightOf(char32_t c) {
    const bool narrow = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
    return narrow ? 1 : 2;
}

template <typename Visit> void forEachCharacter(const QString& text, Visit visit) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype start = i;
        char32_t c = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
            text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        ++i;
        if (!visit(start, i, c))
            return;
    }
}

} // namespace

int renameTextLength(const QString& text) {
    int length = 0;
    forEachCharacter(text, [&](qsizetype, qsizetype, char32_t c) {
        length += weightOf(c);
        return true;
    });
    return length;
}

QString truncateToRenameLength(const QString& text, int limit) {
    int length = 0;
    qsizetype end = 0;
    forEachCharacter(text, [&](qsizetype, qsizetype next, char32_t c) {
        if (length + weightOf(c) > limit)
            return false;
        length += weightOf(c);
        end = next;
        return true;
    });
    return text.left(end);
}

} // namespace kelvoro
