#include "filelist/trazzleview.h"

namespace kelvoro {

void CTrazzleView::OnEditProperties() {}

bool CTrazzleView::OnFileSave() {
    return false;
}

} // namespace kelvoro
