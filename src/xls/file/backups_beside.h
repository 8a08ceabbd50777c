#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "xls/file/save_lock.h"

namespace xls::file {

// Goes through the files named like backups of `target`, with the workbook held by `lock`:
// one that a user who may write the workbook made, that is whole, that belongs to this
// file and whose save tore it as it is now, puts the old contents back; the other backups
// of this program are retired (deleted, or marked used where the folder keeps them), so
// no later state of the workbook can make them count. Anything else beside the workbook
// (planted, linked, of another program) is neither read through nor written anywhere.
// Returns the workbook's contents afterwards.
//
// For a save (`saving`), a backup that may count but can be neither read nor retired by
// this user stops it with SaveBlocked; for an open it is left alone.
std::vector<std::uint8_t> RecoverUnderLock(const std::filesystem::path& target,
                                           const SaveLock& lock, bool saving);

// Deletes a backup of this program, or where the folder does not allow that, marks it
// used. False if neither can be done.
bool RetireBackup(const std::filesystem::path& backup);

}  // namespace xls::file
