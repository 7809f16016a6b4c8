#include "page_type.h"

#include "resource_ids.h"

WORD PageType::dialogTemplate() { return IDD_PAGE_TYPE; }
