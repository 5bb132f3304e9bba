#pragma once

#include <string>
#include <vector>

namespace kelvoro {
class CTrazzleView;
}

namespace kelvoro::bench {

// A folder of `files` files added through File > Open folder's path, beside a walk made of
// bare readdir and statx calls.
void folderAdding(CTrazzleView& view, const std::string& root, long files, int runs,
                  const int& messagesShown);
// The list sorted by name and by modification time from a shuffled order, beside GNU sort's
// version sort of the same names.
void sorting(CTrazzleView& view, const std::vector<std::string>& files, int runs);

} // namespace kelvoro::bench
