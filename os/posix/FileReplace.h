// Replacing the whole content of a file so that a crash, a full disk or any
// other failure part-way leaves the old content or the new one, never a
// truncated file.
#pragma once

#include <string>

namespace Os {

// Writes the content to a new file in the target's folder, flushes it to the
// disk and renames it over the target. A symbolic link is followed to the
// file it names, which is replaced; the link stays. An existing file keeps
// its permission bits, and its owner and group where the writer may keep
// them. False when anything fails; the old file is then as it was.
bool ReplaceFileContent(const std::string& path, const std::string& content);

}
