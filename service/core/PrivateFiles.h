// Files only the service's own user may read: the store and the reference file.
#ifndef KELWELLD_CORE_PRIVATEFILES_H
#define KELWELLD_CORE_PRIVATEFILES_H

#include <string>

namespace kelwelld {

// Creates path empty with mode 0600 when nothing is there yet (not even a
// link), so that what opens it next (SQLite, which gives its journal and
// WAL the mode of the store) keeps it private. An existing file is left as
// it is; other failures are left for that next open to report.
void createPrivateFileIfAbsent(const std::string& path);

// Puts text at path, mode 0600: written to a new file beside it, then
// renamed over it, so a link at path is replaced rather than followed and
// a reader never sees half a file. std::runtime_error saying what failed.
void replacePrivateFile(const std::string& path, const std::string& text);

} // namespace kelwelld

#endif
