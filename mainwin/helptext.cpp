#include "mainwin/helptext.h"

#include "fit/method.h"

namespace quilvex {

std::string AboutText(const std::string& qtVersion)
{
    return std::string("Quilvex ") + QUILVEX_VERSION +
           "\n\nFits curves to measured data: a cubic spline, Lagrange and regression polynomials, "
           "exponential, logarithmic and power fits.\n\n"
           "Copyright (c) 2026 Quilvex Team.\nReleased under the MIT licence.\n\nQt " +
           qtVersion;
}

namespace {

// Per method, in the order of the method table: its colour and what it does.
constexpr const char* kMethodHelp[kMethodCount][2] = {
    {"black", "a smooth curve through every point; no extrapolation."},
    {"yellow", "the one polynomial through all points."},
    {"green", "a polynomial of the order \"Lagr. Order\" through\nthe nearest points; it may jump where the chosen points change."},
    {"red", "the least-squares polynomial of the order \"Regr. Order\";\n1 is a straight line."},
    {"purple", "the least-squares fit of y = a e<sup>bx</sup>."},
    {"grey", "the least-squares fit of y = a + b ln x."},
    {"blue", "the least-squares fit of y = a x<sup>b</sup>."},
};

// A box's caption up to its formula: "Power:  y=ax^b" is "Power".
std::string CaptionWithoutFormula(const MethodRow& row)
{
    const std::string caption = row.caption;
    return caption.substr(0, caption.find(':'));
}

std::string MethodList()
{
    std::string list;
    for (const MethodRow& row : kMethods) {
        const auto& [color, text] = kMethodHelp[static_cast<int>(row.method)];
        list += "<li><b>" + CaptionWithoutFormula(row) + "</b> (" + color + "): " + text + "</li>\n";
    }
    return list;
}

}  // namespace

std::string HelpPageHtml()
{
    return R"(<h2>Quilvex</h2>
<p>Type X,Y pairs into the grid of the main window (F2 edits a cell, "Add Row" adds a row) or open a
data file with File &gt; Open (Ctrl+O), from the command line (<tt>quilvex FILE</tt>) or by dropping
it on any of its windows. Tick the methods to draw; "Graphing Enabled?" switches drawing on
and off. File &gt; Save as (Ctrl+S) writes the grid to a data file.</p>

<h3>Data files</h3>
<p>A data file (extension <tt>.dta</tt>) is plain text with one X,Y pair per line, separated by a
blank, or by a comma when the line holds no blank. Lines that begin with <tt>;</tt> are comments.
At most 300 points are fitted: a longer table is cut to its first 300 rows. Saving writes the points
only; comment lines are not kept. Numbers use a decimal point: <tt>-1.5</tt>, <tt>2e3</tt>. Example:</p>
<pre>; straight line y = 2x + 1
0 1
1 3
2 5</pre>

<h3>The seven methods</h3>
<ul>
)" + MethodList() + R"(</ul>
<p>"Plot Points" sets how many points each curve is drawn with, "% Cover" how much of the graph
the data fill. The Status menu lists each method with its coefficients; Extrapolate (or the status
window's "Enter X value" and Enter) evaluates every ticked curve at an X value and marks it.</p>

<h3>The mouse</h3>
<p>Press the left button on a data point in the graph window to select it (it turns red) and drag
it to a new place; the point keeps its place in the X order, the grid takes its new values and
every curve follows. "Control" brings the main window to the front.</p>

<h3>Keys</h3>
<p>Ctrl+O Open, Ctrl+S Save as, Ctrl+Q Exit, F1 this page. Ctrl+Z and Ctrl+Shift+Z undo and redo a
change of the table. Ctrl+D opens "Fit details": every method's uncertainties, residuals and bands
side by side; in it, the Menu key sorts the table, Escape closes it and Ctrl+D goes back here.</p>
<p>In the grid, Enter and the arrow keys move between cells; Tab leaves the grid for "Add Row" and
Shift+Tab for the method boxes. Ctrl+V pastes a block copied from a spreadsheet (quoted fields as
spreadsheets write them), Ctrl+C copies the selected cells, Escape takes back typing in a cell.
Ctrl+E (or the grid's right-click menu) leaves the selected rows out of every fit, or takes them
back; Edit &gt; Uncertainties column shows the column of the uncertainties of Y (&sigma;Y).</p>
)";
}

}  // namespace quilvex
