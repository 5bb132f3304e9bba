#pragma once

namespace kelvoro {

struct CommandContext;

// The list's own commands.
void OnFileOpen(CommandContext& context);
void OnSelectAll(CommandContext& context);
void OnClear(CommandContext& context);
// Through the save question; a cancelled question keeps the list.
void OnClearAll(CommandContext& context);
void OnOpenWithProgram(CommandContext& context);
void OnChangeAssociation(CommandContext& context);

} // namespace kelvoro
