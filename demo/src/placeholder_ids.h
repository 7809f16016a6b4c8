/* Resource ids shared by the placeholder programs' source and resource script. */
#ifndef KESTREL_DEMO_PLACEHOLDER_IDS_H
#define KESTREL_DEMO_PLACEHOLDER_IDS_H

#define IDI_PLACEHOLDER 1
#define IDS_PLACEHOLDER_CAPTION 1
#define IDS_PLACEHOLDER_MESSAGE 2

#endif
