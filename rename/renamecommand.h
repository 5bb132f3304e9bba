#pragma once

#include <QString>

namespace kelvoro {

struct CommandContext;
struct RenameResult;

// Renames the selected rows' files as the rename dialog says.
void OnRename(CommandContext& context);

// One message for every row that kept its name, with the first few names and why; empty when
// none. `heading` counts them in its "%1".
QString notRenamedText(const RenameResult& result, const QString& heading);

} // namespace kelvoro
