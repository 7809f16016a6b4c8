#pragma once
// What the driver knows of the setup program's windows besides control ids.

// The wizard frame's caption.
const char kFrameCaption[] = "Kestrel 3 Installer";
// The class of every dialog: the frame, its pages and message boxes.
const char kDialogClass[] = "#32770";
// The message, registered by this name, that asks the layout probe to write
// the wizard's layout when it is sent to the frame.
const char kLayoutProbeMessage[] = "KestrelWizardLayoutProbe";
