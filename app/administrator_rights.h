#pragma once
// Whether this program may change the machine at all. The manifests ask Windows
// to elevate both programs (requestedExecutionLevel, MSDN), but XP has no UAC
// and passes over that request, and so does Vista..11 with UAC turned off: a
// limited account then runs them with its own rights, and would walk the whole
// wizard only to meet "Access is denied" once the installation starts.

// Whether the token this program runs with counts the Administrators group as
// Windows counts it when it grants access. On XP that is membership. On Vista
// and later it is also the token's elevation: the token that UAC gives an
// administrator's unelevated programs holds the group for denying access only,
// and such a group does not count (CheckTokenMembership, MSDN). When Windows
// cannot say, the program goes on, and whatever it is refused later is reported
// there.
bool runsAsAdministrator();
