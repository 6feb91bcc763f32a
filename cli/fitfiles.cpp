#include "cli/fitfiles.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <iostream>
#include <memory>
#include <string_view>
#include <thread>

#include "data/datafile.h"

namespace quilvex {

namespace {

constexpr const char* kStdinName = "(standard input)";

// All of standard input, within the bound of a data file.
std::string ReadStandardInput()
{
    std::string bytes;
    char chunk[1 << 16];
    while (std::cin.read(chunk, sizeof chunk) || std::cin.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(std::cin.gcount()));
        if (bytes.size() > kMaxDataFileBytes)
            throw QuilvexError(kFileTooLargeText);
    }
    return bytes;
}

// The table is read as File > Open reads it, fields cut included; the command
// names every line whose field it cut, as the windows cannot, then what the
// grid's digits and the ascending adjustment changed.
void AddTableNotes(std::string_view bytes, const std::vector<std::string>& tableNotes,
                   std::vector<MethodFigures>& methods)
{
    std::vector<std::string> notes;
    for (const std::size_t line : LinesWithCutField(bytes))
        notes.push_back("line " + std::to_string(line) + " of the file: the Y field is longer than " +
                        std::to_string(kMaxRestLength) + " characters and was read from its first " +
                        std::to_string(kMaxRestLength) + ", as File > Open reads it");
    notes.insert(notes.end(), tableNotes.begin(), tableNotes.end());
    for (MethodFigures& m : methods)
        m.notes.insert(m.notes.begin(), notes.begin(), notes.end());
}

void Fit(const std::string& bytes, const FitJob& job, FileFit& fit)
{
    const auto s = std::make_unique<QuilvexState>();
    const TableLoad load = LoadPointTable(bytes, fit.name, *s, job.form, job.excluded);
    if (!load.error.empty()) {
        fit.error = load.error;
        return;
    }
    StatsRequest request = job.request;
    if (request.constraints.Empty())
        request.constraints = ReadConstraintLines(load.constraints);
    StatsTable table = StatsTableOf(*s);
    FitReport report{fit.name, s->n, ComputeStatistics(table, request, load.warnings),
                     std::move(table.x), std::move(table.y)};
    report.weighting = job.request.weighting;
    report.sigma = std::move(table.sigma);
    report.rows = std::move(table.rows);
    report.excludedRows = std::move(table.excludedRows);
    AddTableNotes(bytes, load.notes, report.methods);
    fit.report = std::move(report);
}

}  // namespace

FileFit FitFile(const std::string& file, const FitJob& job)
{
    const bool fromStdin = file == "-";
    FileFit fit{fromStdin ? kStdinName : file, {}, {}};
    try {
        std::string bytes;
        try {
            bytes = fromStdin ? ReadStandardInput() : ReadFileBytes(fit.name);
        } catch (const QuilvexError& e) {
            fit.error = fit.name + ": " + e.what();
            return fit;
        }
        Fit(bytes, job, fit);
    } catch (const std::exception& e) {  // whatever fails, this file says so and the others go on
        fit.error = e.what();
    }
    return fit;
}

void FitInOrder(const std::vector<std::string>& files, const FitJob& job,
                const std::function<void(const FileFit&)>& take)
{
    const std::size_t cores = std::max(1U, std::thread::hardware_concurrency());
    const std::size_t workers = std::min(cores, files.size());
    if (workers <= 1) {
        for (const std::string& file : files)
            take(FitFile(file, job));
        return;
    }
    // Each file's state is its own: the fits share nothing that one of them writes.
    std::vector<std::promise<FileFit>> done(files.size());
    std::vector<std::future<FileFit>> results;
    for (std::promise<FileFit>& p : done)
        results.push_back(p.get_future());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++)
            done[i].set_value(FitFile(files[i], job));
    };
    std::vector<std::future<void>> helpers;
    for (std::size_t k = 0; k < workers; ++k)
        helpers.push_back(std::async(std::launch::async, work));
    for (std::future<FileFit>& result : results)
        take(result.get());
}

}  // namespace quilvex
