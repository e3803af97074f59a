#pragma once

#include <string>

namespace korimet {

// Moves a file to the desktop's trash, from where the user can bring it back. Only a regular
// file goes: a pipe or a device under a run's name, or a link to one, stays. A name that is not
// UTF-8 first takes a text name beside it, its other bytes written as %XX, since the trash keeps
// names as text; the file comes back from the trash under that name.
bool moveToTrash(const std::string& path);

// The name a file whose name is not UTF-8 takes on its way to the trash.
std::string trashableName(const std::string& name);

}  // namespace korimet
