#pragma once

namespace kelvoro {

struct CommandContext;

// Stages the dialog's times and flags on every selected row.
void OnEditProperties(CommandContext& context);
// Writes the staged rows and reports how it went; true when every staged row was written.
bool OnFileSave(CommandContext& context);

} // namespace kelvoro
