// Writing a file whole or not at all: the content goes to a temporary file in the target's
// folder, which is renamed over the target only once everything is written. A failure leaves the
// old file as it was and nothing else behind. Saving an edition and the analysis tool's outputs
// write through this.
#pragma once

#include <functional>
#include <string>

// Calls write(temporaryPath) and renames that file over `target` when it returned true; the
// new file gets the permissions an ordinary new file would. False when anything failed.
bool replaceFileWith(const std::string& target, const std::function<bool(const char*)>& write);
