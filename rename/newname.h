#pragma once

#include <QByteArray>
#include <QByteArrayView>

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

// What the user chose, every text already in the native encoding of file names.
struct RenameOptions {
    unsigned mode = 0;
    QByteArray extension;
    QByteArray find;
    QByteArray replacement;
    QByteArray front;
    QByteArray end;
};

// False for a name no move may produce: empty, ".", "..", or holding a separator or NUL.
bool isUsableName(QByteArrayView name);

// False when a text typed for a name contains a character no file name may hold.
bool isAllowedInName(QByteArrayView text);

enum class RenameStep { Extension, Name };

// Both steps over a name, the name step working on whatever name the extension step left:
// `move` is given each step's new name and says whether the file now has it. Returns the name
// the file ends with; nullopt when neither step applies to the name.
using StepMove = std::function<bool(RenameStep step, const QByteArray& newName)>;
std::optional<QByteArray> runRenameSteps(QByteArrayView name, const RenameOptions& options,
                                         const StepMove& move);

// The name a file ends with when every move of both steps succeeds (a step whose result is
// not usable fails and keeps the name); nullopt when neither step applies to the name.
std::optional<QByteArray> computeNewName(QByteArrayView name, const RenameOptions& options);

} // namespace kelvoro
