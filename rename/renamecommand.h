#pragma once

namespace kelvoro {

struct CommandContext;

// Renames the selected rows' files as the rename dialog says.
void OnRename(CommandContext& context);

} // namespace kelvoro
