#include "data/datafile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "data/datafilemarks.h"
#include "data/fpfault.h"
#include "data/numtext.h"

namespace quilvex {

namespace {

constexpr std::size_t kReadChunk = std::size_t{1} << 16;
constexpr char kEndOfFile = 26;  // Ctrl-Z
constexpr std::string_view kFieldSeparators = " ,";
constexpr int kGridColumns = 3;  // X, Y, sigma

bool IsControlOrBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string_view TrimView(std::string_view text)
{
    while (!text.empty() && IsControlOrBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsControlOrBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsComment(std::string_view trimmedLine) { return !trimmedLine.empty() && trimmedLine.front() == ';'; }

namespace {

std::string_view SplitFieldView(std::string_view& line, std::string_view separators)
{
    for (char separator : separators) {
        const std::size_t at = line.find(separator);
        if (at != std::string_view::npos) {
            const std::string_view field = line.substr(0, at);
            line = line.substr(at + 1, kMaxRestLength);
            return field;
        }
    }
    const std::string_view field = line;
    line = {};
    return field;
}

// The texts of a data line, trimmed: X and Y, and sigma when the file declared
// that column. Y is cut from sigma as X is cut from Y.
struct LineFields {
    std::string_view x, y, sigma;
};

std::optional<LineFields> DataFields(std::string_view line, bool sigmaDeclared)
{
    std::string_view rest = TrimView(line);
    if (IsComment(rest))
        return std::nullopt;
    LineFields fields;
    fields.x = TrimView(SplitFieldView(rest, kFieldSeparators));
    rest = TrimView(rest);
    if (!sigmaDeclared) {
        fields.y = rest;
        return fields;
    }
    fields.y = TrimView(SplitFieldView(rest, kFieldSeparators));
    fields.sigma = TrimView(rest);
    return fields;
}

// Hands out the lines of a file's bytes one by one, without copying them.
class LineCursor {
public:
    explicit LineCursor(std::string_view bytes) : rest_(bytes.substr(0, bytes.find(kEndOfFile))) {}

    bool Next(std::string_view& line)
    {
        if (rest_.empty())
            return false;
        const std::size_t end = rest_.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            line = rest_;
            rest_ = {};
            return true;
        }
        line = rest_.substr(0, end);
        const bool crLf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
        rest_.remove_prefix(end + (crLf ? 2 : 1));
        return true;
    }

private:
    std::string_view rest_;
};

std::size_t CountLines(std::string_view bytes)
{
    LineCursor cursor(bytes);
    std::string_view line;
    std::size_t count = 0;
    while (cursor.Next(line))
        ++count;
    return count;
}

std::string InvalidDataText(const std::string& name, std::size_t dataLine, std::string_view x, std::string_view y)
{
    std::string text = "Invalid data in file " + name + ", line " + FormatGeneral(static_cast<Real>(dataLine), 8);
    text += ": \"";
    text += x;
    text += "\", \"";
    text += y;
    text += '"';
    return text;
}

// The code of the error that stands for errnum, 0 for none. Unmatched errno
// values are never passed through as codes: EIO (5) is no "File access denied".
int IoErrorCode(int errnum)
{
    switch (errnum) {
    case ENOENT:
        return 2;
    case ENAMETOOLONG:
    case EINVAL:
    case ENOTDIR:
    case ELOOP:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
        return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return 101;
    default:
        return 0;
    }
}

[[noreturn]] void RaiseIoError(int errnum) { throw QuilvexError(ErrnoErrorText(errnum)); }

// Closes a file descriptor when the reading ends, however it ends.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Opens without waiting for a writer (a pipe chosen by mistake must not hang the
// program), then reads in the ordinary blocking way.
int OpenWithoutWaiting(const std::string& name, int mode)
{
    if (name.find('\0') != std::string::npos) {
        errno = EINVAL;
        return -1;
    }
    const int fd = ::open(name.c_str(), mode | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags != -1)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    return fd;
}

struct FileFacts {
    std::size_t size = 0;  // as a regular file tells it, else 0
    bool pipe = false;
};

// Refuses what cannot be a data file before a byte is read.
FileFacts CheckedFile(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {};
    if (S_ISDIR(info.st_mode))
        throw QuilvexError(kDirectoryText);
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        throw QuilvexError(kDeviceFileText);
    if (S_ISFIFO(info.st_mode))
        return {0, true};
    if (!S_ISREG(info.st_mode))
        return {};
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > kMaxDataFileBytes)
        throw QuilvexError(kFileTooLargeText);
    return {static_cast<std::size_t>(size), false};
}

// Pipes, growing files and files that tell no size (as in /proc) are held to
// the bound while they are read: a stream that never ends is cut there. The
// text grows by doubling, never past the bound.
void AppendWithinBound(std::string& bytes, const char* chunk, std::size_t count)
{
    const std::size_t size = bytes.size() + count;
    if (size > kMaxDataFileBytes)
        throw QuilvexError(kFileTooLargeText);
    if (size > bytes.capacity())
        bytes.reserve(std::min(kMaxDataFileBytes, std::max(size, 2 * bytes.capacity())));
    bytes.append(chunk, count);
}

}  // namespace

std::string IoErrorText(int code)
{
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

std::string ErrnoErrorText(int errnum)
{
    const int code = IoErrorCode(errnum);
    return code != 0 ? IoErrorText(code) : "I/O error " + std::to_string(errnum);
}

std::string TrimControls(std::string_view text) { return std::string(TrimView(text)); }

std::string SplitField(std::string& line, std::string_view separators)
{
    std::string_view rest = line;
    std::string field(SplitFieldView(rest, separators));
    line = std::string(rest);
    return field;
}

bool DataFileExists(const std::string& name)
{
    FileHandle file(OpenWithoutWaiting(name, O_RDWR));
    return file.fd() >= 0;
}

std::string ReadFileBytes(const std::string& name)
{
    FileHandle file(OpenWithoutWaiting(name, O_RDONLY));
    if (file.fd() < 0)
        RaiseIoError(errno);
    const FileFacts facts = CheckedFile(file.fd());
    std::string bytes;
    bytes.reserve(facts.size);
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t got = ::read(file.fd(), chunk, sizeof chunk);
        if (got == 0 && bytes.empty() && facts.pipe)  // opened while nothing wrote to it
            throw QuilvexError(kEmptyPipeText);
        if (got == 0)
            return bytes;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            RaiseIoError(errno);
        }
        AppendWithinBound(bytes, chunk, static_cast<std::size_t>(got));
    }
}

ReadOutcome ParseDataFile(std::string_view bytes, const std::string& name, std::vector<DataRow>& rows,
                          const DataWarning& warn, std::vector<std::string>* constraints)
{
    const std::size_t lineCount = CountLines(bytes);
    if (lineCount > kMaxDataFileLines)
        throw QuilvexError(kFileTooLargeText);
    std::vector<DataRow> read;
    read.reserve(lineCount);
    LineCursor cursor(bytes);
    std::string_view line;
    FileDeclarations declared;
    while (cursor.Next(line)) {
        const auto fields = DataFields(line, declared.sigma);
        if (!fields) {
            declared.Take(line);
            continue;
        }
        const FloatText x = TextToFloat(fields->x);
        const FloatText y = TextToFloat(fields->y);
        // A rejected text still gives its row, with the value read up to the fault.
        if ((!x.ok() || !y.ok()) && warn && !warn(InvalidDataText(name, read.size() + 1, fields->x, fields->y))) {
            rows.clear();
            return ReadOutcome::Cancelled;
        }
        // A control character inside sigma becomes a blank, as in every cell.
        read.push_back({FormatCell(x.value), FormatCell(y.value), CleanCellText(std::string(fields->sigma))});
    }
    MarkExcludedLines(declared.excluded, read);
    if (constraints)
        *constraints = std::move(declared.constraints);
    if (read.capacity() > 2 * read.size())  // mostly comments
        read.shrink_to_fit();
    rows = std::move(read);
    return ReadOutcome::Loaded;
}

std::vector<DataValues> ReadDataValues(std::string_view bytes)
{
    std::vector<DataValues> values;
    LineCursor cursor(bytes);
    std::string_view line;
    FileDeclarations declared;
    while (cursor.Next(line)) {
        if (const auto fields = DataFields(line, declared.sigma))
            values.push_back({TextToFloat(fields->x).value, TextToFloat(fields->y).value});
        else
            declared.Take(line);
    }
    return values;
}

std::vector<std::size_t> LinesWithCutField(std::string_view bytes)
{
    std::vector<std::size_t> numbers;
    LineCursor cursor(bytes);
    std::string_view line;
    for (std::size_t number = 1; cursor.Next(line); ++number) {
        const std::string_view whole = TrimView(line);
        std::string_view rest = whole;
        SplitFieldView(rest, kFieldSeparators);
        const bool cut = !rest.empty() && rest.data() + rest.size() != whole.data() + whole.size();  // ends early
        if (cut && !IsComment(whole))
            numbers.push_back(number);
    }
    return numbers;
}

ReadOutcome ReadDataFile(const std::string& name, std::vector<DataRow>& rows, const DataWarning& warn,
                         std::vector<std::string>* constraints)
{
    const std::string bytes = ReadFileBytes(name);
    return ParseDataFile(bytes, name, rows, warn, constraints);
}

void FillGridWithRows(const std::vector<DataRow>& rows, CellGrid& grid)
{
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int col = 0; col < kGridColumns; ++col)
            grid.SetCell(col, row, {});
        grid.SetExcluded(row, false);
    }
    grid.SetRowCount(static_cast<int>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const int row = static_cast<int>(k);
        grid.SetCell(0, row, rows[k].x);
        grid.SetCell(1, row, rows[k].y);
        grid.SetCell(2, row, rows[k].sigma);
        grid.SetExcluded(row, rows[k].excluded);
    }
}

NameCheck ApplyDataFileExtension(std::string& name)
{
    return ApplyExtensionRule(name, kDataFileRule).refused ? NameCheck::WrongExtension : NameCheck::Ok;
}

std::string OverwriteQuestionText(const std::string& name) { return "File " + name + " already exists. Overwrite?"; }

std::string FormatDataFile(const CellGrid& grid, const std::vector<std::string>& constraints)
{
    const bool sigma = GridHasSigma(grid);
    std::string bytes = DeclarationLines(grid) + ConstraintLines(constraints);
    const int rowCount = grid.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        const std::string x = CleanCellText(grid.Cell(0, row));
        const std::string y = CleanCellText(grid.Cell(1, row));
        bytes += sigma ? SigmaRowText(x, y, CleanCellText(grid.Cell(2, row))) : x + ' ' + y;
        bytes += "\r\n";
    }
    return bytes;
}

std::size_t RowsHoldingText(const std::vector<DataRow>& rows)
{
    std::size_t count = rows.size();
    while (count > 0 && rows[count - 1].x.empty() && rows[count - 1].y.empty() && rows[count - 1].sigma.empty())
        --count;
    return count;
}

}  // namespace quilvex
