// How a failure that a handler lets out reaches the user: one message for whatever
// exception it was, in a stop-icon box.
#pragma once

#include <string>

// The message for the exception being handled; call it only inside a catch block.
std::string CurrentExceptionMessage();

// Shows CurrentExceptionMessage in a stop-icon box. No exception may cross the
// platform's callbacks or leave the program unreported: the dialog procedure and the
// entry point catch everything and call this.
void ReportCurrentException();
