#pragma once
// What Windows says of an error, for the messages that tell the user what
// failed and why.
#include <string>

// The system's text for the Windows error or HRESULT `error`, in the user's
// language, on one line; "Windows error N" when the system has none.
std::string systemMessage(unsigned long error);
