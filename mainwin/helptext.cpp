#include "mainwin/helptext.h"

namespace quilvex {

std::string AboutText(const std::string& qtVersion)
{
    return std::string("Quilvex ") + QUILVEX_VERSION +
           "\n\nFits curves to measured data: a cubic spline, Lagrange and regression polynomials, "
           "exponential, logarithmic and power fits.\n\n"
           "Copyright (c) 2026 Quilvex Team.\nReleased under the MIT licence.\n\nQt " +
           qtVersion;
}

std::string HelpPageHtml()
{
    return R"(<h2>Quilvex</h2>
<p>Type X,Y pairs into the grid of the main window (F2 edits a cell, "Add Row" adds a row) or open a
data file with File &gt; Open (Ctrl+O), from the command line (<tt>quilvex FILE</tt>) or by dropping
it on any of the three windows. Tick the methods to draw; "Graphing Enabled?" switches drawing on
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
<li><b>Cubic Spline</b> (black): a smooth curve through every point; no extrapolation.</li>
<li><b>"n-1" Order Lagrange Polynomial</b> (yellow): the one polynomial through all points.</li>
<li><b>User Order Lagrange Polynomial</b> (green): a polynomial of the order "Lagr. Order" through
the nearest points; it may jump where the chosen points change.</li>
<li><b>User Order Regression</b> (red): the least-squares polynomial of the order "Regr. Order";
1 is a straight line.</li>
<li><b>Exponential</b> (purple): the least-squares fit of y = a e<sup>bx</sup>.</li>
<li><b>Logarithmic</b> (grey): the least-squares fit of y = a + b ln x.</li>
<li><b>Power</b> (blue): the least-squares fit of y = a x<sup>b</sup>.</li>
</ul>
<p>"Plot Points" sets how many points each curve is drawn with, "% Cover" how much of the graph
the data fill. The Status menu lists each method with its coefficients; Extrapolate (or the status
window's "Enter X value" and Enter) evaluates every ticked curve at an X value and marks it.</p>

<h3>The mouse</h3>
<p>Press the left button on a data point in the graph window to select it (it turns red) and drag
it to a new place; the point keeps its place in the X order, the grid takes its new values and
every curve follows. "Control" brings the main window to the front.</p>

<h3>Keys</h3>
<p>Ctrl+O Open, Ctrl+S Save as, Ctrl+Q Exit, F1 this page.</p>
)";
}

}  // namespace quilvex
