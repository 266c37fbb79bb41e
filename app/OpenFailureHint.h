#pragma once
// What a front end can add to the system's "cannot open" message once the
// transport has said why the open failed.

#include <string>

#include "Transport.h"

namespace pavok {

// Where the Debian package installs the rule that lets the logged-in user
// open the adapter.
inline constexpr std::string_view kUdevRulePath = "/usr/lib/udev/rules.d/60-pavok.rules";

// One line naming the likely cause, or empty when there is nothing to add.
std::string OpenFailureHint(const OpenResult& open);

}  // namespace pavok
