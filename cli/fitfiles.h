#pragma once
// The files of `quilvex fit`, each read and fitted on its own state, several
// at once on the machine's cores, their results handed on in the order given.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/fitoutput.h"
#include "stats/statistics.h"
#include "stats/table.h"

namespace quilvex {

struct FitJob {
    StatsRequest request;  // its weighting is --weights
    TableForm form = TableForm::Grid;
    std::vector<int> excluded;  // --exclude: data lines (from 1) left out besides the file's own
};

// One file's outcome: its report, or why it has none.
struct FileFit {
    std::string name;  // as the output names it ("(standard input)" for "-")
    std::optional<FitReport> report;
    std::string error;  // the designed text of the failure, where the file is not always named
};

// Reads and fits one file ("-": standard input).
FileFit FitFile(const std::string& file, const FitJob& job);

// Fits every file, as many at once as the machine has cores, and hands each
// outcome to `take` on the calling thread in the order of `files`, as soon as
// it and all before it are done.
void FitInOrder(const std::vector<std::string>& files, const FitJob& job,
                const std::function<void(const FileFit&)>& take);

}  // namespace quilvex
