#pragma once
// Writing a whole file so that an old file of that name stays intact unless
// every byte of the new one was written.
#include <QByteArray>
#include <string>

namespace quilvex {

// Through a temporary file in the same folder that takes the old file's place
// only at the end; where no new file may be made in the folder, a writable
// file is written over in place. Throws QuilvexError with the I/O error's text
// on failure.
void WriteWholeFile(const std::string& name, const QByteArray& bytes);

}  // namespace quilvex
