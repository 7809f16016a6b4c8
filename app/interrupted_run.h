#pragma once
// What the setup program does first: an earlier run that was ended from
// outside (Task Manager, a logoff, a power cut) before it had succeeded or
// been taken back left its journal, and is taken back (or finished, when it
// had committed, or was an uninstallation) before anything else happens.

// 0 when the wizard may go on: there was no such run, or it is settled. Else,
// after a message that says why, the exit code to end with.
int settleInterruptedRun();
