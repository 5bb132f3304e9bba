#pragma once

namespace kelvoro {

struct CommandContext;

// "日時の一括変更": shifts or copies the selected rows' times, or takes them from the photos'
// metadata or the file names, and stages the result.
void OnEditTimes(CommandContext& context);

} // namespace kelvoro
