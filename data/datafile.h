#pragma once
// The data file (.dta): plain single-byte text, one X,Y pair per line.
//
// Reading: the whole file is read first, then parsed, so a file that cannot be
// read changes nothing. A line ends at CR LF, a lone CR or a lone LF; byte 26
// (Ctrl-Z) ends the file. Each line is trimmed of bytes <= 32; a line that then
// begins with ";" is a comment; every other line, an empty one included, is a
// data line and gives one row. A data line is cut at its first blank, or at its
// first comma when it has no blank; both parts are trimmed and read with
// TextToFloat. Each row holds the two values as FormatCell texts.
//
// Two comment lines carry what other readers may skip: "; columns: x y sigma"
// declares a third column, so that each data line after it is cut X | Y |
// sigma (Y cut from sigma as X from Y; sigma kept as its trimmed text), and
// "; excluded: 3 7" marks those data lines (numbered from 1; numbers without
// a line are ignored) as left out of every fit.
//
// Writing: for every grid row, the X text, one blank, the Y text and CR LF,
// with the cell texts exactly as they stand. When any sigma cell holds text,
// the declaration comes first and each row is "X Y sigma" (an empty sigma
// leaves a trailing blank; an empty Y before a sigma is written "X ,sigma");
// the excluded line, when any row is excluded, follows it before the data.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/cellgrid.h"
#include "data/filename.h"
#include "data/fpfault.h"

namespace quilvex {

inline constexpr const char* kWrongExtensionText = "File extension must be .dta";

// The largest data file that is read: far beyond any table the program can
// plot (300 points), and a bound on the memory a mistaken choice can take.
inline constexpr std::size_t kMaxDataFileBytes = std::size_t{256} << 20;
inline constexpr std::size_t kMaxDataFileLines = 10'000'000;
inline constexpr const char* kFileTooLargeText = "File too large for a data file (over 256 MiB or 10 million lines)";
inline constexpr const char* kDeviceFileText = "File is a device, not a data file";
inline constexpr const char* kDirectoryText = "File is a directory, not a data file";
inline constexpr const char* kEmptyPipeText = "No data came from the pipe";

// The text after a data line's separator is read up to this many characters.
inline constexpr std::size_t kMaxRestLength = 255;

// One row of the table: its X and Y texts, the uncertainty of Y (sigma) as
// typed (empty where none is given) and whether the user left the point out of
// every fit.
struct DataRow {
    std::string x;
    std::string y;
    std::string sigma;
    bool excluded = false;
    bool operator==(const DataRow&) const = default;
};

// One past the last row that holds text in any field (0 for none).
std::size_t RowsHoldingText(const std::vector<DataRow>& rows);

enum class ReadOutcome { Loaded, Cancelled };

// Receives the text of an invalid-data warning; returns true to go on reading,
// false to stop (the user pressed Cancel).
using DataWarning = std::function<bool(const std::string& warning)>;

// The text of an I/O error by code: 2 "File not found", 3 "Invalid filename",
// 4 "Too many open files", 5 "File access denied", 100 "Read beyond end of
// file", 101 "Disk full", 106 "Invalid numeric input", else "I/O error <code>".
std::string IoErrorText(int code);
// The text for a failed system call: the text of the matching code (ENOENT ->
// 2, ENOTDIR -> 3, EMFILE -> 4, EACCES -> 5, ENOSPC -> 101, ...), else
// "I/O error <errnum>".
std::string ErrnoErrorText(int errnum);

// Removes every byte <= 32 from both ends.
std::string TrimControls(std::string_view text);
std::string_view TrimView(std::string_view text);
// A trimmed line that begins with ";".
bool IsComment(std::string_view trimmedLine);

// Cuts line at the first character of separators that occurs in it (the
// characters are tried in the order given, each searched in the whole line):
// returns the text before its first occurrence and leaves in line the text
// after it, cut to at most kMaxRestLength characters. Without any separator
// the whole line is returned and line becomes empty.
std::string SplitField(std::string& line, std::string_view separators);

// True when a file of that name can be opened for reading and writing; the
// file is closed at once. Never creates the file.
bool DataFileExists(const std::string& name);

// All bytes of the file. Throws QuilvexError with IoErrorText on failure, with
// kDirectoryText for a directory, kDeviceFileText for a character or block
// device, kEmptyPipeText for a named pipe that ends before a byte came, and
// kFileTooLargeText when the file (or the stream of a pipe) holds more than
// kMaxDataFileBytes.
std::string ReadFileBytes(const std::string& name);

// Parses the bytes of a data file named name (the name only goes into the
// warnings: "Invalid data in file <name>, line <k>: "<X>", "<Y>"", k counting
// data lines from 1). More than kMaxDataFileLines lines throw QuilvexError with
// kFileTooLargeText before anything is parsed. After Loaded, rows holds one row per data line; after
// Cancelled, rows is empty. A number beyond the extended range throws
// QuilvexError("Floating point overflow") and leaves rows as it was.
// constraints, when given, receives the texts of the file's constraint lines.
ReadOutcome ParseDataFile(std::string_view bytes, const std::string& name, std::vector<DataRow>& rows,
                          const DataWarning& warn, std::vector<std::string>* constraints = nullptr);

// The values of ParseDataFile's rows, in its order, as TextToFloat reads the
// texts: in full extended precision, before they become FormatCell texts of
// 8 digits. Throws as ParseDataFile does for a number beyond the range.
struct DataValues {
    Real x = 0, y = 0;
};
std::vector<DataValues> ReadDataValues(std::string_view bytes);

// The numbers (from 1, counting every line of the file) of the data lines whose
// text after the separator ParseDataFile cut to kMaxRestLength characters.
std::vector<std::size_t> LinesWithCutField(std::string_view bytes);

// ReadFileBytes, then ParseDataFile. Any error leaves rows as it was.
ReadOutcome ReadDataFile(const std::string& name, std::vector<DataRow>& rows, const DataWarning& warn,
                         std::vector<std::string>* constraints = nullptr);

// Puts rows into the grid in place of all it held (texts, sigma and marks):
// row k into grid row k; no rows leave one empty grid row.
void FillGridWithRows(const std::vector<DataRow>& rows, CellGrid& grid);

// The name to save under, by the extension rule: ".dta" is appended to a name
// without an extension; any extension other than ".dta" is refused.
inline const ExtensionRule kDataFileRule{{".dta"}, 0, OtherExtension::Refuse};
enum class NameCheck { Ok, WrongExtension };
NameCheck ApplyDataFileExtension(std::string& name);

// "File <name> already exists. Overwrite?"
std::string OverwriteQuestionText(const std::string& name);

// True when any sigma cell of the grid holds text.
bool GridHasSigma(const CellGrid& grid);

// The bytes of the data file for the grid, with a comment line for each
// constraint text after the declarations.
std::string FormatDataFile(const CellGrid& grid, const std::vector<std::string>& constraints = {});

}  // namespace quilvex
