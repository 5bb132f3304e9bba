#pragma once

#include <QByteArray>
#include <QByteArrayView>

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

// The name after the extension step; nullopt when the step leaves this name alone (mode not
// chosen, or a name without ".").
std::optional<QByteArray> extensionStepName(QByteArrayView name, const RenameOptions& options);

// The name after the name step (replace, insert at the front or at the end); nullopt when no
// name mode is chosen.
std::optional<QByteArray> nameStepName(QByteArrayView name, const RenameOptions& options);

// False for a name no move may produce: empty, ".", "..", or holding a separator or NUL.
bool isUsableName(QByteArrayView name);

// False when a text typed for a name contains a character no file name may hold.
bool isAllowedInName(QByteArrayView text);

// The name a file ends with when every move of both steps succeeds (a step whose result is
// not usable fails and keeps the name); nullopt when neither step applies to the name.
std::optional<QByteArray> computeNewName(QByteArrayView name, const RenameOptions& options);

} // namespace kelvoro
