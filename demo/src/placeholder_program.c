/* Stand-in for the installed programs (the Kestrel client and its uninstaller).
 * It only says what it is, and echoes its command line so that a shortcut's
 * arguments can be seen when it is started from the Start menu. */
#include <windows.h>
#include <stdio.h>

#include "placeholder_ids.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    char caption[128];
    char text[256];
    char message[1024];

    (void)previous;
    (void)showCommand;
    if (LoadStringA(instance, IDS_PLACEHOLDER_CAPTION, caption, sizeof caption) == 0)
        caption[0] = '\0';
    if (LoadStringA(instance, IDS_PLACEHOLDER_MESSAGE, text, sizeof text) == 0)
        text[0] = '\0';
    if (commandLine != NULL && commandLine[0] != '\0')
        snprintf(message, sizeof message, "%s\n\nCommand line: %s", text, commandLine);
    else
        snprintf(message, sizeof message, "%s", text);
    MessageBoxA(NULL, message, caption, MB_OK | MB_ICONINFORMATION);
    return 0;
}
