#include "page_ks_dir.h"

#include "resource_ids.h"

WORD PageKSDir::dialogTemplate() { return IDD_PAGE_KESTREL_DIR; }
