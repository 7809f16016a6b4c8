#include "page_progress.h"

#include "resource_ids.h"

WORD PageProgress::dialogTemplate() { return IDD_PAGE_PROGRESS; }
