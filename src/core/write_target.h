#pragma once

#include <QString>

namespace fb {

// Whether a save or an export may write or replace the file at path, as a system error
// number: 0 when it may, EACCES when what is there (after following symbolic links) is not a
// regular file, such as a directory, a device or a pipe, which replacing would destroy, or is
// a regular file without its owner's write permission, which stays as it is even for a user
// whom the system would let write it anyway. A path where nothing exists yet is 0: creating
// the file reports its own errors.
int writeTargetRefusal(const QString &path);

// Whether the two paths name the same file: the same device and inode, whatever the paths
// say, or, where neither exists yet, the same place once "..", "." and links to folders are
// resolved.
bool isSameFile(const QString &a, const QString &b);

} // namespace fb
