#include "administrator_rights.h"

#include <windows.h>

bool runsAsAdministrator() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                0, 0, &administrators))
    return true;
  // No token given: the thread's own, or the process's when it impersonates no one.
  BOOL member = TRUE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) member = TRUE;
  FreeSid(administrators);
  return member != FALSE;
}
