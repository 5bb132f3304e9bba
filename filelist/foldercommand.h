#pragma once

namespace kelvoro {

struct CommandContext;

// File > Open folder: a folder chosen, then what of it to add, then its files added.
void OnFileOpenFolder(CommandContext& context);

} // namespace kelvoro
