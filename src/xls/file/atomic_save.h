#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <system_error>
#include <vector>

#include "xls/file/save_backup.h"

namespace xls::file {

// Replaces the file at `path` (a symbolic link is followed) with `bytes` so that a crash or
// power loss at any moment leaves either the old or the new contents, never a mixture:
// the bytes go to a temporary file in the same folder, are flushed to disk, and the
// temporary is renamed over the original. The new file keeps the old one's owner, group,
// extended attributes (ACLs) and permission bits (on Windows its attributes and access
// list).
//
// Where it cannot keep them (another user's file, a group this user is not in) or where
// the file has several names (hard links), the contents are written into the file itself,
// with a synced backup beside it (".<file name>.backup-<random>") that records both
// contents and which file and save it belongs to, until the new ones are on disk. Every
// save holds a byte-range lock on the file meanwhile; the next open or save takes the same
// lock, and puts the old contents back only from a backup that a user who may write the
// file made, that is whole, and whose save provably tore the file as it is now. A save
// retires every other backup of the file before it writes, so none it superseded is ever
// used; one it may neither read nor retire stops it (SaveBlocked).
//
// A file without write permission is not replaced, even by a user the system would let
// do it: a read-only template was made so on purpose. Temporaries get names nobody can
// guess, are created only where nothing is, and those left by a save that died are removed
// by the next one. On any other failure the original is untouched and the temporary
// removed; the error is a std::system_error whose code compares equal to the std::errc
// conditions (permission_denied, read_only_file_system, no_space_on_device ...).
//
// `while_held`, when given, runs once the new contents are on disk under the name, still
// holding the lock against every other save of the file: work that must follow the save
// and be done by one saver at a time (recording what was saved) goes there. It must not
// throw; the save has succeeded by then.
void SaveFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                        const std::function<void()>& while_held = {});

// Puts back the old contents where a save in place died half-way (see above), waiting a
// moment for a save that is running. Nothing happens when there is nothing to recover, and
// errors are ignored.
void RecoverInterruptedSave(const std::filesystem::path& path);

// The temporary-file name prefix used for `path`; exposed for tests and clean-up tools.
std::filesystem::path::string_type SavingPrefix(const std::filesystem::path& path);

// Moments of a save in place that tests stop or kill a saver at.
enum class SaveStep {
  kBackupWritten,    // the backup is on disk, the workbook not yet touched
  kContentsWritten,  // the new contents are written, the file not yet cut to their size
};
using SaveStepObserver = void (*)(SaveStep);
void ObserveSaveSteps(SaveStepObserver observer);

}  // namespace xls::file
