#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

namespace kelvoro {

// Mode bits the rename dialog hands back. Extension combines with at most one of the others.
namespace renamemode {
inline constexpr unsigned Extension = 1;
inline constexpr unsigned Replace = 2;
inline constexpr unsigned Front = 4;
inline constexpr unsigned End = 8;
} // namespace renamemode

enum class NumberPosition {
    BeforeName,    // number, separator, name
    AfterName,     // title, separator, number, extension
    InsteadOfName, // base text, separator, number, extension
};

struct NumberingOptions {
    bool enabled = false;
    qint64 start = 1;
    qint64 step = 1;
    int digits = 1; // zero-padded to at least this many
    NumberPosition position = NumberPosition::AfterName;
    QByteArray separator;
    QByteArray base; // the name's new title when the number stands instead of the name
};

enum class LetterCase { Unchanged, Lower, Upper, ExtensionLower };

// What the user chose, every text already in the native encoding of file names.
struct RenameOptions {
    unsigned mode = 0;
    QByteArray extension;
    QByteArray find;
    QByteArray replacement;
    QByteArray front;
    QByteArray end;
    bool regularExpression = false; // find is a pattern, \1 and $1 in the replacement
    bool ignoreCase = false;        // for the find text, pattern or plain
    NumberingOptions numbering;
    LetterCase letterCase = LetterCase::Unchanged;
};

// False for a name no move may produce: empty, ".", "..", or holding a separator or NUL.
bool isUsableName(QByteArrayView name);

// False when a text typed for a name contains a character no file name may hold.
bool isAllowedInName(QByteArrayView text);

// Why the find text cannot be used as a pattern; empty when it can (or is not a pattern).
QString patternError(const RenameOptions& options);

enum class RenameStep { Extension, Name };

// The steps over a name in their fixed order: the extension, then replace or insert, then
// the number, then letter case. The extension step is a move of its own; the others make
// one name step, working on whatever name the extension step left. `move` is given each
// step's new name and says whether the file now has it. `position` counts the row among
// those renamed, from 0, for the number. Returns the name the file ends with; nullopt when
// no step applies to the name.
using StepMove = std::function<bool(RenameStep step, const QByteArray& newName)>;
std::optional<QByteArray> runRenameSteps(QByteArrayView name, const RenameOptions& options,
                                         qsizetype position, const StepMove& move);

// The name a file ends with when every move of both steps succeeds (a step whose result is
// not usable fails and keeps the name); nullopt when no step applies to the name.
std::optional<QByteArray> computeNewName(QByteArrayView name, const RenameOptions& options,
                                         qsizetype position = 0);

} // namespace kelvoro
