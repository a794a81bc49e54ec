#include "ui/scroll_request.h"

pages::ScrollRequest ScrollRequestOf(WPARAM wParam, int& thumb) {
    thumb = static_cast<short>(HIWORD(wParam));
    switch (LOWORD(wParam)) {
        case SB_LINELEFT: return pages::ScrollRequest::kLineLess;
        case SB_LINERIGHT: return pages::ScrollRequest::kLineMore;
        case SB_PAGELEFT: return pages::ScrollRequest::kPageLess;
        case SB_PAGERIGHT: return pages::ScrollRequest::kPageMore;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: return pages::ScrollRequest::kThumb;
        case SB_LEFT: return pages::ScrollRequest::kToStart;
        case SB_RIGHT: return pages::ScrollRequest::kToEnd;
        default: return pages::ScrollRequest::kOther;
    }
}
