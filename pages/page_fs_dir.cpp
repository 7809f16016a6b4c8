#include "page_fs_dir.h"

#include "resource_ids.h"

WORD PageFSDir::dialogTemplate() { return IDD_PAGE_SIMULATOR_VERSION; }
