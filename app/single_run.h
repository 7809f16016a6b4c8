#pragma once
// One setup program or uninstaller at a time on the whole machine: two at
// once would each take the other's files for their own, and both write the
// one registration.

// Takes the machine-wide mutex of Kestrel 3's installations for the rest of
// the process; false when another run holds it. A run that ended without
// letting go of it (killed) holds it no more.
bool becomeTheOnlyRun();
