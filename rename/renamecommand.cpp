#include "filelist/trazzleview.h"

namespace kelvoro {

void CTrazzleView::OnRename() {}

} // namespace kelvoro
