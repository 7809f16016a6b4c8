#include "page_finished.h"

#include "resource_ids.h"

WORD PageFinished::dialogTemplate() { return IDD_PAGE_FINISHED; }
